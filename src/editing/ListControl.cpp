#include "ListControl.h"

#include <algorithm>
#include <cstdlib>

namespace quillon {

const ListColumn& ListState::column(int number) const
{
    static const ListColumn none;
    if (number < 1 || number > kColumns)
        return none;
    return columns[static_cast<std::size_t>(number - 1)];
}

ListColumn& ListState::column(int number)
{
    return columns[static_cast<std::size_t>(std::clamp(number, 1, kColumns) - 1)];
}

ListControl::ListControl() = default;

void ListControl::addObserver(ListObserver* observer)
{
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void ListControl::removeObserver(ListObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

// --- definition -------------------------------------------------------------

void ListControl::ListSetColumn(int column, const QString& header, int width, ListAlign align)
{
    if (column < 1 || column > ListState::kColumns)
        return;
    ListColumn& c = state_.column(column);
    c.width = std::max(0, width);
    c.header = header;
    c.align = align;
    state_.columnCount = std::max(state_.columnCount, column);
    notify([&](ListObserver* o) { o->listInvalidated(*this); });
}

void ListControl::ListInit(int visibleRows, int rowHeight)
{
    state_.visibleRows = std::max(0, visibleRows);
    state_.rowHeight = std::max(0, rowHeight);
    ListClear();
    notify([&](ListObserver* o) { o->listInvalidated(*this); });
}

void ListControl::ListResize(int visibleRows, int rowHeight)
{
    state_.visibleRows = std::max(0, visibleRows);
    state_.rowHeight = std::max(0, rowHeight);
    updateScrollBar();
    for (ListItem& it : items_)
        it.repaint = false;
    notify([&](ListObserver* o) { o->listInvalidated(*this); });
}

void ListControl::ListSetMode(SelectionMode mode)
{
    if (state_.selectionMode == mode)
        return;
    state_.selectionMode = mode;
    // Marked rows change colour with the mode.
    ListRedrawAll();
}

// --- content ----------------------------------------------------------------

void ListControl::ListAddItem(const ProgramRow& texts, std::uint32_t colour)
{
    ListInsertItem(count() + 1, texts, colour);
}

void ListControl::ListInsertItem(int position, const ProgramRow& texts, std::uint32_t colour)
{
    const int oldCount = count();
    const int p = std::clamp(position, 1, oldCount + 1);
    ListItem item;
    item.cells = texts;
    item.colour = colour;
    item.enabled = true;
    items_.insert(items_.begin() + (p - 1), item);
    state_.itemCount = count();
    if (state_.listIndex >= p)
        ++state_.listIndex;
    // A caret parked on 1 in an empty list points at no entry and stays.
    if (state_.caretIndex >= p && state_.caretIndex <= oldCount)
        ++state_.caretIndex;
    for (int i = p; i <= count(); ++i)
        flag(i);
    updateScrollBar();
    ListRefresh();
}

void ListControl::ListRemoveItem(int position)
{
    if (!validIndex(position))
        return;
    if (items_[static_cast<std::size_t>(position - 1)].marked)
        state_.selectedCount = std::max(0, state_.selectedCount - 1);
    items_.erase(items_.begin() + (position - 1));
    state_.itemCount = count();

    if (state_.listIndex == position)
        state_.listIndex = 0;
    else if (state_.listIndex > position)
        --state_.listIndex;
    if (state_.selectedCount == 0)
        state_.listIndex = 0;

    if (state_.caretIndex > position)
        --state_.caretIndex;
    state_.caretIndex = count() == 0 ? 1 : std::min(state_.caretIndex, count());

    for (int i = position; i <= count(); ++i)
        flag(i);
    updateScrollBar();
    ListRefresh();
}

void ListControl::ListClear()
{
    items_.clear();
    state_.itemCount = 0;
    state_.caretIndex = 1;
    state_.listIndex = 0;
    state_.selectedCount = 0;
    selectionChanged_ = false;
    const int oldTop = state_.topIndex;
    state_.topIndex = 1;
    updateScrollBar();
    if (oldTop != 1)
        notify([&](ListObserver* o) { o->listInvalidated(*this); });
    ListRefresh();
}

void ListControl::ListSetItemText(int index, int column, const QString& text)
{
    if (!validIndex(index))
        return;
    ListItem& it = items_[static_cast<std::size_t>(index - 1)];
    if (it.column(column) == text)
        return;
    it.setColumn(column, text);
    it.repaint = true;
}

void ListControl::restore(const std::vector<ListItem>& items, const ListState& state)
{
    // Geometry and focus belong to the view as it is now, not to the snapshot.
    const int visible = state_.visibleRows;
    const int rowHeight = state_.rowHeight;
    const bool focus = state_.hasFocus;
    items_ = items;
    state_ = state;
    state_.visibleRows = visible;
    state_.rowHeight = rowHeight;
    state_.hasFocus = focus;
    state_.itemCount = count();
    if (!validIndex(state_.listIndex))
        state_.listIndex = 0;
    if (!validIndex(state_.caretIndex))
        state_.caretIndex = count() == 0 ? 1 : std::clamp(state_.caretIndex, 1, count());
    state_.selectedCount = static_cast<int>(
        std::count_if(items_.begin(), items_.end(), [](const ListItem& it) { return it.marked; }));
    for (ListItem& it : items_)
        it.repaint = false;
    selectionChanged_ = false;
    updateScrollBar();
    notify([&](ListObserver* o) { o->listInvalidated(*this); });
}

// --- drawing bookkeeping ----------------------------------------------------

void ListControl::ListRefresh()
{
    std::vector<int> rows;
    const int last = state_.topIndex + state_.visibleRows - 1;
    for (int pos = state_.topIndex; pos <= last; ++pos) {
        if (pos > count()) {
            rows.push_back(pos);
            continue;
        }
        ListItem& it = items_[static_cast<std::size_t>(pos - 1)];
        if (it.repaint) {
            it.repaint = false;
            rows.push_back(pos);
        }
    }
    if (rows.empty())
        return;
    notify([&](ListObserver* o) { o->listRowsToDraw(*this, rows); });
}

void ListControl::ListRedrawAll()
{
    for (ListItem& it : items_)
        it.repaint = true;
    ListRefresh();
}

// --- selection and caret ----------------------------------------------------

bool ListControl::select(int index)
{
    if (!validIndex(index))
        return false;
    ListItem& it = items_[static_cast<std::size_t>(index - 1)];
    it.marked = !it.marked;
    it.repaint = true;
    if (state_.selectionMode == SelectionMode::MultiMark) {
        if (it.marked) {
            ++state_.selectedCount;
            state_.listIndex = index;
        } else {
            state_.selectedCount = std::max(0, state_.selectedCount - 1);
            if (state_.selectedCount == 0)
                state_.listIndex = 0;
        }
    } else if (it.marked) {
        if (state_.listIndex != index && validIndex(state_.listIndex)) {
            ListItem& old = items_[static_cast<std::size_t>(state_.listIndex - 1)];
            old.marked = false;
            old.repaint = true;
        }
        state_.listIndex = index;
        state_.selectedCount = 1;
    } else {
        state_.listIndex = 0;
        state_.selectedCount = 0;
    }
    selectionChanged_ = true;
    return true;
}

void ListControl::ListSelect(int index)
{
    const bool pending = selectionChanged_;
    select(index);
    // Selections made by the program are not reported back to it.
    selectionChanged_ = pending;
    ListRefresh();
}

void ListControl::moveCaret(int index, bool selectIt)
{
    if (count() == 0)
        return;
    index = std::clamp(index, 1, count());
    flag(state_.caretIndex);
    state_.caretIndex = index;
    flag(index);
    const ListItem& it = items_[static_cast<std::size_t>(index - 1)];
    if (selectIt && it.enabled && !it.marked)
        select(index);
    if (state_.visibleRows <= 0)
        return;
    if (index < state_.topIndex)
        ListSetTop(index);
    else if (index > state_.topIndex + state_.visibleRows - 1)
        ListSetTop(index - state_.visibleRows + 1);
}

void ListControl::ListMoveCaret(int index, bool selectIt)
{
    const bool pending = selectionChanged_;
    moveCaret(index, selectIt);
    selectionChanged_ = pending;
    ListRefresh();
}

void ListControl::ListSetIndex(int index)
{
    if (!validIndex(index))
        return;
    if (!items_[static_cast<std::size_t>(index - 1)].marked)
        select(index);
    moveCaret(index, false);
    selectionChanged_ = true;
    afterInput();
}

void ListControl::ListClearSelection()
{
    for (ListItem& it : items_) {
        it.marked = false;
        it.repaint = true;
    }
    state_.listIndex = 0;
    state_.selectedCount = 0;
    ListRefresh();
}

void ListControl::ListSetTop(int top)
{
    top = std::clamp(top, scrollBar_.minimum, scrollBar_.maximum);
    if (top != state_.topIndex)
        scrollTo(top);
}

// --- user input -------------------------------------------------------------

bool ListControl::ListKeyDown(ListKey key)
{
    const bool single = state_.selectionMode != SelectionMode::MultiMark;
    const int n = count();
    switch (key) {
    case ListKey::Up:
    case ListKey::Left:
    case ListKey::Down:
    case ListKey::Right:
    case ListKey::PageUp:
    case ListKey::PageDown:
    case ListKey::Home:
    case ListKey::End: {
        if (n == 0)
            break;
        int caret = validIndex(state_.caretIndex) ? state_.caretIndex : std::clamp(state_.topIndex, 1, n);
        const bool absolute = key == ListKey::Home || key == ListKey::End;
        // With nothing selected yet, the first step picks the caret entry itself.
        if (single && !absolute && state_.listIndex == 0
            && items_[static_cast<std::size_t>(caret - 1)].enabled) {
            moveCaret(caret, true);
            break;
        }
        const int page = std::max(1, state_.visibleRows - 1);
        bool toStart = false;
        bool toEnd = false;
        switch (key) {
        case ListKey::Up:
        case ListKey::Left: caret = std::max(1, caret - 1); break;
        case ListKey::Down:
        case ListKey::Right: caret = std::min(n, caret + 1); break;
        case ListKey::PageUp:
            caret -= page;
            if (caret <= 1) {
                caret = 1;
                toStart = true;
            }
            break;
        case ListKey::PageDown:
            caret += page;
            if (caret >= n) {
                caret = n;
                toEnd = true;
            }
            break;
        case ListKey::Home:
            caret = 1;
            toStart = true;
            break;
        default:
            caret = n;
            toEnd = true;
            break;
        }
        moveCaret(caret, single);
        if (toStart)
            ListSetTop(scrollBar_.minimum);
        if (toEnd)
            ListSetTop(scrollBar_.maximum);
        break;
    }
    case ListKey::Space:
        if (state_.caretIndex == 0)
            state_.caretIndex = state_.topIndex;
        if (validIndex(state_.caretIndex) && items_[static_cast<std::size_t>(state_.caretIndex - 1)].enabled)
            select(state_.caretIndex);
        break;
    case ListKey::Enter:
        if (validIndex(state_.listIndex) && items_[static_cast<std::size_t>(state_.listIndex - 1)].enabled) {
            const int i = state_.listIndex;
            if (state_.visibleRows > 0) {
                if (i < state_.topIndex)
                    ListSetTop(i);
                else if (i > state_.topIndex + state_.visibleRows - 1)
                    ListSetTop(i - state_.visibleRows + 1);
            }
            selectionChanged_ = true;
        }
        break;
    case ListKey::Other:
        ListRefresh();
        return false;
    }
    afterInput();
    return true;
}

void ListControl::ListMouseDown(int rowOffset)
{
    if (rowOffset < 0)
        return;  // the header
    ListClickItem(itemAtRow(rowOffset));
}

void ListControl::ListClickItem(int index)
{
    if (!validIndex(index) || !items_[static_cast<std::size_t>(index - 1)].enabled)
        return;
    select(index);
    moveCaret(index, false);
    afterInput();
}

void ListControl::ListScroll(int value)
{
    if (!scrollBar_.enabled)
        return;
    ListSetTop(value);
}

void ListControl::ListWheel(int pages)
{
    if (!scrollBar_.enabled || pages == 0)
        return;
    ListSetTop(scrollBar_.value - pages * scrollBar_.largeChange);
}

void ListControl::ListGotFocus()
{
    state_.hasFocus = true;
    flag(state_.caretIndex);
    ListRefresh();
}

void ListControl::ListLostFocus()
{
    state_.hasFocus = false;
    flag(state_.caretIndex);
    ListRefresh();
}

// --- reading ----------------------------------------------------------------

const ListItem& ListControl::item(int index) const
{
    static const ListItem none;
    if (!validIndex(index))
        return none;
    return items_[static_cast<std::size_t>(index - 1)];
}

ListItem& ListControl::item(int index)
{
    return items_.at(static_cast<std::size_t>(index - 1));
}

bool ListControl::isVisible(int index) const
{
    return validIndex(index) && index >= state_.topIndex
        && index <= state_.topIndex + state_.visibleRows - 1;
}

int ListControl::itemAtRow(int rowOffset) const
{
    if (rowOffset < 0 || rowOffset >= state_.visibleRows)
        return 0;
    const int index = state_.topIndex + rowOffset;
    return validIndex(index) ? index : 0;
}

int ListControl::columnLeft(int column) const
{
    int x = 0;
    for (int c = 1; c < column && c <= state_.columnCount; ++c)
        x += state_.column(c).width;
    return x;
}

int ListControl::columnAt(int x) const
{
    if (x < 0)
        return 0;
    int right = 0;
    for (int c = 1; c <= state_.columnCount; ++c) {
        right += state_.column(c).width;
        if (x < right)
            return c;
    }
    return 0;
}

int ListControl::totalWidth() const
{
    return columnLeft(state_.columnCount + 1);
}

// --- internals ----------------------------------------------------------------

void ListControl::flag(int index)
{
    if (validIndex(index))
        items_[static_cast<std::size_t>(index - 1)].repaint = true;
}

bool ListControl::fits() const
{
    return count() <= state_.visibleRows;
}

void ListControl::updateScrollBar()
{
    const ListScrollBar before = scrollBar_;
    const bool fit = fits();
    scrollBar_.minimum = 1;
    scrollBar_.smallChange = 1;
    scrollBar_.largeChange = std::max(1, state_.visibleRows);
    // + 2, not + 1: scrolled to the end, the last visible row stays empty.
    scrollBar_.maximum = fit ? 1 : count() - state_.visibleRows + 2;
    scrollBar_.enabled = !fit;
    scrollBar_.wide = !fit;
    if (state_.topIndex > scrollBar_.maximum) {
        // A shrinking range drags the top along, even where the bar is now disabled.
        scrollTo(scrollBar_.maximum);
    }
    scrollBar_.value = state_.topIndex;
    if (!(before == scrollBar_))
        notifyScrollBar();
}

void ListControl::scrollTo(int top)
{
    const int distance = top - state_.topIndex;
    if (distance == 0)
        return;
    state_.topIndex = top;
    scrollBar_.value = top;
    notify([&](ListObserver* o) { o->listScrolled(*this, distance); });
    notifyScrollBar();
    // Rows that the shift uncovered need drawing; the rest moved as pixels.
    const int visible = state_.visibleRows;
    const int moved = std::min(std::abs(distance), visible);
    const int first = distance > 0 ? top + visible - moved : top;
    for (int i = first; i < first + moved; ++i)
        flag(i);
    ListRefresh();
}

void ListControl::notifyScrollBar()
{
    notify([&](ListObserver* o) { o->listScrollBarChanged(*this); });
}

void ListControl::afterInput()
{
    ListRefresh();
    if (!selectionChanged_)
        return;
    selectionChanged_ = false;
    notify([&](ListObserver* o) { o->listSelectionReported(*this); });
}

}  // namespace quillon

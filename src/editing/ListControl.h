#pragma once

#include "model/ProgramRow.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace quillon {

// Text colours of list entries, in the 0xBBGGRR form used throughout.
inline constexpr std::uint32_t kListBlack = 0x000000;
inline constexpr std::uint32_t kListBlue = 0xFF0000;  // recently used G codes

// One entry of a list. For the program list the cells are the program row.
struct ListItem {
    ProgramRow cells;              // columns 1..11; only the first columnCount are shown
    bool marked = false;           // selected (single selection) or marked (multi-mark)
    bool repaint = false;          // must be drawn at the next refresh; cleared when drawn
    std::uint32_t colour = kListBlack;
    bool enabled = false;          // set when added; a disabled entry cannot be picked by key or mouse

    const QString& column(int number) const { return cells.column(number); }
    void setColumn(int number, const QString& text) { cells.setColumn(number, text); }

    bool operator==(const ListItem&) const = default;
};

enum class ListAlign { Left, Centre, Right };

// Single and SingleAfterCopy behave alike; MultiMark is the program list
// while lines are being marked for copying.
enum class SelectionMode { Single = 0, MultiMark = 1, SingleAfterCopy = 10 };

struct ListColumn {
    int width = 0;  // pixels, measured by the view from a sample string
    QString header;
    ListAlign align = ListAlign::Left;

    bool operator==(const ListColumn&) const = default;
};

// Everything the undo store must copy besides the items.
struct ListState {
    static constexpr int kColumns = 11;

    int visibleRows = 0;  // text rows that fit under the header
    int columnCount = 0;  // highest column defined
    SelectionMode selectionMode = SelectionMode::Single;
    std::array<ListColumn, kColumns> columns;  // use column(n), 1-based
    int rowHeight = 0;
    int itemCount = 0;
    int topIndex = 1;       // first visible entry
    int caretIndex = 0;     // entry with the focus rectangle; 0 = none
    int selectedCount = 0;  // marked entries (0 or 1 in single selection)
    int listIndex = 0;      // selected entry; 0 = none (program list: the current row)
    bool hasFocus = false;

    const ListColumn& column(int number) const;
    ListColumn& column(int number);

    bool operator==(const ListState&) const = default;
};

// The scroll bar as the list drives it; the view mirrors it into a QScrollBar.
struct ListScrollBar {
    int value = 1;  // always the top index
    int minimum = 1;
    int maximum = 1;  // count - visible + 2 while the entries do not fit, else 1
    int smallChange = 1;
    int largeChange = 1;  // visible rows
    bool enabled = false;
    bool wide = false;  // 240 twips while the entries do not fit, 120 twips otherwise

    bool operator==(const ListScrollBar&) const = default;
};

// Keys the list understands; everything else maps to Other and is ignored.
enum class ListKey { Up, Down, Left, Right, PageUp, PageDown, Home, End, Space, Enter, Other };

class ListControl;

// How a list tells its view and its owner what happened. All callbacks run
// synchronously inside the ListControl call that caused them.
class ListObserver {
public:
    virtual ~ListObserver() = default;
    // These list positions must be drawn now (visible entries whose repaint
    // flag was set, plus the blank rows below the last entry); flags are cleared.
    virtual void listRowsToDraw(const ListControl&, const std::vector<int>& /*positions*/) {}
    // The top index moved by `rows` (positive: towards the end). Pixels of rows
    // that stay visible may be shifted; the uncovered rows follow in listRowsToDraw.
    virtual void listScrolled(const ListControl&, int /*rows*/) {}
    // Value, maximum, large change, enabled or width of the scroll bar changed.
    virtual void listScrollBarChanged(const ListControl&) {}
    // Header and every row must be drawn again (columns, init, restore).
    virtual void listInvalidated(const ListControl&) {}
    // A selection made by key, mouse, Space, Enter or ListSetIndex is reported:
    // the owner shows the list index (the window's Change notification).
    virtual void listSelectionReported(const ListControl&) {}
};

// An owner-drawn list: entries numbered from 1, caret, selection or marks,
// top index and scroll bar, and repaint bookkeeping. No drawing happens here;
// a view paints what listRowsToDraw names.
class ListControl {
public:
    ListControl();
    ListControl(const ListControl&) = delete;
    ListControl& operator=(const ListControl&) = delete;

    void addObserver(ListObserver* observer);
    void removeObserver(ListObserver* observer);

    // --- definition -------------------------------------------------------
    void ListSetColumn(int column, const QString& header, int width, ListAlign align = ListAlign::Left);
    // Empties the list and sets its geometry in rows.
    void ListInit(int visibleRows, int rowHeight);
    // After the view changed size: new visible rows, large change, width; redraws every row.
    void ListResize(int visibleRows, int rowHeight);
    void ListSetMode(SelectionMode mode);

    // --- content ----------------------------------------------------------
    // Appends an enabled, unmarked entry; drawn at once if visible.
    void ListAddItem(const ProgramRow& texts, std::uint32_t colour = kListBlack);
    // Puts an entry at `position` (clamped to 1..count+1); entries from there move
    // down, and a list index or caret at or after the position moves with them.
    void ListInsertItem(int position, const ProgramRow& texts, std::uint32_t colour = kListBlack);
    // Removes the entry; list index and caret behind it move up, a removed
    // selection leaves none; the scroll bar follows the new count.
    void ListRemoveItem(int position);
    // All entries gone; top and caret 1, list index and selected count 0, scroll bar off.
    void ListClear();
    // Changes a cell and flags the entry (draw with ListRefresh).
    void ListSetItemText(int index, int column, const QString& text);
    // Replaces items and state as a whole (undo and redo) and redraws everything.
    void restore(const std::vector<ListItem>& items, const ListState& state);

    // --- drawing bookkeeping ------------------------------------------------
    // Reports the visible flagged rows and the blank rows below the last entry.
    void ListRefresh();
    // Flags every entry and refreshes.
    void ListRedrawAll();

    // --- selection and caret ----------------------------------------------
    // Modes 0/10: inverts the entry's mark (selecting one deselects the other;
    // selecting the selected entry leaves none). Mode 1: toggles the mark.
    // Refreshes; a selection made by the program is not reported back.
    void ListSelect(int index);
    // Moves the caret (optionally selecting it, never deselecting), scrolls it
    // into view and refreshes; not reported.
    void ListMoveCaret(int index, bool select);
    // Makes `index` the selected entry and the caret, scrolls to it, refreshes and reports.
    void ListSetIndex(int index);
    // Clears every mark, the list index and the selected count; flags all entries.
    void ListClearSelection();
    // Sets the scroll bar's value (clamped) and follows it like ListScroll.
    void ListSetTop(int top);

    // --- user input (each refreshes, then reports a selection if one was made) ---
    // Returns whether the key was consumed (navigation keys, Space, Enter).
    bool ListKeyDown(ListKey key);
    // rowOffset: 0-based text row under the header, -1 for the header itself.
    void ListMouseDown(int rowOffset);
    // A click on the entry itself (a tip over the row forwards its click here).
    void ListClickItem(int index);
    // The scroll bar's value changed to `value`; ignored while it is disabled.
    void ListScroll(int value);
    // Wheel turned by `pages` notches: positive towards the start, one page each.
    void ListWheel(int pages);
    void ListGotFocus();
    void ListLostFocus();

    // --- reading ------------------------------------------------------------
    const ListState& state() const { return state_; }
    const ListScrollBar& scrollBar() const { return scrollBar_; }
    int count() const { return static_cast<int>(items_.size()); }
    const std::vector<ListItem>& items() const { return items_; }
    // 1-based. The mutable form lets the owner rewrite cells; it must set
    // `repaint` itself and must not change `marked` (use ListSelect).
    const ListItem& item(int index) const;
    ListItem& item(int index);
    bool isVisible(int index) const;
    // Entry shown in text row `rowOffset` (0-based), 0 for none.
    int itemAtRow(int rowOffset) const;
    // Pixel geometry of columns, from the defined widths.
    int columnLeft(int column) const;
    int columnAt(int x) const;  // 0 when x is beyond the last column
    int totalWidth() const;

private:
    bool select(int index);
    void moveCaret(int index, bool select);
    void flag(int index);
    void updateScrollBar();
    void scrollTo(int top);
    void afterInput();
    void notifyScrollBar();
    bool fits() const;
    bool validIndex(int index) const { return index >= 1 && index <= count(); }
    // Observers may call back into the list or unregister; iterate over a copy.
    template <typename F> void notify(F f)
    {
        const std::vector<ListObserver*> current = observers_;
        for (ListObserver* o : current)
            f(o);
    }

    std::vector<ListItem> items_;
    ListState state_;
    ListScrollBar scrollBar_;
    std::vector<ListObserver*> observers_;
    bool selectionChanged_ = false;
};

}  // namespace quillon

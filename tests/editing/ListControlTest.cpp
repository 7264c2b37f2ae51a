#include "editing/ListControl.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quillon;

namespace {

struct Recorder : ListObserver {
    std::vector<int> drawn;
    std::vector<int> scrolls;
    int reports = 0;
    int scrollBarChanges = 0;
    int invalidations = 0;

    void listRowsToDraw(const ListControl&, const std::vector<int>& rows) override
    {
        drawn.insert(drawn.end(), rows.begin(), rows.end());
    }
    void listScrolled(const ListControl&, int rows) override { scrolls.push_back(rows); }
    void listScrollBarChanged(const ListControl&) override { ++scrollBarChanges; }
    void listInvalidated(const ListControl&) override { ++invalidations; }
    void listSelectionReported(const ListControl&) override { ++reports; }
    void clear() { *this = Recorder(); }
};

ProgramRow rowNamed(const QString& text)
{
    ProgramRow row;
    row.setColumn(1, text);
    return row;
}

// A list of `n` entries named "1".."n" with `visible` rows on screen.
void fill(ListControl& list, int n, int visible)
{
    list.ListInit(visible, 16);
    for (int i = 1; i <= n; ++i)
        list.ListAddItem(rowNamed(QString::number(i)));
}

std::vector<int> markedEntries(const ListControl& list)
{
    std::vector<int> marked;
    for (int i = 1; i <= list.count(); ++i)
        if (list.item(i).marked)
            marked.push_back(i);
    return marked;
}

ListKey keyFromChar(char c)
{
    switch (c) {
    case 'u': return ListKey::Up;
    case 'd': return ListKey::Down;
    case 'l': return ListKey::Left;
    case 'r': return ListKey::Right;
    case 'U': return ListKey::PageUp;
    case 'D': return ListKey::PageDown;
    case 'h': return ListKey::Home;
    case 'e': return ListKey::End;
    case ' ': return ListKey::Space;
    case '\n': return ListKey::Enter;
    default: return ListKey::Other;
    }
}

}  // namespace

TEST(ListControl, ScrollBarWidensAndSetsMaximumOnlyOnceEntriesDoNotFit)
{
    ListControl list;
    fill(list, 0, 5);
    EXPECT_FALSE(list.scrollBar().enabled);
    for (int i = 1; i <= 5; ++i) {
        list.ListAddItem(rowNamed("x"));
        EXPECT_EQ(list.scrollBar().maximum, 1) << i;
        EXPECT_FALSE(list.scrollBar().wide) << i;
        EXPECT_FALSE(list.scrollBar().enabled) << i;
    }
    list.ListAddItem(rowNamed("x"));
    EXPECT_EQ(list.scrollBar().maximum, 6 - 5 + 2);
    EXPECT_TRUE(list.scrollBar().wide);
    EXPECT_TRUE(list.scrollBar().enabled);
    EXPECT_EQ(list.scrollBar().largeChange, 5);
    for (int i = 0; i < 4; ++i)
        list.ListAddItem(rowNamed("x"));
    EXPECT_EQ(list.scrollBar().maximum, 10 - 5 + 2);

    // Scrolled to the end and then shrunk back to a fitting list: the top
    // follows to the first entry although the bar is disabled by then.
    list.ListSetTop(100);
    EXPECT_EQ(list.state().topIndex, 7);
    EXPECT_EQ(list.scrollBar().value, 7);
    for (int i = 0; i < 5; ++i)
        list.ListRemoveItem(1);
    EXPECT_EQ(list.count(), 5);
    EXPECT_EQ(list.scrollBar().maximum, 1);
    EXPECT_FALSE(list.scrollBar().enabled);
    EXPECT_EQ(list.state().topIndex, 1);

    list.ListClear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.state().caretIndex, 1);
    EXPECT_EQ(list.state().listIndex, 0);
    EXPECT_FALSE(list.scrollBar().enabled);
}

TEST(ListControl, ResizeRecomputesRangeAndKeepsTopInside)
{
    ListControl list;
    fill(list, 30, 10);
    list.ListSetTop(22);
    EXPECT_EQ(list.state().topIndex, 22);  // maximum 30 - 10 + 2
    list.ListResize(20, 16);
    EXPECT_EQ(list.scrollBar().maximum, 12);
    EXPECT_EQ(list.state().topIndex, 12);
    EXPECT_EQ(list.scrollBar().largeChange, 20);
    list.ListResize(40, 16);
    EXPECT_EQ(list.state().topIndex, 1);
    EXPECT_FALSE(list.scrollBar().enabled);
}

struct KeyCase {
    const char* name;
    int count;
    int visible;
    int selectFirst;  // 0: nothing selected, caret 1
    SelectionMode mode;
    std::string keys;
    int caret;
    int listIndex;
    int top;
};

void PrintTo(const KeyCase& c, std::ostream* os)
{
    *os << c.name;
}

class ListKeys : public testing::TestWithParam<KeyCase> {};

TEST_P(ListKeys, MoveCaretSelectionAndTop)
{
    const KeyCase& c = GetParam();
    ListControl list;
    fill(list, c.count, c.visible);
    if (c.selectFirst)
        list.ListSetIndex(c.selectFirst);
    list.ListSetMode(c.mode);
    for (char k : c.keys)
        list.ListKeyDown(keyFromChar(k));
    EXPECT_EQ(list.state().caretIndex, c.caret);
    EXPECT_EQ(list.state().listIndex, c.listIndex);
    EXPECT_EQ(list.state().topIndex, c.top);
    EXPECT_EQ(list.scrollBar().value, c.top);
    EXPECT_LE(list.state().selectedCount, 1);
}

// 20 entries in 5 rows: scroll maximum 17.
INSTANTIATE_TEST_SUITE_P(
    ListControl, ListKeys,
    testing::Values(
        KeyCase{"FirstKeySelectsCaretWithoutMoving", 20, 5, 0, SelectionMode::Single, "d", 1, 1, 1},
        KeyCase{"SecondKeyMoves", 20, 5, 0, SelectionMode::Single, "dd", 2, 2, 1},
        KeyCase{"RightAndLeftAreDownAndUp", 20, 5, 3, SelectionMode::Single, "rrl", 4, 4, 1},
        KeyCase{"UpOnFirstStays", 20, 5, 1, SelectionMode::Single, "uu", 1, 1, 1},
        KeyCase{"DownScrollsCaretIntoLastRow", 20, 5, 5, SelectionMode::Single, "d", 6, 6, 2},
        KeyCase{"EndGoesToMaximum", 20, 5, 1, SelectionMode::Single, "e", 20, 20, 17},
        KeyCase{"DownOnLastKeepsCaretAndMaximum", 20, 5, 1, SelectionMode::Single, "edd", 20, 20, 17},
        KeyCase{"HomeGoesToMinimum", 20, 5, 20, SelectionMode::Single, "h", 1, 1, 1},
        KeyCase{"PageDownMovesVisibleMinusOne", 20, 5, 1, SelectionMode::Single, "D", 5, 5, 1},
        KeyCase{"PageDownTwice", 20, 5, 1, SelectionMode::Single, "DD", 9, 9, 5},
        KeyCase{"PageDownAtEndToMaximum", 20, 5, 15, SelectionMode::Single, "DD", 20, 20, 17},
        KeyCase{"PageDownInShortListGoesToLast", 3, 5, 1, SelectionMode::Single, "D", 3, 3, 1},
        KeyCase{"PageUpAtTopToMinimum", 20, 5, 4, SelectionMode::Single, "U", 1, 1, 1},
        KeyCase{"PageUpFromEnd", 20, 5, 20, SelectionMode::Single, "U", 16, 16, 16},
        KeyCase{"SpaceOnSelectedDeselects", 20, 5, 4, SelectionMode::Single, " ", 4, 0, 1},
        KeyCase{"LettersChangeNothing", 20, 5, 4, SelectionMode::Single, "xyz", 4, 4, 1},
        KeyCase{"Mode10LikeMode0", 20, 5, 2, SelectionMode::SingleAfterCopy, "dd", 4, 4, 1},
        KeyCase{"MultiMarkArrowsMoveOnlyCaret", 20, 5, 0, SelectionMode::MultiMark, "ddd", 4, 0, 1},
        KeyCase{"MultiMarkSpaceMarks", 20, 5, 0, SelectionMode::MultiMark, "dd ", 3, 3, 1},
        KeyCase{"EmptyListKeysHarmless", 0, 5, 0, SelectionMode::Single, "dDeh \n", 1, 0, 1}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(ListControl, KeysReportSelectionsAndLettersAreNotConsumed)
{
    ListControl list;
    Recorder rec;
    list.addObserver(&rec);
    fill(list, 10, 4);
    rec.clear();

    EXPECT_FALSE(list.ListKeyDown(ListKey::Other));
    EXPECT_EQ(rec.reports, 0);
    EXPECT_TRUE(list.ListKeyDown(ListKey::Down));  // selects caret 1
    EXPECT_EQ(rec.reports, 1);
    EXPECT_TRUE(list.ListKeyDown(ListKey::Up));  // already at the top: nothing new
    EXPECT_EQ(rec.reports, 1);
    EXPECT_TRUE(list.ListKeyDown(ListKey::Enter));  // shows the line again
    EXPECT_EQ(rec.reports, 2);

    // Enter scrolls a selection that went out of view back in.
    list.ListSetTop(5);
    list.ListKeyDown(ListKey::Enter);
    EXPECT_EQ(list.state().topIndex, 1);
    EXPECT_EQ(rec.reports, 3);

    // Selections the program makes itself come back only through ListSetIndex.
    list.ListSelect(3);
    EXPECT_EQ(list.state().listIndex, 3);
    EXPECT_EQ(markedEntries(list), std::vector<int>{3});
    EXPECT_EQ(rec.reports, 3);
    list.ListKeyDown(ListKey::Other);
    EXPECT_EQ(rec.reports, 3);  // no stale notification from ListSelect
    list.ListSetIndex(8);
    EXPECT_EQ(rec.reports, 4);
    EXPECT_EQ(list.state().caretIndex, 8);
    EXPECT_TRUE(list.isVisible(8));
    list.ListSetIndex(8);  // already selected: stays selected
    EXPECT_EQ(list.state().listIndex, 8);
    EXPECT_EQ(rec.reports, 5);
    list.removeObserver(&rec);
}

TEST(ListControl, MouseSelectsTogglesAndIgnoresHeaderDisabledAndBlankRows)
{
    ListControl list;
    Recorder rec;
    list.addObserver(&rec);
    fill(list, 6, 10);
    rec.clear();

    list.ListMouseDown(-1);  // header
    list.ListMouseDown(7);   // below the last entry
    EXPECT_EQ(list.state().listIndex, 0);
    EXPECT_EQ(rec.reports, 0);

    list.ListMouseDown(2);
    EXPECT_EQ(list.state().listIndex, 3);
    EXPECT_EQ(list.state().caretIndex, 3);
    EXPECT_EQ(rec.reports, 1);
    list.ListMouseDown(4);
    EXPECT_EQ(markedEntries(list), std::vector<int>{5});
    // Clicking the selected entry leaves the list without a selection.
    list.ListMouseDown(4);
    EXPECT_EQ(list.state().listIndex, 0);
    EXPECT_EQ(list.state().selectedCount, 0);
    EXPECT_TRUE(markedEntries(list).empty());
    EXPECT_EQ(rec.reports, 3);

    list.item(2).enabled = false;
    list.ListMouseDown(1);
    EXPECT_EQ(list.state().listIndex, 0);
    list.ListClickItem(2);
    EXPECT_EQ(list.state().listIndex, 0);
    EXPECT_EQ(rec.reports, 3);
    // The caret may rest on a disabled entry, but Space does not pick it and
    // an arrow onto it keeps the selection where it was.
    list.ListSetIndex(1);
    list.ListKeyDown(ListKey::Down);
    EXPECT_EQ(list.state().caretIndex, 2);
    EXPECT_EQ(list.state().listIndex, 1);
    list.ListKeyDown(ListKey::Space);
    EXPECT_EQ(list.state().listIndex, 1);
    list.ListKeyDown(ListKey::Down);
    EXPECT_EQ(list.state().listIndex, 3);

    // Scrolled lists click by row under the top entry.
    ListControl longList;
    fill(longList, 30, 10);
    longList.ListSetTop(11);
    longList.ListMouseDown(0);
    EXPECT_EQ(longList.state().listIndex, 11);
    list.removeObserver(&rec);
}

TEST(ListControl, MultiMarkModeTogglesMarksAndCountsThem)
{
    ListControl list;
    fill(list, 8, 10);
    list.ListSetIndex(2);
    // Entering copy mode the way the editor does it.
    list.ListSetMode(SelectionMode::MultiMark);
    list.ListClearSelection();

    list.ListMouseDown(2);
    list.ListMouseDown(3);
    list.ListMouseDown(6);
    EXPECT_EQ(markedEntries(list), (std::vector<int>{3, 4, 7}));
    EXPECT_EQ(list.state().selectedCount, 3);
    EXPECT_NE(list.state().listIndex, 0);

    list.ListMouseDown(3);  // clicking a marked line unmarks it
    EXPECT_EQ(list.state().selectedCount, 2);
    list.ListKeyDown(ListKey::Up);  // caret 4 -> 3, marks unchanged
    EXPECT_EQ(list.state().caretIndex, 3);
    list.ListKeyDown(ListKey::Space);
    EXPECT_EQ(list.state().selectedCount, 1);
    EXPECT_NE(list.state().listIndex, 0);
    list.ListClickItem(7);
    EXPECT_EQ(list.state().selectedCount, 0);
    EXPECT_EQ(list.state().listIndex, 0);  // the last unmark clears the selection
    EXPECT_TRUE(markedEntries(list).empty());

    list.ListClickItem(1);
    list.ListClickItem(2);
    list.ListClearSelection();
    list.ListSetMode(SelectionMode::SingleAfterCopy);
    EXPECT_EQ(list.state().selectedCount, 0);
    list.ListSetIndex(5);
    EXPECT_EQ(markedEntries(list), std::vector<int>{5});
}

TEST(ListControl, InsertAndRemoveKeepSelectionAndCaretOnTheirEntries)
{
    ListControl list;
    fill(list, 5, 10);
    list.ListSetIndex(3);  // entry "3"

    list.ListInsertItem(3, rowNamed("new"));  // at the list index: it moves
    EXPECT_EQ(list.state().listIndex, 4);
    EXPECT_EQ(list.state().caretIndex, 4);
    EXPECT_EQ(list.item(4).column(1), "3");
    EXPECT_EQ(list.item(3).column(1), "new");
    EXPECT_TRUE(list.item(3).enabled);
    EXPECT_FALSE(list.item(3).marked);
    list.ListInsertItem(5, rowNamed("after"));  // behind it: it stays
    EXPECT_EQ(list.state().listIndex, 4);
    list.ListInsertItem(-7, rowNamed("first"));  // clamped to the front
    EXPECT_EQ(list.item(1).column(1), "first");
    list.ListInsertItem(99, rowNamed("last"));  // clamped to the end
    EXPECT_EQ(list.item(list.count()).column(1), "last");
    EXPECT_EQ(list.state().listIndex, 5);
    EXPECT_EQ(list.state().itemCount, 9);
    EXPECT_EQ(list.item(5).column(1), "3");
    EXPECT_EQ(markedEntries(list), std::vector<int>{5});

    list.ListRemoveItem(1);  // in front: both move up
    EXPECT_EQ(list.state().listIndex, 4);
    EXPECT_EQ(list.state().caretIndex, 4);
    list.ListRemoveItem(4);  // the selected one: no selection left
    EXPECT_EQ(list.state().listIndex, 0);
    EXPECT_EQ(list.state().selectedCount, 0);
    EXPECT_EQ(list.state().caretIndex, 4);
    list.ListRemoveItem(0);  // out of range: nothing
    list.ListRemoveItem(99);
    EXPECT_EQ(list.count(), 7);
    list.ListSetIndex(7);
    list.ListRemoveItem(7);  // caret on the last entry stays on the new last
    EXPECT_EQ(list.state().caretIndex, 6);

    // Into an empty list the caret parked on 1 now points at the new entry.
    ListControl empty;
    fill(empty, 0, 5);
    empty.ListInsertItem(1, rowNamed("a"));
    EXPECT_EQ(empty.state().caretIndex, 1);
    empty.ListKeyDown(ListKey::Space);
    EXPECT_EQ(empty.state().listIndex, 1);
}

TEST(ListControl, OnlyChangedVisibleRowsAreDrawnAndScrollingShiftsTheRest)
{
    ListControl list;
    Recorder rec;
    list.addObserver(&rec);
    fill(list, 222, 20);
    list.ListSetIndex(10);
    rec.clear();

    list.ListKeyDown(ListKey::Down);
    EXPECT_EQ(rec.drawn, (std::vector<int>{10, 11}));
    EXPECT_TRUE(rec.scrolls.empty());

    // Entries off screen keep their flag until they come into view.
    list.ListSetItemText(100, 2, "changed");
    list.ListSetItemText(12, 2, "changed");
    rec.clear();
    list.ListRefresh();
    EXPECT_EQ(rec.drawn, std::vector<int>{12});
    EXPECT_TRUE(list.item(100).repaint);
    EXPECT_FALSE(list.item(12).repaint);

    // One step below the last visible row scrolls by one row.
    list.ListSetIndex(20);
    rec.clear();
    list.ListKeyDown(ListKey::Down);
    EXPECT_EQ(rec.scrolls, std::vector<int>{1});
    EXPECT_EQ(list.state().topIndex, 2);
    EXPECT_EQ(rec.drawn, (std::vector<int>{20, 21}));  // old caret, then the uncovered row
    // A scroll-bar move of a page draws exactly the uncovered rows.
    rec.clear();
    list.ListScroll(7);
    EXPECT_EQ(rec.scrolls, std::vector<int>{5});
    EXPECT_EQ(rec.drawn, (std::vector<int>{22, 23, 24, 25, 26}));
    // A jump beyond a page redraws everything visible.
    rec.clear();
    list.ListScroll(90);
    EXPECT_EQ(rec.drawn.size(), 20u);
    EXPECT_EQ(rec.drawn.front(), 90);
    EXPECT_TRUE(list.item(100).repaint == false);
    // At the end the last visible row is blank and is drawn as such each refresh.
    list.ListSetTop(list.scrollBar().maximum);
    rec.clear();
    list.ListRefresh();
    EXPECT_EQ(rec.drawn, std::vector<int>{223});
    list.removeObserver(&rec);
}

TEST(ListControl, ScrollBarAndWheelRespectTheRange)
{
    ListControl list;
    fill(list, 4, 5);
    list.ListScroll(3);  // disabled bar: ignored
    list.ListWheel(-1);
    EXPECT_EQ(list.state().topIndex, 1);

    fill(list, 50, 10);  // maximum 42, large change 10
    list.ListWheel(-1);
    EXPECT_EQ(list.state().topIndex, 11);
    list.ListWheel(-10);
    EXPECT_EQ(list.state().topIndex, 42);
    list.ListWheel(1);
    EXPECT_EQ(list.state().topIndex, 32);
    list.ListWheel(7);
    EXPECT_EQ(list.state().topIndex, 1);
    list.ListScroll(0);
    EXPECT_EQ(list.state().topIndex, 1);
    list.ListScroll(500);
    EXPECT_EQ(list.state().topIndex, 42);
}

TEST(ListControl, FocusRedrawsCaretRowAndRestoreKeepsGeometry)
{
    ListControl list;
    Recorder rec;
    list.addObserver(&rec);
    fill(list, 12, 5);
    list.ListSetIndex(3);
    const std::vector<ListItem> items = list.items();
    const ListState state = list.state();
    rec.clear();
    list.ListGotFocus();
    EXPECT_TRUE(list.state().hasFocus);
    EXPECT_EQ(rec.drawn, std::vector<int>{3});

    list.ListRemoveItem(1);
    list.ListRemoveItem(1);
    list.ListResize(8, 16);
    rec.clear();
    list.restore(items, state);
    EXPECT_EQ(list.count(), 12);
    EXPECT_EQ(list.state().listIndex, 3);
    EXPECT_EQ(list.state().selectedCount, 1);
    EXPECT_EQ(list.state().visibleRows, 8);  // the view's size now, not the snapshot's
    EXPECT_TRUE(list.state().hasFocus);
    EXPECT_EQ(list.scrollBar().maximum, 12 - 8 + 2);
    EXPECT_EQ(rec.invalidations, 1);
    EXPECT_EQ(list.item(3).column(1), "3");
    list.removeObserver(&rec);
}

TEST(ListControl, ColumnGeometry)
{
    ListControl list;
    list.ListSetColumn(1, "  ", 10);
    list.ListSetColumn(2, "N", 30);
    list.ListSetColumn(3, "G", 40, ListAlign::Right);
    list.ListSetColumn(12, "bad", 40);  // out of range: ignored
    EXPECT_EQ(list.state().columnCount, 3);
    EXPECT_EQ(list.columnLeft(1), 0);
    EXPECT_EQ(list.columnLeft(3), 40);
    EXPECT_EQ(list.totalWidth(), 80);
    EXPECT_EQ(list.columnAt(0), 1);
    EXPECT_EQ(list.columnAt(39), 2);
    EXPECT_EQ(list.columnAt(40), 3);
    EXPECT_EQ(list.columnAt(80), 0);
    EXPECT_EQ(list.state().column(3).align, ListAlign::Right);
    EXPECT_EQ(list.state().column(2).header, "N");
}

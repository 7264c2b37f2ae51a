#include "editing/ListControl.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <string>
#include <vector>

using namespace quillon;

namespace {

struct Recorder : ListObserver {
    std::vector<int> drawn, scrolls;
    int reports = 0, invalidations = 0;

    void listRowsToDraw(const ListControl&, const std::vector<int>& rows) override
    {
        drawn.insert(drawn.end(), rows.begin(), rows.end());
    }
    void listScrolled(const ListControl&, int rows) override { scrolls.push_back(rows); }
    void listInvalidated(const ListControl&) override { ++invalidations; }
    void listSelectionReported(const ListControl&) override { ++reports; }
};

ProgramRow rowNamed(const QString& text)
{
    ProgramRow row;
    row.setColumn(1, text);
    return row;
}

// A list of `n` entries named "1".."n" with `visible` rows on screen, watched by `rec`.
struct TestList : ListControl {
    Recorder rec;
    TestList(int n, int visible)
    {
        addObserver(&rec);
        ListInit(visible, 16);
        for (int i = 1; i <= n; ++i)
            ListAddItem(rowNamed(QString::number(i)));
        rec = Recorder();
    }
    ~TestList() { removeObserver(&rec); }
    std::vector<int> marked() const
    {
        std::vector<int> entries;
        for (int i = 1; i <= count(); ++i)
            if (item(i).marked)
                entries.push_back(i);
        return entries;
    }
    // Caret, selection and top entry as "caret/selected/top".
    std::string where() const
    {
        return std::to_string(state().caretIndex) + '/' + std::to_string(state().listIndex) + '/'
               + std::to_string(state().topIndex);
    }
    // Scroll bar maximum, large change, and "on" when enabled (it is wide exactly then).
    std::string bar() const
    {
        EXPECT_EQ(scrollBar().wide, scrollBar().enabled);
        EXPECT_EQ(scrollBar().value, state().topIndex);
        return std::to_string(scrollBar().maximum) + '/' + std::to_string(scrollBar().largeChange)
               + (scrollBar().enabled ? " on" : "");
    }
};

}  // namespace

TEST(ListControl, KeysMoveCaretSelectionAndTop)
{
    // count, entry selected first (0: none, caret 1), mode, keys (u d l r: arrows, U D: page up/down,
    // h e: Home/End), "caret/selected/top" after them; 20 entries in 5 rows scroll up to 17.
    struct Case { int count, selectFirst; SelectionMode mode; const char* keys; const char* where; } cases[] = {
        {20, 0, SelectionMode::Single, "d", "1/1/1"},  // the first key selects the caret without moving
        {20, 3, SelectionMode::Single, "rrl", "4/4/1"},
        {20, 1, SelectionMode::Single, "uu", "1/1/1"},
        {20, 5, SelectionMode::Single, "d", "6/6/2"},
        {20, 1, SelectionMode::Single, "edd", "20/20/17"},
        {20, 20, SelectionMode::Single, "h", "1/1/1"},
        {20, 1, SelectionMode::Single, "DD", "9/9/5"},  // a page is the visible rows less one
        {20, 4, SelectionMode::Single, " ", "4/0/1"},  // space on the selected entry deselects
        {20, 2, SelectionMode::SingleAfterCopy, "dd", "4/4/1"},
        {20, 0, SelectionMode::MultiMark, "dd ", "3/3/1"},  // marking: arrows move only the caret
        {0, 0, SelectionMode::Single, "dDeh \n", "1/0/1"},
    };
    const std::string keys = "udlrUDhe \n";
    const ListKey keyFor[] = {ListKey::Up, ListKey::Down, ListKey::Left, ListKey::Right, ListKey::PageUp,
                              ListKey::PageDown, ListKey::Home, ListKey::End, ListKey::Space, ListKey::Enter};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.selectFirst) + " " + c.keys);
        TestList list(c.count, 5);
        if (c.selectFirst)
            list.ListSetIndex(c.selectFirst);
        list.ListSetMode(c.mode);
        for (const char* k = c.keys; *k; ++k)
            list.ListKeyDown(keys.find(*k) == std::string::npos ? ListKey::Other : keyFor[keys.find(*k)]);
        EXPECT_EQ(list.where(), c.where);
    }
}

TEST(ListControl, ScrollBarWheelAndResizeKeepTheTopInRange)
{
    TestList list(5, 5);
    EXPECT_EQ(list.bar(), "1/5");
    list.ListScroll(3);  // disabled bar: ignored
    list.ListWheel(-1);
    list.ListAddItem(rowNamed("x"));
    EXPECT_EQ(list.bar(), "3/5 on");
    // Scrolled to the end and then shrunk back to a fitting list: the top
    // follows to the first entry although the bar is disabled by then.
    list.ListSetTop(100);
    list.ListRemoveItem(1);
    EXPECT_EQ(list.bar(), "1/5");

    TestList big(50, 10);
    for (const auto& [notches, top] : {std::pair{-1, 11}, {-10, 42}, {7, 1}}) {
        big.ListWheel(notches);
        EXPECT_EQ(big.state().topIndex, top) << notches;
    }
    big.ListScroll(500);
    big.ListResize(20, 16);
    EXPECT_EQ(big.bar(), "32/20 on");
}

TEST(ListControl, KeysAndClicksReportSelectionsTheProgramsOwnDoNot)
{
    TestList list(10, 4);
    EXPECT_FALSE(list.ListKeyDown(ListKey::Other));  // not consumed
    EXPECT_TRUE(list.ListKeyDown(ListKey::Down));   // selects caret 1
    EXPECT_TRUE(list.ListKeyDown(ListKey::Up));     // already at the top: nothing new
    EXPECT_EQ(list.rec.reports, 1);
    list.ListKeyDown(ListKey::Enter);  // shows the line again
    list.ListSetTop(5);
    list.ListKeyDown(ListKey::Enter);  // and scrolls it back into view
    EXPECT_EQ(list.state().topIndex, 1);
    EXPECT_EQ(list.rec.reports, 3);
    list.ListSelect(3);
    list.ListKeyDown(ListKey::Other);
    EXPECT_EQ(list.rec.reports, 3);  // no stale notification from ListSelect
    list.ListSetIndex(8);
    list.ListSetIndex(8);  // already selected: stays selected
    EXPECT_EQ(list.where(), "8/8/5");

    TestList clicked(6, 10);
    clicked.ListMouseDown(-1);  // the header
    clicked.ListMouseDown(7);   // below the last entry
    EXPECT_EQ(clicked.rec.reports, 0);
    clicked.ListMouseDown(2);
    EXPECT_EQ(clicked.where(), "3/3/1");
    clicked.ListMouseDown(2);  // the selected entry clicked again: no selection
    EXPECT_EQ(clicked.state().listIndex + clicked.state().selectedCount, 0);
    // A disabled entry cannot be picked; an arrow onto it keeps the selection.
    clicked.item(2).enabled = false;
    clicked.ListClickItem(2);
    EXPECT_EQ(clicked.rec.reports, 2);
    clicked.ListSetIndex(1);
    clicked.ListKeyDown(ListKey::Down);
    clicked.ListKeyDown(ListKey::Space);
    EXPECT_EQ(clicked.where(), "2/1/1");
    // Scrolled lists click by row under the top entry.
    TestList longList(30, 10);
    longList.ListSetTop(11);
    longList.ListMouseDown(0);
    EXPECT_EQ(longList.state().listIndex, 11);
}

TEST(ListControl, MarkingTogglesMarksAndCountsThem)
{
    TestList list(8, 10);
    list.ListSetIndex(2);
    list.ListSetMode(SelectionMode::MultiMark);  // entering copy mode the way the editor does it
    list.ListClearSelection();
    for (int row : {2, 3, 6})
        list.ListMouseDown(row);
    EXPECT_EQ(list.state().selectedCount, 3);
    list.ListMouseDown(3);          // clicking a marked line unmarks it
    list.ListKeyDown(ListKey::Up);  // caret 4 -> 3, marks unchanged
    list.ListKeyDown(ListKey::Space);
    EXPECT_EQ(list.marked(), std::vector<int>{7});
    list.ListClickItem(7);
    EXPECT_EQ(list.state().listIndex, 0);  // the last unmark clears the selection
    list.ListClickItem(1);
    list.ListClickItem(2);
    list.ListClearSelection();
    list.ListSetMode(SelectionMode::SingleAfterCopy);
    list.ListSetIndex(5);
    EXPECT_EQ(list.marked(), std::vector<int>{5});
}

TEST(ListControl, InsertAndRemoveKeepSelectionAndCaretOnTheirEntries)
{
    TestList list(5, 10);
    list.ListSetIndex(3);
    list.ListInsertItem(3, rowNamed("new"));  // at the selected entry: it moves
    EXPECT_EQ(list.where(), "4/4/1");
    list.ListInsertItem(5, rowNamed("after"));   // behind it: it stays
    list.ListInsertItem(-7, rowNamed("first"));  // clamped to the front
    list.ListInsertItem(99, rowNamed("last"));   // clamped to the end
    QStringList names;
    for (int i = 1; i <= list.count(); ++i)
        names << list.item(i).column(1);
    EXPECT_EQ(names.join(QLatin1Char(',')), QStringLiteral("first,1,2,new,3,after,4,5,last"));
    EXPECT_EQ(list.marked(), std::vector<int>{5});
    list.ListRemoveItem(1);  // in front: both move up
    list.ListRemoveItem(4);  // the selected one: no selection left
    EXPECT_EQ(list.where(), "4/0/1");
    list.ListRemoveItem(0);  // out of range: nothing
    list.ListRemoveItem(99);
    EXPECT_EQ(list.count(), 7);
    list.ListSetIndex(7);
    list.ListRemoveItem(7);  // the caret on the last entry stays on the new last
    EXPECT_EQ(list.state().caretIndex, 6);
    // Into an empty list the caret parked on 1 now points at the new entry.
    TestList empty(0, 5);
    empty.ListInsertItem(1, rowNamed("a"));
    empty.ListKeyDown(ListKey::Space);
    EXPECT_EQ(empty.where(), "1/1/1");
}

TEST(ListControl, OnlyChangedVisibleRowsAreDrawnAndScrollingShiftsTheRest)
{
    TestList list(222, 20);
    auto after = [&list](auto&& action) {
        list.rec = Recorder();
        action();
        return list.rec.drawn;
    };
    list.ListSetIndex(10);
    EXPECT_EQ(after([&] { list.ListKeyDown(ListKey::Down); }), (std::vector<int>{10, 11}));
    // Entries off screen keep their flag until they come into view.
    list.ListSetItemText(100, 2, "changed");
    list.ListSetItemText(12, 2, "changed");
    EXPECT_EQ(after([&] { list.ListRefresh(); }), std::vector<int>{12});
    EXPECT_TRUE(list.item(100).repaint);
    // One step below the last visible row scrolls by one row: the old caret, then the uncovered row.
    list.ListSetIndex(20);
    EXPECT_EQ(after([&] { list.ListKeyDown(ListKey::Down); }), (std::vector<int>{20, 21}));
    // A scroll-bar move of a page draws exactly the uncovered rows; a jump
    // beyond a page redraws everything visible.
    EXPECT_EQ(after([&] { list.ListScroll(7); }), (std::vector<int>{22, 23, 24, 25, 26}));
    EXPECT_EQ(after([&] { list.ListScroll(90); }).size(), 20u);
    EXPECT_FALSE(list.item(100).repaint);
    // At the end the last visible row is blank and is drawn as such each refresh.
    list.ListSetTop(list.scrollBar().maximum);
    EXPECT_EQ(after([&] { list.ListRefresh(); }), std::vector<int>{223});
}

TEST(ListControl, RestoreKeepsTheGeometry)
{
    TestList list(12, 5);
    list.ListSetIndex(3);
    const std::vector<ListItem> items = list.items();
    const ListState state = list.state();
    list.ListRemoveItem(1);
    list.ListResize(8, 16);
    list.rec = Recorder();
    list.restore(items, state);
    EXPECT_EQ(list.marked(), std::vector<int>{3});
    EXPECT_EQ(list.state().visibleRows, 8);  // the view's size now, not the snapshot's
    EXPECT_EQ(list.bar(), "6/8 on");
    EXPECT_EQ(list.rec.invalidations, 1);
}

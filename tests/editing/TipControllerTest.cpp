#include "editing/TipController.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillon;

namespace {

struct FakeHost : TipHost {
    qint64 now = 0;
    QPoint cursor;
    int shows = 0;
    QRect face;
    QString text;
    bool shown = false;

    qint64 nowMs() const override { return now; }
    QPoint cursorPos() const override { return cursor; }
    void showTip(const QRect& f, const QString& t) override
    {
        ++shows;
        shown = true;
        face = f;
        text = t;
    }
    void hideTip() override { shown = false; }
};

struct FakeList : TipOwner {
    bool usable = true;
    std::vector<int> clicks;
    bool tipOwnerUsable() const override { return usable; }
    void tipClicked(int row) override { clicks.push_back(row); }
};

class Tips : public testing::Test {
protected:
    // Advances the clock in small steps, letting due timers fire on the way.
    void wait(int ms)
    {
        for (int i = 0; i < ms; i += 10) {
            host.now += 10;
            tips.fireDueTimers();
        }
    }
    // Rests the pointer on cell (row, column) of `owner`: cells are 100 x 20
    // pixels from the screen origin, texts 150 x 16.
    void rest(FakeList& owner, int row, int column)
    {
        const QPoint cell(column * 100, row * 20);
        host.cursor = cell + QPoint(5, 5);
        tips.listDisplay(&owner, row, column, cell, QSize(150, 16), QString("cell %1/%2").arg(row).arg(column));
    }
    void away(int ms)
    {
        host.cursor = QPoint(-50, -50);
        wait(ms);
    }

    FakeHost host;
    TipController tips{host};
    FakeList list;
    FakeList other;
};

}  // namespace

TEST_F(Tips, ShownAfterOneSecondOverTheCellForTenSecondsAtMost)
{
    rest(list, 3, 2);
    EXPECT_TRUE(tips.timerRunning(TipTimer::On));
    wait(990);
    EXPECT_EQ(host.shows, 0);
    wait(20);
    ASSERT_TRUE(host.shown);
    EXPECT_EQ(host.text, "cell 3/2");
    // Exactly over the cell: one pixel in, text extent + 4 each way.
    EXPECT_EQ(host.face, QRect(201, 61, 154, 20));
    EXPECT_EQ(tips.hotRect(), QRect(QPoint(201, 61), QPoint(355, 77)));
    // Checked every 400 ms: still inside, it stays.
    wait(1000);
    EXPECT_TRUE(host.shown);
    host.cursor = QPoint(0, 0);
    wait(390);
    EXPECT_FALSE(host.shown);
    EXPECT_EQ(tips.owner(), nullptr);
    EXPECT_TRUE(tips.timerRunning(TipTimer::Active));

    // Pointer gone before the second: nothing; back on the cell, afresh.
    away(700);
    rest(list, 1, 1);
    away(1100);
    EXPECT_EQ(host.shows, 1);
    EXPECT_EQ(tips.owner(), nullptr);
    rest(list, 1, 1);
    wait(500);
    rest(list, 1, 1);  // still the same cell: the second keeps running
    wait(510);
    EXPECT_EQ(host.shows, 2);

    // Hidden after ten seconds; moving on the same cell brings nothing back.
    wait(10000);
    EXPECT_TRUE(host.shown);  // the hide clock starts with the first check
    wait(420);
    EXPECT_FALSE(host.shown);
    rest(list, 1, 1);
    wait(3000);
    EXPECT_EQ(host.shows, 2);
    rest(list, 5, 1);
    wait(1010);
    EXPECT_EQ(host.shows, 3);
}

TEST_F(Tips, GracePeriodShowsTheNextTipAtOnceOnlyWithin600ms)
{
    rest(list, 1, 1);
    wait(1010);
    rest(list, 2, 1);  // straight to the next cut cell: shown without delay
    EXPECT_EQ(host.shows, 2);
    EXPECT_EQ(host.text, "cell 2/1");
    rest(list, 2, 2);  // along the row to the next column counts as another cell too
    EXPECT_EQ(host.shows, 3);
    // Leave, pause longer than the grace, come back: a full second again.
    away(400);
    ASSERT_FALSE(host.shown);
    wait(700);
    rest(list, 5, 1);
    EXPECT_EQ(host.shows, 3);
    wait(1010);
    EXPECT_EQ(host.shows, 4);

    // Pending tips that were never seen open no grace period.
    tips.remove();
    wait(700);
    rest(list, 6, 1);
    tips.listNoCutCell(&list);
    EXPECT_FALSE(tips.timerRunning(TipTimer::Active));
    rest(list, 7, 1);
    EXPECT_EQ(host.shows, 4);
    // Another list with a tip pending at the same place changes nothing; with
    // nothing pending it takes over.
    wait(500);
    rest(other, 7, 1);
    EXPECT_EQ(tips.owner(), &list);
    away(600);
    EXPECT_EQ(tips.owner(), nullptr);
    rest(other, 7, 1);
    EXPECT_EQ(tips.owner(), &other);
}

TEST_F(Tips, ClicksGoToTheRowOnceAndRemovalEndsEverything)
{
    rest(list, 7, 2);
    wait(1010);
    tips.clicked();
    wait(220);
    EXPECT_TRUE(list.clicks.empty());
    wait(20);
    EXPECT_EQ(list.clicks, std::vector<int>{7});
    EXPECT_FALSE(host.shown);
    // A double click also goes once.
    rest(list, 8, 2);
    ASSERT_TRUE(host.shown);  // within the grace period
    tips.clicked();
    wait(100);
    tips.doubleClicked();
    EXPECT_EQ(list.clicks, (std::vector<int>{7, 8}));
    EXPECT_FALSE(host.shown);
    wait(300);
    EXPECT_EQ(list.clicks, (std::vector<int>{7, 8}));
    // The next single click is a single click again.
    wait(700);
    rest(list, 9, 2);
    wait(1010);
    tips.clicked();
    wait(300);
    EXPECT_EQ(list.clicks, (std::vector<int>{7, 8, 9}));
    // A hidden or disabled list gets nothing.
    list.usable = false;
    rest(list, 10, 2);
    wait(1010);
    tips.clicked();
    wait(300);
    EXPECT_EQ(list.clicks.size(), 3u);

    // What the command-state switch does: the tip goes, a pending one never comes.
    list.usable = true;
    tips.remove();
    EXPECT_FALSE(host.shown);
    EXPECT_FALSE(tips.timerRunning(TipTimer::Off));
    wait(700);
    const int shows = host.shows;
    rest(list, 2, 1);
    tips.remove();
    wait(2000);
    EXPECT_EQ(host.shows, shows);
    // A list that is destroyed is never called again.
    rest(list, 3, 1);
    wait(1010);
    tips.clicked();
    tips.ownerGone(&list);
    wait(300);
    EXPECT_EQ(list.clicks.size(), 3u);
    EXPECT_EQ(tips.owner(), nullptr);
    tips.shutdown();
    EXPECT_EQ(tips.nextDeadline(), -1);
}

#include "editing/TipController.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <string>
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
    // Advances the clock in small steps, letting due timers fire on the way,
    // and tells how many tips were shown so far and whether one shows now: "2 shown".
    std::string after(int ms)
    {
        for (int i = 0; i < ms; i += 10) {
            host.now += 10;
            tips.fireDueTimers();
        }
        return std::to_string(host.shows) + (host.shown ? " shown" : "");
    }
    // Rests the pointer on cell (row, column) of `owner`: cells are 100 x 20
    // pixels from the screen origin, texts 150 x 16.
    void rest(FakeList& owner, int row, int column)
    {
        const QPoint cell(column * 100, row * 20);
        host.cursor = cell + QPoint(5, 5);
        tips.listDisplay(&owner, row, column, cell, QSize(150, 16), QString("cell %1/%2").arg(row).arg(column));
    }
    std::string away(int ms)
    {
        host.cursor = QPoint(-50, -50);
        return after(ms);
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
    EXPECT_EQ(after(990), "0");
    EXPECT_EQ(after(20), "1 shown");
    EXPECT_EQ(host.text, "cell 3/2");
    // Exactly over the cell: one pixel in, text extent + 4 each way.
    EXPECT_EQ(host.face, QRect(201, 61, 154, 20));
    EXPECT_EQ(tips.hotRect(), QRect(QPoint(201, 61), QPoint(355, 77)));
    // Checked every 400 ms: still inside, it stays; outside, it goes.
    EXPECT_EQ(after(1000), "1 shown");
    host.cursor = QPoint(0, 0);
    EXPECT_EQ(after(390), "1");
    EXPECT_EQ(tips.owner(), nullptr);
    EXPECT_TRUE(tips.timerRunning(TipTimer::Active));

    // Pointer gone before the second: nothing; back on the cell, afresh.
    away(700);
    rest(list, 1, 1);
    EXPECT_EQ(away(1100), "1");
    EXPECT_EQ(tips.owner(), nullptr);
    rest(list, 1, 1);
    after(500);
    rest(list, 1, 1);  // still the same cell: the second keeps running
    EXPECT_EQ(after(510), "2 shown");

    // Hidden after ten seconds; moving on the same cell brings nothing back.
    EXPECT_EQ(after(10000), "2 shown");  // the hide clock starts with the first check
    EXPECT_EQ(after(420), "2");
    rest(list, 1, 1);
    EXPECT_EQ(after(3000), "2");
    rest(list, 5, 1);
    EXPECT_EQ(after(1010), "3 shown");
}

TEST_F(Tips, GracePeriodShowsTheNextTipAtOnceOnlyWithin600ms)
{
    rest(list, 1, 1);
    after(1010);
    rest(list, 2, 1);  // straight to the next cut cell: shown without delay
    EXPECT_EQ(after(0), "2 shown");
    EXPECT_EQ(host.text, "cell 2/1");
    rest(list, 2, 2);  // along the row to the next column counts as another cell too
    EXPECT_EQ(after(0), "3 shown");
    // Leave, pause longer than the grace, come back: a full second again.
    EXPECT_EQ(away(400), "3");
    after(700);
    rest(list, 5, 1);
    EXPECT_EQ(after(0), "3");
    EXPECT_EQ(after(1010), "4 shown");

    // Pending tips that were never seen open no grace period.
    tips.remove();
    after(700);
    rest(list, 6, 1);
    tips.listNoCutCell(&list);
    EXPECT_FALSE(tips.timerRunning(TipTimer::Active));
    rest(list, 7, 1);
    EXPECT_EQ(after(0), "4");
    // Another list with a tip pending at the same place changes nothing; with
    // nothing pending it takes over.
    after(500);
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
    after(1010);
    tips.clicked();
    after(220);
    EXPECT_TRUE(list.clicks.empty());
    EXPECT_EQ(after(20), "1");
    EXPECT_EQ(list.clicks, std::vector<int>{7});
    // A double click also goes once.
    rest(list, 8, 2);
    ASSERT_TRUE(host.shown);  // within the grace period
    tips.clicked();
    after(100);
    tips.doubleClicked();
    EXPECT_EQ(list.clicks, (std::vector<int>{7, 8}));
    EXPECT_EQ(after(300), "2");
    EXPECT_EQ(list.clicks.size(), 2u);
    // The next single click is a single click again; a hidden or disabled list gets nothing.
    for (bool usable : {true, false}) {
        list.usable = usable;
        after(700);
        rest(list, usable ? 9 : 10, 2);
        after(1010);
        tips.clicked();
        after(300);
        EXPECT_EQ(list.clicks, (std::vector<int>{7, 8, 9})) << usable;
    }

    // What the command-state switch does: the tip goes, a pending one never comes.
    list.usable = true;
    tips.remove();
    EXPECT_FALSE(host.shown || tips.timerRunning(TipTimer::Off));
    after(700);
    rest(list, 2, 1);
    tips.remove();
    EXPECT_EQ(after(2000), "4");
    // A list that is destroyed is never called again.
    rest(list, 3, 1);
    after(1010);
    tips.clicked();
    tips.ownerGone(&list);
    after(300);
    EXPECT_EQ(list.clicks.size(), 3u);
    EXPECT_EQ(tips.owner(), nullptr);
    tips.shutdown();
    EXPECT_EQ(tips.nextDeadline(), -1);
}

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
    QString text;
    bool shown = false;

    qint64 nowMs() const override { return now; }
    QPoint cursorPos() const override { return cursor; }
    void showTip(const QRect&, const QString& t) override { ++shows, shown = true, text = t; }
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
    // Rests the pointer on cell (row, column) of `owner`: cells of 100 x 20 pixels.
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
};

}  // namespace

TEST_F(Tips, ShownAfterOneSecondOverTheCellForTenSecondsAtMost)
{
    rest(list, 3, 2);
    EXPECT_EQ(after(990), "0");
    EXPECT_EQ(after(20), "1 shown");
    EXPECT_EQ(host.text, "cell 3/2");
    // Checked every 400 ms: still inside, it stays; outside, it goes.
    EXPECT_EQ(after(1000), "1 shown");
    host.cursor = QPoint(0, 0);
    EXPECT_EQ(after(390), "1");

    // Pointer gone before the second: nothing.
    away(700);
    rest(list, 1, 1);
    EXPECT_EQ(away(1100), "1");
    rest(list, 1, 1);
    EXPECT_EQ(after(1010), "2 shown");

    // Hidden after ten seconds; moving on the same cell brings nothing back.
    EXPECT_EQ(after(10420), "2");
    rest(list, 1, 1);
    EXPECT_EQ(after(3000), "2");
}

TEST_F(Tips, GracePeriodShowsTheNextTipAtOnceOnlyWithin600ms)
{
    rest(list, 1, 1);
    after(1010);
    rest(list, 2, 1);  // straight to the next cut cell: shown without delay
    EXPECT_EQ(after(0), "2 shown");
    // Leave, pause longer than the grace, come back: a full second again.
    away(1100);
    rest(list, 5, 1);
    EXPECT_EQ(after(0), "2");
    EXPECT_EQ(after(1010), "3 shown");
}

TEST_F(Tips, ClicksGoToTheRowOnceAndRemovalEndsEverything)
{
    rest(list, 7, 2);
    after(1010);
    tips.clicked();
    after(220);
    EXPECT_TRUE(list.clicks.empty());
    EXPECT_EQ(after(20), "1");
    // A double click also goes once.
    rest(list, 8, 2);
    ASSERT_TRUE(host.shown);  // within the grace period
    tips.clicked();
    after(100);
    tips.doubleClicked();
    after(300);
    EXPECT_EQ(list.clicks, (std::vector<int>{7, 8}));
    // A hidden or disabled list gets nothing.
    list.usable = false;
    after(700);
    rest(list, 10, 2);
    after(1010);
    tips.clicked();
    after(300);
    EXPECT_EQ(list.clicks, (std::vector<int>{7, 8}));

    // What the command-state switch does: the tip goes, a pending one never comes.
    list.usable = true;
    tips.remove();
    EXPECT_FALSE(host.shown);
    after(700);
    rest(list, 2, 1);
    tips.remove();
    EXPECT_EQ(after(2000), "3");
    // A list that is destroyed is never called again.
    rest(list, 3, 1);
    after(1010);
    tips.clicked();
    tips.ownerGone(&list);
    after(300);
    EXPECT_EQ(list.clicks.size(), 2u);
    tips.shutdown();
    EXPECT_EQ(tips.nextDeadline(), -1);
}

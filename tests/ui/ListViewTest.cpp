#include "ui/ListView.h"
#include "ui/TipPopup.h"

#include "QtPrinters.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QScrollBar>
#include <QFontInfo>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

ProgramRow row(const QString& n, const QString& g)
{
    ProgramRow r;
    r.setColumn(1, " ");
    r.setColumn(2, n);
    r.setColumn(3, g);
    return r;
}

class ListViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        view.setFont(ListView::fixedPitchFont());
        view.setControl(&list);
        view.setColumn(1, "  ", "+");
        view.setColumn(2, "N", "000");
        view.setColumn(3, "G", "M00");
        view.resize(260, view.headerHeight() + 10 * view.rowHeight() + 3);
        view.initList();
        for (int i = 0; i < 40; ++i)
            list.ListAddItem(row(QString::number(i).rightJustified(3, ' '), "01"));
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QPoint rowCentre(int rowOffset) const { return view.rowRect(rowOffset).center(); }

    ListControl list;
    ListView view{"vsbList"};
};

}  // namespace

TEST_F(ListViewTest, ClicksAndKeysDriveTheControlAndReportSelections)
{
    // The columns line up only in a fixed-pitch font, drawn at the list's size.
    const QFontInfo drawn(view.font());
    EXPECT_TRUE(drawn.fixedPitch()) << drawn.family().toStdString();
    EXPECT_EQ(drawn.pointSize(), 9);

    QSignalSpy reports(&view, &ListView::selectionReported);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(20, 3));  // the header
    QTest::mouseClick(&view, Qt::LeftButton, {}, rowCentre(2));
    EXPECT_EQ(list.state().listIndex, 3);
    EXPECT_EQ(reports.count(), 1);
    EXPECT_TRUE(view.hasFocus() && list.state().hasFocus);

    // Each key, then the selection and the scroll bar's value.
    const std::tuple<Qt::Key, int, int> keys[] = {{Qt::Key_Down, 4, 1}, {Qt::Key_A, 4, 1}, {Qt::Key_End, 40, 32},
                                                  {Qt::Key_Home, 1, 1}, {Qt::Key_PageDown, 10, 1}};
    for (const auto& [key, index, top] : keys) {
        QTest::keyClick(&view, key);
        EXPECT_EQ(list.state().listIndex, index) << key;
        EXPECT_EQ(view.scrollBar()->value(), top) << key;
    }
    EXPECT_EQ(reports.count(), 5);

    // A double click selects its row once; it does not toggle it off again.
    // (QTest sends only the double-click event to widgets; a real double
    // click starts with a press and a release.)
    QSignalSpy doubles(&view, &ListView::itemDoubleClicked);
    QTest::mouseClick(&view, Qt::LeftButton, {}, rowCentre(4));
    QTest::mouseDClick(&view, Qt::LeftButton, {}, rowCentre(4));
    EXPECT_EQ(list.state().listIndex, 5);
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(doubles.value(0).value(0).toInt(), 5);

    // The program list takes the left button only.
    view.setLeftButtonOnly(true);
    QTest::mouseClick(&view, Qt::RightButton, {}, rowCentre(6));
    EXPECT_EQ(list.state().listIndex, 5);
}

TEST_F(ListViewTest, ScrollBarFollowsTheListBothWays)
{
    QScrollBar* bar = view.findChild<QScrollBar*>("vsbList");
    ASSERT_EQ(bar, view.scrollBar());

    bar->setValue(7);
    EXPECT_EQ(list.state().topIndex, 7);
    QTest::mouseClick(&view, Qt::LeftButton, {}, rowCentre(0));
    EXPECT_EQ(list.state().listIndex, 7);

    // The wheel moves a page per notch, up for a positive turn.
    const QPoint at = rowCentre(1);
    QWheelEvent down(at, view.mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &down);
    EXPECT_EQ(list.state().topIndex, 17);
    EXPECT_EQ(bar->value(), 17);
    QWheelEvent up(at, view.mapToGlobal(at), {}, QPoint(0, 240), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &up);
    EXPECT_EQ(list.state().topIndex, 1);

    // Giving the scroll bar the focus focuses the list.
    view.clearFocus();
    bar->setFocus();
    EXPECT_TRUE(view.hasFocus());

    // A list that fits has a disabled bar.
    list.ListClear();
    list.ListAddItem(row("  0", "00"));
    EXPECT_FALSE(bar->isEnabled());
}

TEST_F(ListViewTest, CutCellsShowTheirTextInATipThatPassesClicksToTheRow)
{
    TipPopup tip;
    view.setTipPopup(&tip);
    list.ListSetColumn(4, "Kommentar", 30);
    for (int i = 1; i <= list.count(); ++i)
        list.ListSetItemText(i, 4, i == 3 ? "ok" : "a comment far wider than its column");
    list.ListRedrawAll();

    // A text that fits never gets a tip.
    QTest::mouseMove(&view, view.cellRect(3, 4).center());
    QTest::qWait(1300);
    EXPECT_FALSE(tip.isVisible());

    const QRect cut = view.cellRect(5, 4);
    QTest::mouseMove(&view, cut.center());
    QTRY_VERIFY_WITH_TIMEOUT(tip.isVisible(), 2000);
    EXPECT_EQ(tip.controller().text(), "a comment far wider than its column");
    EXPECT_FALSE(QApplication::activeWindow() == &tip);

    // A click on the tip is a click on row 5, delivered once the double-click
    // time has passed.
    QSignalSpy reports(&view, &ListView::selectionReported);
    QTest::mouseClick(&tip, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(list.state().listIndex, 0);
    QTRY_COMPARE(list.state().listIndex, 5);
    EXPECT_EQ(reports.count(), 1);
    EXPECT_FALSE(tip.isVisible());

    // The command-state switch takes a shown tip away.
    QTest::mouseMove(&view, cut.center());
    QTRY_VERIFY_WITH_TIMEOUT(tip.isVisible(), 2000);
    tip.remove();
    EXPECT_FALSE(tip.isVisible());
    view.setTipPopup(nullptr);
}

// What the screen shows after row-wise repaints and pixel shifts must equal a
// fresh paint of the whole list: a stale row there is a wrong line on screen.
TEST_F(ListViewTest, IncrementalRepaintsMatchAFullPaint)
{
    auto onScreen = [&] {
        QCoreApplication::processEvents();
        return view.screen()->grabWindow(view.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    };
    auto fresh = [&] { return view.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    onScreen();
    view.setFocus();
    for (int key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_Down, Qt::Key_End,
                    Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Space, Qt::Key_Home, Qt::Key_Down}) {
        QTest::keyClick(&view, Qt::Key(key));
        EXPECT_TRUE(onScreen() == fresh()) << "after key " << key;
    }
    for (int value : {5, 6, 9, 3, 20, 32}) {
        view.scrollBar()->setValue(value);
        EXPECT_TRUE(onScreen() == fresh()) << "scrolled to " << value;
    }
}

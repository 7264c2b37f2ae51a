#include "ui/ListView.h"
#include "ui/MainWindow.h"
#include "ui/ToolpathDock.h"
#include "ui/ToolpathView.h"

#include "shell/ApplicationState.h"
#include "shell/MessageSink.h"

#include "QtPrinters.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QScreen>
#include <QTest>
#include <QLineEdit>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

using namespace quillon;
using namespace quillon::testing;

namespace {

class ToolpathDockTest : public WindowTest {
protected:
    // Ends the run as the File menu's Ende does, which writes the settings.
    void exitWindow()
    {
        w->findChild<QAction*>(QStringLiteral("mnuFExit"))->trigger();
        QApplication::processEvents();
    }
    ToolpathDock* dock() const { return w->findChild<ToolpathDock*>(QStringLiteral("dockPreview")); }
    ToolpathView* view() const { return w->findChild<ToolpathView*>(QStringLiteral("picPreview")); }
    QAction* toggle() const { return w->findChild<QAction*>(QStringLiteral("mnuVPreview")); }
    QToolButton* button(const char* name) const { return w->findChild<QToolButton*>(QString::fromLatin1(name)); }
    QString setting(const char* key) const { return state->settings().value(QString::fromLatin1(key), QStringLiteral("?")); }

    // The pane shown beside a Mark 4 program of three moves, rows 1 to 3.
    void openWelle()
    {
        start(MachineType::Mark4);
        toggle()->trigger();
        WAIT_TRUE(dock()->isVisible());
        const QByteArray text = "Welle\r\n%\r\n    N` G`   X `    Z `  F`  H \r\n"
                                "    00 90                      \r\n"
                                "    01 00     0    200         \r\n"
                                "    02 01  1000-  1000 100     \r\n"
                                "    03 01  2000-  2000 100     \r\n"
                                "    04M30                      \r\n"
                                "   M\r\n";
        w->setOpenNotice([]() { return true; });
        w->openAtStart(writeFile(dir.filePath(QStringLiteral("welle.cnc")), text));
        WAIT_TRUE(view()->toolpath().moves.size() == 3u);
    }
};

}  // namespace

TEST_F(ToolpathDockTest, MenuAndF8ShowAndHideThePaneAndItsPlaceIsKept)
{
    start(MachineType::Mark4);
    ASSERT_TRUE(dock() && toggle());
    // Hidden at first, and the window as small as without it.
    EXPECT_TRUE(dock()->isHidden());
    EXPECT_EQ(w->size(), QSize(640, 480));

    toggle()->trigger();
    WAIT_TRUE(dock()->isVisible());
    // The lathe has its one plane and no switch.
    EXPECT_TRUE(view()->plane() == PreviewPlane::LatheXZ && !button("cmdPreviewTop")->isVisible());
    // The window grows rather than squeeze the form below its smallest size.
    WAIT_TRUE(w->centralWidget()->width() >= 640);
    QTest::keyClick(w.get(), Qt::Key_F8);
    WAIT_TRUE(dock()->isHidden());
    // Near the screen's edge, the window grown for the pane moves back onto the screen.
    const QRect area = w->screen()->availableGeometry();
    w->move(area.right() - 700, area.top() + 10);
    QTest::keyClick(w.get(), Qt::Key_F8);
    WAIT_TRUE(dock()->isVisible());
    const QRect frame = w->frameGeometry();
    EXPECT_TRUE(frame.right() <= area.right() || frame.left() == area.left());

    // Docked at the bottom, then the run ends: the keys say so...
    w->addDockWidget(Qt::BottomDockWidgetArea, dock());
    exitWindow();
    EXPECT_EQ(setting("Preview"), "Yes");
    EXPECT_EQ(setting("PreviewSide"), "bottom");
    // ...and the next window comes up the same way.
    start(MachineType::Mark4);
    EXPECT_TRUE(dock()->isVisible());
    EXPECT_EQ(w->dockWidgetArea(dock()), Qt::BottomDockWidgetArea);

    // Hidden, it stays hidden.
    toggle()->trigger();
    EXPECT_TRUE(dock()->isHidden());
    exitWindow();
    EXPECT_EQ(setting("Preview"), "No");
    start(MachineType::Mark4);
    EXPECT_TRUE(dock()->isHidden());

    // A detached pane saved on a screen that has gone opens within reach.
    start(MachineType::Mark4, QStringLiteral("[Settings]\nPreview=Yes\nPreviewFloat=Yes\n"
                                             "PreviewWin=-150000,-150000,6000,4500\n"));
    EXPECT_TRUE(dock()->isFloating());
    EXPECT_EQ(dock()->size(), QSize(400, 300));
    EXPECT_TRUE(QGuiApplication::screenAt(dock()->geometry().center()));
}

TEST_F(ToolpathDockTest, MillSwitchesBetweenTopAndSideViewAndKeepsTheChoice)
{
    start(MachineType::F1);
    toggle()->trigger();
    EXPECT_EQ(view()->plane(), PreviewPlane::MillTop);
    QTest::mouseClick(button("cmdPreviewSide"), Qt::LeftButton);
    EXPECT_EQ(view()->plane(), PreviewPlane::MillSide);
    exitWindow();
    EXPECT_EQ(setting("PreviewView"), "side");
    start(MachineType::F1);
    EXPECT_TRUE(view()->plane() == PreviewPlane::MillSide && button("cmdPreviewSide")->isChecked());
}

TEST_F(ToolpathDockTest, TheMouseZoomsPansAndFitsAndAMissSelectsNothing)
{
    openWelle();
    view()->fitToView();
    const ToolpathViewport fitted = view()->viewport();
    const int row = w->editor().currentRow();

    // Within the fit's margin nothing is hit and nothing changes.
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(3, 3));
    QApplication::processEvents();
    EXPECT_EQ(w->editor().currentRow(), row);

    // The wheel zooms about the pointer.
    const QPoint pointer(view()->width() / 3, view()->height() / 3);
    const QPointF underPointer = fitted.toPlane(QPointF(pointer));
    QWheelEvent wheel(QPointF(pointer), view()->mapToGlobal(QPointF(pointer)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view(), &wheel);
    EXPECT_NEAR(view()->viewport().scale, fitted.scale * 1.25, 1e-9);
    EXPECT_NEAR(view()->viewport().toDevice(underPointer).x(), pointer.x(), 0.5);
    // Dragging pans and selects nothing.
    const QPoint from(3, view()->height() - 4), to = from + QPoint(30, -20);
    const QPointF underFrom = view()->viewport().toPlane(QPointF(from));
    QTest::mousePress(view(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), view()->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view(), &move);
    QTest::mouseRelease(view(), Qt::LeftButton, {}, to);
    EXPECT_EQ(view()->viewport().toDevice(underFrom).toPoint(), to);
    EXPECT_EQ(w->editor().currentRow(), row);
    // A double click fits the drawing again, as does the 0 key after -.
    QTest::mouseDClick(view(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(view()->viewport(), fitted);
    QTest::keyClick(view(), Qt::Key_Minus);
    EXPECT_NEAR(view()->viewport().scale, fitted.scale / 1.25, 1e-9);
    QTest::keyClick(view(), Qt::Key_0);
    EXPECT_EQ(view()->viewport(), fitted);
}

TEST_F(ToolpathDockTest, TheDrawingFollowsTheProgramAsItIsOpenedAndEdited)
{
    openWelle();
    EXPECT_EQ(view()->toolpath().moves[1].row, 2);

    // A click on the first feed shows its row in the form and highlights its move.
    const QPointF on = view()->viewport().toDevice(QPointF(-4, 2.5));  // halfway along it
    QTest::mouseClick(view(), Qt::LeftButton, {}, on.toPoint());
    WAIT_TRUE(w->editor().currentRow() == 3);
    EXPECT_EQ(view()->currentRow(), 2);
    auto* z = w->findChild<QLineEdit*>(QStringLiteral("txtParam2"));
    WAIT_TRUE(z->isVisible());
    EXPECT_EQ(z->text().trimmed(), QStringLiteral("-1000"));

    // A new Z, typed and left: the pane redraws after the edit, not inside it.
    z->setFocus();
    WAIT_TRUE(z->hasFocus());
    z->selectAll();
    QTest::keyClicks(z, QStringLiteral("-1500"));
    QTest::keyClick(z, Qt::Key_Tab);
    EXPECT_DOUBLE_EQ(view()->toolpath().moves[1].to.z, -10.0);
    WAIT_TRUE(view()->toolpath().moves[1].to.z == -15.0);
    EXPECT_TRUE(sink.boxes.empty());

    // Deleting the row takes its move out; undo brings it back.
    w->editor().cmdDelete_Click();
    WAIT_TRUE(view()->toolpath().moves.size() == 2u);
    w->editor().cmdUndo_Click();
    WAIT_TRUE(view()->toolpath().moves.size() == 3u);
    // Inch units: the drawing's scale says so.
    w->findChild<QAction*>(QStringLiteral("mnuEImp"))->trigger();
    WAIT_TRUE(view()->toolpath().inch);
    // A hidden pane is up to date once shown again.
    toggle()->trigger();
    WAIT_TRUE(dock()->isHidden());
    w->editor().cmdDelete_Click();
    toggle()->trigger();
    WAIT_TRUE(view()->toolpath().moves.size() == 2u);
}

TEST_F(ToolpathDockTest, AWalkThatStopsSaysWhereInThePaneAndItsNoteLeadsThere)
{
    start(MachineType::Mark4);
    toggle()->trigger();
    WAIT_TRUE(dock()->isVisible());
    const QByteArray text = "%\r\n    N` G`   X `    Z `  F`  H \r\n"
                            "    00 90                      \r\n"
                            "    01 00  1000    200         \r\n"
                            "    02 27              45      \r\n"
                            "    03M30                      \r\n"
                            "   M\r\n";
    w->setOpenNotice([]() { return true; });
    w->openAtStart(writeFile(dir.filePath(QStringLiteral("sprung.cnc")), text));
    WAIT_TRUE(!view()->toolpath().stopMessage.isEmpty());
    EXPECT_EQ(view()->toolpath().stopRow, 2);
    EXPECT_EQ(view()->toolpath().moves.size(), 1u);
    const QRectF note = ToolpathRenderer::stopMessageRect(view()->toolpath(), QRectF(view()->rect()));
    ASSERT_FALSE(note.isEmpty());
    QTest::mouseClick(view(), Qt::LeftButton, {}, note.center().toPoint());
    WAIT_TRUE(w->editor().currentRow() == 3);
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(ToolpathDockTest, TheTestRunStepsTheListRowRunsToTheEndAndAPausedRunFollowsAnEdit)
{
    openWelle();
    const auto label = [this](const char* name) { return w->findChild<QLabel*>(QString::fromLatin1(name))->text(); };
    // F10 runs a line and shows it in the list and the form; Shift+F10 goes back.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(w.get(), Qt::Key_F10);
    WAIT_TRUE(w->editor().currentRow() == 3);
    EXPECT_EQ(label("lblRunLine"), QStringLiteral("3/5"));
    EXPECT_EQ(view()->run().tool, (ToolPoint{5, 0, -10}));
    QTest::keyClick(w.get(), Qt::Key_F10, Qt::ShiftModifier);
    WAIT_TRUE(w->editor().currentRow() == 2);
    EXPECT_EQ(view()->run().movesDone, 1);

    // F5 runs on at the fastest speed and stops at the end.
    auto* speed = w->findChild<QComboBox*>(QStringLiteral("cboRunSpeed"));
    speed->setCurrentIndex(speed->count() - 1);
    QTest::keyClick(w.get(), Qt::Key_F5);
    WAIT_TRUE(!dock()->running());
    EXPECT_TRUE(dock()->testRun().atEnd() && w->editor().currentRow() == 5);

    // Back on the first feed, which is deleted: the run stands on the line
    // that took its place, and goes on from there.
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(w.get(), Qt::Key_F10, Qt::ShiftModifier);
    WAIT_TRUE(w->editor().currentRow() == 3);
    w->editor().cmdDelete_Click();
    WAIT_TRUE(view()->toolpath().moves.size() == 2u);
    EXPECT_EQ(label("lblRunLine"), QStringLiteral("3/4"));
    EXPECT_EQ(view()->run().tool, (ToolPoint{10, 0, -20}));
    QTest::keyClick(w.get(), Qt::Key_F10);
    WAIT_TRUE(w->editor().currentRow() == 4 && dock()->testRun().atEnd());
    // The billet the description does not name is set, drawn and remembered.
    w->findChild<QDoubleSpinBox*>(QStringLiteral("txtRunBillet"))->setValue(32.5);
    EXPECT_EQ(view()->run().material->stock().billetRadius(), 16.25);
    EXPECT_EQ(setting("PreviewBillet"), QStringLiteral("32.5"));
    // An edit while the run goes pauses it.
    speed->setCurrentIndex(0);
    QTest::keyClick(w.get(), Qt::Key_F5);
    EXPECT_TRUE(dock()->running());
    w->editor().cmdUndo_Click();
    EXPECT_FALSE(dock()->running());
    EXPECT_TRUE(sink.boxes.empty());
}

// The transfer dialogs, the cable window and the port menu, driven through
// their buttons against the fake port.
#include "FakeTransport.h"
#include "LinkTestSupport.h"

#include "link/CableInstructions.h"
#include "link/PortMenuModel.h"
#include "link/ReceivedProgram.h"
#include "link/SendText.h"
#include "ui/LinkCommands.h"
#include "ui/PortMenu.h"
#include "ui/frmLead.h"
#include "ui/frmSend.h"

#include "CliRun.h"
#include "QtPrinters.h"
#include "shell/RecordingSink.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPdfWriter>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;
using quillon::testing::RecordingSink;
using quillon::testing::toolOutput;

namespace {

// Runs `action` on the modal dialog once it is up (the commands run their
// dialogs with exec()).
void whenModal(const std::function<void(QWidget*)>& action)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            poll->stop();
            poll->deleteLater();
            action(modal);
        }
    });
    poll->start(5);
}

QPushButton* button(const QWidget& w, const char* name) { return w.findChild<QPushButton*>(name); }

const QByteArray kMark4 = QByteArray(100, '\0') + "%\r\n    N` G`   X `    Z `  F`  H \r\n    00 01  1250-   500 100  50\r\n   \"\r";

// Feeds the Mark 4 text a few characters at a time once the dialog is up.
void feedWhenModal(FakeTransport& port)
{
    whenModal([&](QWidget*) {
        QTimer::singleShot(300, [&] {
            for (qsizetype i = 0; i < kMark4.size(); i += 3)
                port.feed(kMark4.mid(i, 3));
        });
    });
}

}  // namespace

TEST(frmSendDialog, ProgressCancelAndPortErrors)
{
    // The bar shows the job's percent, which waits for the line (see SendJob).
    FakeTransport port;
    port.autoDrain = false;
    RecordingSink boxes;
    frmSend dialog(port, "2", QByteArray(100, 'x'), MachineType::Mark4, Units::Imperial, "est", boxes);
    dialog.setTickInterval(5);
    dialog.show();
    EXPECT_EQ(port.opens, 0) << "nothing happens before Start";
    button(dialog, "cmdStart")->click();
    EXPECT_TRUE(waitFor([&] { return dialog.findChild<QProgressBar*>("pnlProgress")->value() == 99; }, 2000));
    // Cancel while the queue is full closes at once.
    button(dialog, "cmdCancel")->click();
    EXPECT_FALSE(port.isOpen());
    ASSERT_TRUE(waitFor([&] { return !dialog.isVisible(); }, 2000));
    EXPECT_EQ(dialog.outcome(), TransferOutcome::Cancelled);
    // A port error: one exclamation box under the port-error title.
    port.openError = PortError::DeviceNotFound;
    frmSend failing(port, "3", "abc", MachineType::F1, Units::Metric, "est", boxes);
    failing.show();
    button(failing, "cmdStart")->click();
    ASSERT_TRUE(waitFor([&] { return !failing.isVisible(); }, 2000));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].title, "Empfange CNC Datei");
}

// Every block of the cable instructions reaches the printed page whole.
TEST(frmLeadWindow, PrintsTheCableInstructions)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("kabel.pdf");
    {
        QPdfWriter writer(pdf);
        ASSERT_TRUE(printCableInstructions(writer));
    }
    const QString printed = toolOutput("pdftotext", {"-layout", pdf, "-"}).simplified();
    EXPECT_TRUE(printed.startsWith(strCableHeading())) << printed.toStdString();
    for (const CableBlock& block : cableBlocks())
        EXPECT_TRUE(printed.contains(block.text.simplified())) << block.text.toStdString();
}

TEST(PortMenu, RendersTheModelAndReportsTheChoice)
{
    PortMenuModel model;
    QMenu menu;
    QStringList chosen;
    auto refill = [&](const std::vector<DetectedPort>& detected, const QString& comPort) {
        menu.clear();
        model.rebuild(detected, comPort);
        fillPortMenu(&menu, model, [&](const QString& value) { chosen << value; });
        return menu.actions();
    };
    // /dev/ttyS0 is "Com 1" already and is not listed twice.
    QList<QAction*> actions = refill({{"/dev/ttyS0", "built-in"}, {"/dev/ttyUSB0", "FT232R"}, {"/dev/ttyACM0", ""}}, "3");
    ASSERT_EQ(actions.size(), 7);
    EXPECT_EQ(actions[4]->text(), "/dev/ttyUSB0 (FT232R)");
    EXPECT_TRUE(actions[2]->isChecked());
    actions[4]->trigger();
    EXPECT_EQ(chosen, QStringList{"/dev/ttyUSB0"});
    EXPECT_TRUE(actions[4]->isChecked() && !actions[2]->isChecked());
}

TEST(LinkCommands, SendFileAsksThenSends)
{
    Program program;
    program.rows.resize(2);
    FakeTransport port;
    RecordingSink boxes;
    boxes.answer = MsgResult::No;
    EXPECT_EQ(SendFile(nullptr, program, MachineType::F1, "1", boxes, &port), TransferOutcome::Cancelled);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].title, "Quillon - sendet zur Fräsmaschine");
    EXPECT_EQ(port.opens, 0);

    boxes.answer = MsgResult::Yes;
    QString estimate;
    whenModal([&](QWidget* dialog) {
        estimate = dialog->findChild<QLabel*>("lblHelp9")->text();
        dialog->findChild<QPushButton*>("cmdStart")->click();
    });
    EXPECT_EQ(SendFile(nullptr, program, MachineType::Mark2, "1", boxes, &port), TransferOutcome::Completed);
    EXPECT_EQ(estimate, "Fortschritt: (vorrausichtliche Zeit für das senden ist 7 sekunde");
    EXPECT_EQ(port.written, sendText(program, MachineType::Mark2));
}

TEST(LinkCommands, ReceiveFileGuardsDecodesAndRejects)
{
    FakeTransport port;
    RecordingSink boxes;
    // Unsaved work and the answer No: nothing happens.
    boxes.answer = MsgResult::No;
    EXPECT_FALSE(ReceiveFile(nullptr, true, MachineType::Mark4, Units::Metric, "1", boxes, &port).started);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].message, "Die aktuelle Datei ist nicht gespeichert\r\n"
                                      "Sind Sie sicher das Sie ein Programm von der Drehmaschine empfangen wollen?");
    EXPECT_EQ(boxes.boxes[0].title, "Änderungen nicht gespeichert");
    EXPECT_EQ(port.opens, 0);
    // No unsaved work: no question; the reception becomes the program.
    feedWhenModal(port);
    ReceiveFileResult r = ReceiveFile(nullptr, false, MachineType::Mark4, Units::Metric, "1", boxes, &port);
    EXPECT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(r.started && r.accepted);
    ASSERT_EQ(r.program.rows.size(), 1u);
    EXPECT_EQ(r.program.units, Units::Imperial);
    // A text for another machine: the decoder's message, then an empty program.
    feedWhenModal(port);
    r = ReceiveFile(nullptr, false, MachineType::F1, Units::Metric, "1", boxes, &port);
    EXPECT_FALSE(r.accepted);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[1].title, "Dekodiere Daten");
    EXPECT_TRUE(boxes.boxes[1].message.endsWith("F1 Fräsmaschine"));
    // Cancelled while waiting: an empty program, no message but the unsaved-work question.
    boxes.answer = MsgResult::Yes;
    whenModal([](QWidget* dialog) { QTimer::singleShot(300, [dialog] { dialog->findChild<QPushButton*>("cmdCancel")->click(); }); });
    r = ReceiveFile(nullptr, true, MachineType::Mark2, Units::Metric, "1", boxes, &port);
    EXPECT_EQ(r.outcome, TransferOutcome::Cancelled);
    EXPECT_FALSE(r.accepted);
    EXPECT_EQ(boxes.boxes.size(), 3u);
    EXPECT_FALSE(port.isOpen());
}

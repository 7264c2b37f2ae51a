// Journeys through the real main window: keys and clicks on the widgets a
// user sees, and the program's bytes at the end.
#include "ui/HelpWindow.h"
#include "ui/ListView.h"
#include "ui/MachineTypeDialog.h"
#include "ui/MainWindow.h"
#include "ui/MillText.h"
#include "ui/SplashWindow.h"
#include "ui/StdMessageBox.h"

#include "QtPrinters.h"
#include "WindowTestSupport.h"

#include <QDir>
#include <QGroupBox>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTextBrowser>

using namespace quillon;
using namespace quillon::testing;

namespace {

// Types any characters, also those QTest::keyClicks has no key for.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

using MainWindowTest = WindowTest;

}  // namespace

namespace {

// A line each machine knows, entered by mouse and keys, and its bytes.
struct TypedLine {
    MachineType machine;
    const char* settings;
    const char* title;     // of the window at start
    const char* code;
    const char* captions;  // of the fields shown, in order
    std::vector<std::pair<int, const char*>> values;  // field, text
    int refusedField;      // typed first with `refused`, which must be refused
    const char* refused;
    const char* refusal;
    const char* commentText;
    QByteArray bytes;
};

const TypedLine kTypedLines[] = {
    // Letters and points are not taken, nor what Windows-1252 cannot hold.
    {MachineType::Mark4, "", "Quillon CNC Programm Editor für EMCO CNC 5 MK-4 (unbenannt)", "G01", "X|Z|F",
     {{0, "1a2.5x0"}, {2, "-500"}, {3, "100"}}, 3, "500", "Der maximalwert für diesen Parameter ist 499",
     "Maß 5€ ✓ok", QByteArray("    00 01  1250 -  500 100     Ma\xdf 5\x80 ok")},
    // The Woodworker's spindle goes to 8000, one more is refused.
    {MachineType::F1, "[Settings]\nWoodworker=Yes\n", "Quillon CNC Programm Editor für EMCO F1 Fräsmaschine (unbenannt)",
     "M06", "Radius|Geschwindigkeit|Korrekturwert|Werkzeug", {{0, "300"}, {1, "8000"}, {2, "-12"}, {3, "3"}}, 1,
     "8001", "Der maximalwert für diesen Parameter ist 8000", "", QByteArray("    00M06D  300S8000-   12T 03 ")},
    {MachineType::Mark2, "", "Quillon CNC Programm Editor für EMCO CNC 5 MK-2 (unbenannt)", "G33", "Z|K",
     {{2, "-250"}, {3, "75"}}, 3, "1", "Der mindest Wert für diesen Parameter ist 2", "",
     QByteArray("   N00 G33 X      Z-  250 F 75 ")},
};

}  // namespace

// Each machine starts with its title, lists and a new program; a line typed
// then is saved with Ctrl+S and, from inside a field, saved under a new name
// with Ctrl+A, which the field must not keep for itself.
TEST_F(MainWindowTest, ProgramTypedAfterStartIsSavedByKeys)
{
    for (const TypedLine& t : kTypedLines) {
        SCOPED_TRACE(machineNumber(t.machine));
        start(t.machine, QString::fromLatin1(t.settings));
        EXPECT_EQ(w->windowTitle(), QString::fromUtf8(t.title));
        EXPECT_EQ(child<ListView>("picMcode")->isVisible(), t.machine != MachineType::Mark2);
        sink.boxes.clear();
        pick(t.code);
        EXPECT_EQ(shownCaptions().join(QLatin1Char('|')), QString::fromUtf8(t.captions));
        for (const auto& [field, text] : t.values) {
            if (field == t.refusedField) {
                typeAndTab(param(field), QString::fromLatin1(t.refused));
                ASSERT_EQ(sink.boxes.size(), 1u);
                EXPECT_EQ(sink.boxes[0].message, QString::fromUtf8(t.refusal));
                WAIT_TRUE(param(field)->hasFocus());
            }
            typeAndTab(param(field), QString::fromLatin1(text));
        }
        WAIT_TRUE(comment()->hasFocus());
        typeText(comment(), QString::fromUtf8(t.commentText));
        QTest::keyClick(comment(), Qt::Key_Return);
        ASSERT_EQ(lineBytes(1), t.bytes);
        // The next line waits for its code: keys go to the G list, never into
        // the description.
        WAIT_TRUE(child<ListView>("picGcode")->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_5);
        EXPECT_TRUE(child<QPlainTextEdit>("txtNotes")->toPlainText().isEmpty());

        const QString first = dir.filePath(QStringLiteral("erst%1.cnc").arg(machineNumber(t.machine)));
        chosenFiles = {first};
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        EXPECT_TRUE(bytesOf(first).contains(t.bytes + "\r\n"));
        EXPECT_FALSE(w->editor().modified());

        const QString second = dir.filePath(QStringLiteral("zweit%1.cnc").arg(machineNumber(t.machine)));
        chosenFiles = {second};
        w->editor().programList().ListSetIndex(1);
        WAIT_TRUE(QApplication::focusWidget() == param(t.values.front().first));
        QTest::keyClick(param(t.values.front().first), Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(bytesOf(second), bytesOf(first)) << "Ctrl+A in a field";
    }
}

// The line rules as the window shows them: the H alarm on Enter handing the
// field back, the two code lists, M30 ending the entry, and undo and redo of
// an edit to a line shown again.
TEST_F(MainWindowTest, LineRulesEndOfEntryAndUndoOfAnEditedLine)
{
    start(MachineType::Mark4);
    pick("G33");
    typeAndTab(param(2), QStringLiteral("-800"));
    typeAndTab(param(3), QStringLiteral("150"));
    enterLine();
    EXPECT_EQ(lineBytes(1), QByteArray("    00 33       -  800K150     "));

    pick("G84");
    for (const auto& [k, text] : {std::pair{0, "100"}, {2, "-2000"}, {3, "50"}, {4, "150"}})
        typeAndTab(param(k), QString::fromLatin1(text));
    enterLine();
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].message, QStringLiteral("G84: der 'H' Wert darf nicht größer sein als der X-Wert"));
    EXPECT_EQ(w->editor().rowCount(), 2);
    WAIT_TRUE(param(4)->hasFocus());
    typeAndTab(param(4), QStringLiteral("50"));
    enterLine();
    ASSERT_EQ(w->editor().rowCount(), 3);
    EXPECT_EQ(lineBytes(2), QByteArray("    01 84   100 - 2000  50  50 "));

    // A code chosen in one list clears the other's selection.
    pick("M03");
    EXPECT_EQ(child<ListView>("picGcode")->control()->state().listIndex, 0);
    pick("M30");
    enterLine();
    EXPECT_EQ(w->editor().rowCount(), 3);
    EXPECT_FALSE(child<ListView>("picGcode")->isEnabled());
    EXPECT_EQ(lineBytes(3), QByteArray("    02M30                      "));

    ListView* list = child<ListView>("picList");
    QTest::mouseClick(list, Qt::LeftButton, {}, list->rowRect(0).center());
    EXPECT_EQ(w->editor().currentRow(), 1);
    typeAndTab(param(2), QStringLiteral("-900"));
    EXPECT_EQ(lineBytes(1), QByteArray("    00 33       -  900K150     "));
    QTest::mouseClick(button("cmdUndo"), Qt::LeftButton);
    EXPECT_EQ(lineBytes(1), QByteArray("    00 33       -  800K150     "));
    EXPECT_EQ(param(2)->text(), QStringLiteral("-800"));
    action("mnuERedo")->trigger();
    EXPECT_EQ(param(2)->text(), QStringLiteral("-900"));
    EXPECT_FALSE(button("cmdRedo")->isEnabled());
}

// The questions before sending and discarding, the recovery file of an error
// report, the units, and the window's place.
TEST_F(MainWindowTest, QuestionsRecoveryUnitsAndWindowSize)
{
    start(MachineType::Mark4);
    // Sending first asks whether the tool offsets are valid; No sends nothing
    // and gives the commands back.
    action("tlbSend")->trigger();
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].message, QStringLiteral("Sind Sie sicher das die Korrekturwerte in diesem Programm gültig sind?"));
    EXPECT_TRUE(action("mnuTSend")->isEnabled());

    pick("G01");
    WAIT_TRUE(param(0)->hasFocus());
    param(3)->setFocus(Qt::MouseFocusReason);
    typeAndTab(param(3), QStringLiteral("20"));
    ASSERT_TRUE(w->editor().modified());
    // An error report writes the program to a recovery file first.
    bool ended = false;
    state->errorReport().setMessageSink(&sink);
    state->errorReport().setTerminate([&ended]() { ended = true; });
    state->errorReport().setRecoveryHook([this]() { return w->saveRecovery(); });
    sink.boxes.clear();
    state->errorReport().LogError(QStringLiteral("frmQuillon"), QStringLiteral("cmdInsert_Click"), 6, QStringLiteral("Overflow"));
    EXPECT_TRUE(ended);
    const QStringList files = QDir(dir.path()).entryList({QStringLiteral("Quillon-recovery-*.cnc")});
    ASSERT_EQ(files.size(), 1);
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_TRUE(sink.boxes[0].message.contains(files[0]));
    EXPECT_TRUE(bytesOf(dir.filePath(files[0])).contains("    00 01    00         20     \r\n"));
    sink.boxes.clear();
    action("mnuFNew")->trigger();  // No keeps the program
    EXPECT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(w->editor().row(1).column(3), QStringLiteral(" 01"));
    EXPECT_FALSE(w->close());  // No keeps the window
    sink.answers = {MsgResult::Yes};
    action("tlbNew")->trigger();
    EXPECT_EQ(w->editor().row(1).column(3), QString());
    EXPECT_FALSE(w->editor().modified());

    action("mnuEImp")->trigger();
    EXPECT_EQ(child<QLabel>("lblUnits")->text(), QStringLiteral("Imperiale Meßeinheiten"));
    EXPECT_EQ(state->settings().units(), QStringLiteral("imperial"));

    // Win is written in twips on closing.
    w->setGeometry(40, 50, 700, 500);
    EXPECT_TRUE(w->close());
    EXPECT_EQ(state->settings().win(), QStringLiteral("600,750,10500,7500"));
}

// Enter moves on through the fields; Up and Down show other lines from a
// field or a button; in a code list the other keys move its caret and Space
// chooses.
TEST_F(MainWindowTest, KeysMoveThroughFieldsAndLines)
{
    start(MachineType::F1);
    pick("G00");
    WAIT_TRUE(param(0)->hasFocus());
    QTest::keyClicks(param(0), "10");
    for (int k : {0, 1, 2}) {  // no F for G00: Enter goes on to the comment
        WAIT_TRUE(param(k)->hasFocus());
        QTest::keyClick(param(k), Qt::Key_Return);
    }
    enterLine();
    pick("G90");
    enterLine();
    ASSERT_EQ(w->editor().rowCount(), 3);
    EXPECT_EQ(lineBytes(1), QByteArray("    00 00    10   00    00     "));

    QTest::keyClick(comment(), Qt::Key_Up);
    EXPECT_EQ(w->editor().currentRow(), 2);
    QTest::keyClick(button("cmdDelete"), Qt::Key_Up);
    EXPECT_EQ(param(0)->text(), QStringLiteral("10"));

    auto* gList = child<ListView>("picGcode");
    gList->setFocus(Qt::TabFocusReason);
    WAIT_TRUE(gList->hasFocus());
    // The list starts with the codes used last, here G00 and G90; three
    // entries on from the first is G01.
    for (Qt::Key key : {Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Space})
        QTest::keyClick(gList, key);
    EXPECT_EQ(lineBytes(1).mid(4, 5), QByteArray("00 01"));
    EXPECT_EQ(lineBytes(2).mid(4, 5), QByteArray("01 90"));

    // A value typed before Down is stored, as leaving the field would; a
    // refused one keeps the line where it is.
    for (const char* typed : {"77", "99999"}) {
        param(0)->setFocus();
        WAIT_TRUE(param(0)->hasFocus());
        param(0)->selectAll();
        QTest::keyClicks(param(0), typed);
        QTest::keyClick(param(0), Qt::Key_Down);
        EXPECT_EQ(lineBytes(1).left(16), QByteArray("    00 01    77 ")) << typed;
        EXPECT_EQ(w->editor().currentRow(), typed[0] == '7' ? 2 : 1) << typed;
        if (typed[0] == '7')
            QTest::keyClick(param(0), Qt::Key_Up);
    }
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].message, QStringLiteral("Der maximalwert für diesen Parameter ist 19999"));

    // The description keeps Up and Down for its own lines and, like the
    // comment, refuses what Windows-1252 cannot hold.
    auto* notes = child<QPlainTextEdit>("txtNotes");
    notes->setFocus();
    typeText(notes, QStringLiteral("Welle ∅20"));
    QTest::keyClick(notes, Qt::Key_Return);
    typeText(notes, QStringLiteral("Stahl"));
    QTest::keyClick(notes, Qt::Key_Up);
    EXPECT_EQ(w->editor().currentRow(), 1);
    EXPECT_EQ(w->editor().description(), QStringLiteral("Welle 20\r\nStahl"));  // as files keep it
}

TEST(MachineTypeDialogTest, PreselectionOkAfterAChoiceAndCancel)
{
    MachineTypeDialog dialog;
    auto* ok = child<QPushButton>(&dialog, "cmdOk");
    dialog.preselect(std::nullopt);
    EXPECT_FALSE(ok->isEnabled());
    dialog.preselect(preselectedChoice(MachineType::F1, true));
    EXPECT_TRUE(child<QRadioButton>(&dialog, "optType3")->isChecked());
    EXPECT_TRUE(ok->isEnabled());

    // The user picks the Mark 4 and presses OK.
    QTimer::singleShot(0, &dialog, [&dialog, ok]() {
        child<QRadioButton>(&dialog, "optType1")->click();
        ok->click();
    });
    const std::optional<MachineSetting> chosen = askMachineType(dialog, MachineType::None, false);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->type, MachineType::Mark4);
    EXPECT_FALSE(chosen->woodworker);

    QTimer::singleShot(0, &dialog, [&dialog]() { child<QPushButton>(&dialog, "cmdCancel")->click(); });
    EXPECT_FALSE(askMachineType(dialog, MachineType::Mark4, false));
}

TEST(StdMessageBoxTest, StylesGiveTheirButtonsAndAnswers)
{
    struct Case { int style; QMessageBox::StandardButton press; int answer; } cases[] = {
        {48, QMessageBox::Ok, 1}, {292, QMessageBox::Yes, 6}, {292, QMessageBox::No, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        QString title;
        bool noIsDefault = false;
        QTimer::singleShot(0, [&]() {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            title = box->windowTitle();
            noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
            box->button(c.press)->click();
        });
        StdMessageBox messages;
        EXPECT_EQ(messages.intStdMsgBox(QStringLiteral("Text"), c.style, QString()), c.answer);
        EXPECT_EQ(title, QStringLiteral("Quillon CNC Editor"));
        EXPECT_EQ(noIsDefault, c.style == 292);
    }
}

TEST(MillTextTest, LabelsOfADialogTurnIntoMillTexts)
{
    QWidget form;
    auto* b = new QLabel(QStringLiteral("die drehmaschine und DREHMASCHINE"), &form);
    MillText(&form);
    EXPECT_EQ(b->text(), QStringLiteral("die fräsmaschine und Fräsmaschine"));
}

// Open from the command line and the menu, Save As, an edited line, Save,
// the recent files, a refused file and the question on exit, with tracing
// on: every procedure the session runs is entered and left, nested as called.
TEST_F(MainWindowTest, FileMenuSessionAndItsTrace)
{
    logSwitches = [](const QString& name) {
        return name == QLatin1String("LogTrace") ? std::optional<QString>(QStringLiteral("True")) : std::nullopt;
    };
    const QString old = dir.filePath(QStringLiteral("alt.cnc"));
    start(MachineType::Mark4, QStringLiteral("[Settings]\nMRUFile00=%1\n").arg(old));

    const QString title = QStringLiteral("Quillon CNC Programm Editor für EMCO CNC 5 MK-4 (%1)");
    const QByteArray sample = bytesOf(data("mark4-welle.cnc"));
    const QString welle = writeFile(dir.filePath(QStringLiteral("welle.cnc")), sample);
    QDir::setCurrent(dir.path());
    w->openAtStart(QStringLiteral("welle.cnc"));  // relative to the working folder
    EXPECT_EQ(w->windowTitle(), title.arg(welle));
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(action("mnuFmru0")->text(), QStringLiteral("&1 ") + welle);
    EXPECT_EQ(action("mnuFmru1")->text(), QStringLiteral("&2 ") + old);

    // Save As writes the very bytes that were read.
    const QString copy = dir.filePath(QStringLiteral("kopie.cnc"));
    chosenFiles = {copy};
    action("mnuFSaveAs")->trigger();
    EXPECT_EQ(bytesOf(copy), sample);
    EXPECT_EQ(w->windowTitle(), title.arg(copy));

    // An edit, an insert and a delete are changes: the recent file asks
    // first, and No keeps the program; Save writes without a dialog.
    w->editor().programList().ListSetIndex(1);
    typeAndTab(param(0), QStringLiteral("1300"));
    button("cmdInsert")->click();
    button("cmdDelete")->click();
    sink.boxes.clear();
    action("mnuFmru1")->trigger();
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_TRUE(sink.boxes[0].message.endsWith(QStringLiteral("ein anderes Programm öffnen wollen?")));
    action("mnuFSave")->trigger();
    EXPECT_EQ(dialogTitles.size(), 1u);
    EXPECT_EQ(bytesOf(copy), QByteArray(sample).replace("    00 00  1250", "    00 00  1300"));

    // A mill program opened by the lathe is refused and leaves a new program.
    sink.boxes.clear();
    chosenFiles = {writeFile(dir.filePath(QStringLiteral("tasche.cnc")), bytesOf(data("f1-tasche.cnc")))};
    action("mnuFOpen")->trigger();
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(w->windowTitle(), title.arg(QStringLiteral("unbenannt")));
    EXPECT_EQ(w->editor().rowCount(), 1);

    // Exit after a change asks; No keeps the window, Yes ends with the list stored.
    pick("G90");
    sink.boxes.clear();
    action("mnuFExit")->trigger();
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_TRUE(sink.boxes[0].message.endsWith(QStringLiteral("das Programm schließen wollen?")));
    EXPECT_TRUE(w->isVisible());
    sink.answers = {MsgResult::Yes};
    action("tlbExit")->trigger();
    EXPECT_FALSE(w->isVisible());
    // A refused file is listed too, as it was read.
    EXPECT_EQ(state->settings().mruFile(0), dir.filePath(QStringLiteral("tasche.cnc")));

    // Each entry of the log: its indent, then '>' or '<' and the procedure.
    QStringList log;
    std::vector<int> depths;
    const QRegularExpression entry(QStringLiteral("^.{45}( *)([<>] \\S+)"));
    for (const QByteArray& raw : bytesOf(dir.filePath(QStringLiteral("Quillon.log"))).split('\n')) {
        const QRegularExpressionMatch m = entry.match(QString::fromLatin1(raw));
        if (m.hasMatch()) {
            log << m.captured(2);
            depths.push_back(int(m.captured(1).size()));
        }
    }
    const int readIn = log.indexOf("> ReadFile"), decodeIn = log.indexOf("> blnDecodeBuffer");
    const int storeIn = log.indexOf("> StoreRow");
    ASSERT_TRUE(0 <= readIn && readIn < decodeIn && decodeIn < storeIn && storeIn < log.indexOf("< blnDecodeBuffer")
                && log.indexOf("< blnDecodeBuffer") < log.indexOf("< ReadFile"));
    EXPECT_LT(depths[std::size_t(decodeIn)], depths[std::size_t(storeIn)]);
    EXPECT_EQ(log.filter(QRegularExpression("^>")).size() * 2, log.size());
}

// Copying from wherever the focus was: the keys mark lines in the program
// list, the description stays as it was, the panel takes the number of
// copies, and Undo and Redo take all copies out and put them back as one step.
TEST_F(MainWindowTest, LinesCopiedByKeysAreOneUndoStep)
{
    start(MachineType::Mark4, QStringLiteral("[Settings]\nMRUFile00=%1\n").arg(dir.filePath("alt.cnc")));
    openWelle();
    const int rows = w->editor().rowCount();
    std::vector<QByteArray> before;
    for (int r = 1; r <= rows; ++r)
        before.push_back(lineBytes(r));
    auto* notes = child<QPlainTextEdit>("txtNotes");
    const QString description = notes->toPlainText();
    button("cmdDelete")->click();  // a step before the copy
    button("cmdUndo")->click();
    ASSERT_EQ(w->editor().rowCount(), rows);

    action("tlbCopy")->trigger();
    for (const char* name : {"mnuEUndo", "mnuFmru0", "mnuFOpen"})
        EXPECT_FALSE(action(name)->isEnabled()) << name;
    // Keys typed into the description while copying reach the program list,
    // sent through the window as the window system delivers them: Home,
    // Space on the first line, Down, Space on the second.
    notes->setFocus();
    WAIT_TRUE(notes->hasFocus());
    for (Qt::Key key : {Qt::Key_Home, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space})
        QTest::keyClick(w->windowHandle(), key);
    EXPECT_EQ(notes->toPlainText(), description);
    ASSERT_TRUE(w->editor().programList().item(1).marked);
    ASSERT_TRUE(w->editor().programList().item(2).marked);

    button("cmdNext")->click();
    auto* copies = child<QLineEdit>("txtCopies");
    copies->setFocus();
    copies->selectAll();
    QTest::keyClicks(copies, QStringLiteral("x2"));  // letters are swallowed
    button("cmdNext")->click();
    ASSERT_EQ(w->editor().rowCount(), rows + 4);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(lineBytes(rows + 1 + k).mid(6), before[std::size_t(k % 2)].mid(6)) << k;
    EXPECT_TRUE(action("mnuFmru0")->isEnabled());

    button("cmdUndo")->click();
    ASSERT_EQ(w->editor().rowCount(), rows);
    for (int r = 1; r <= rows; ++r)
        EXPECT_EQ(lineBytes(r), before[std::size_t(r - 1)]) << r;
    button("cmdRedo")->click();
    ASSERT_EQ(w->editor().rowCount(), rows + 4);

    // Saved, the file holds the program with its copies.
    chosenFiles = {dir.filePath(QStringLiteral("kopiert.cnc"))};
    action("mnuFSaveAs")->trigger();
    const QByteArray saved = bytesOf(dir.filePath(QStringLiteral("kopiert.cnc")));
    EXPECT_TRUE(saved.startsWith("Welle"));
    EXPECT_TRUE(saved.contains(QByteArray("\r\n") + lineBytes(rows + 4) + "\r\n   M\r\n"));
}

// Every code of every machine at the minimum size: each field it uses is
// visible and inside the frame, and Tab only reaches
// visible fields.
TEST_F(MainWindowTest, EveryCodeShowsItsFieldsAtTheMinimumSize)
{
    for (MachineType machine : {MachineType::F1, MachineType::Mark2, MachineType::Mark4}) {
        SCOPED_TRACE(machineNumber(machine));
        start(machine);
        w->resize(640, 480);
        QApplication::processEvents();
        for (const CodeEntry& e : w->editor().tables().codes()) {
            SCOPED_TRACE(e.code.toStdString());
            pick(qPrintable(e.code));
            QApplication::processEvents();
            for (int k = 0; k < 5; ++k) {
                const bool used = !e.slotLetters[std::size_t(k)].isEmpty();
                ASSERT_EQ(param(k)->isVisible(), used) << k;
                EXPECT_TRUE(!used || param(k)->geometry().right() <= child<QGroupBox>("fraCode")->width()) << k;
            }
            QWidget* f = QApplication::focusWidget();
            for (int i = 0; i < 6 && f && f != comment(); ++i) {
                EXPECT_TRUE(f->isVisible()) << f->objectName().toStdString();
                QTest::keyClick(f, Qt::Key_Tab);
                f = QApplication::focusWidget();
            }
        }
    }
}

// The commands behind the other menu entries open their dialogs and give the
// commands back; nothing is printed, written or received without the user.
TEST_F(MainWindowTest, MenuCommandsOpenTheirDialogsAndGiveTheCommandsBack)
{
    const QString device = dir.filePath(QStringLiteral("ttyFehlt"));
    start(MachineType::Mark4, QStringLiteral("[Settings]\nComPort=%1\n").arg(device));
    std::vector<QString> titles;
    const auto closeIt = [&titles](QWidget* d) {
        titles.push_back(d->windowTitle());
        QTest::keyClick(d, Qt::Key_Escape);
    };

    // The splash names the machine, closes at the first command (Open here)
    // and comes back as the about view.
    SplashWindow splash;
    splash.setMachine(MachineType::F1);
    EXPECT_EQ(child<QLabel>(&splash, "lblTitle")->text(), QStringLiteral("Quillon für EMCO F1 Fräsmaschine"));
    splash.setMachine(MachineType::Mark4);
    splash.show();
    splash.startTimer();
    w->setSplash(&splash);
    const QString welle = openWelle();
    const QByteArray program = bytesOf(welle);
    sink.boxes.clear();
    action("mnuFPrint")->trigger();  // no printer here: a question, and No does nothing
    EXPECT_EQ(sink.boxes.size(), 1u);
    EXPECT_FALSE(splash.isVisible() || splash.timerActive());
    {
        ModalScript script({closeIt, closeIt, closeIt, closeIt});
        action("mnuFPreview")->trigger();
        action("mnuFexport")->trigger();  // the target file is asked first; Escape ends the export
        action("mnuHHelp")->trigger();
        action("mnuHAbout")->trigger();
        EXPECT_EQ(script.handled(), 4u);
    }
    w->setSplash(nullptr);
    EXPECT_EQ(titles, (std::vector<QString>{"Druckvorschau", "Export zu Spindra", "Quillon - serielles Kabel", splash.windowTitle()}));
    action("mnuHquillon")->trigger();  // the help, in German
    ASSERT_TRUE(child<HelpWindow>("frmHelp")->isVisible());
    EXPECT_TRUE(child<HelpWindow>("frmHelp")->browser()->toPlainText().contains(QStringLiteral("Zeilen kopieren")));
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.pdf", "*.txt"}).isEmpty());

    // The listing saved as PDF under the program's name, offered by the dialog.
    {
        ModalScript script({[](QWidget* d) { QMetaObject::invokeMethod(d, "accept"); }});
        action("mnuFPdf")->trigger();
    }
    EXPECT_TRUE(bytesOf(dir.filePath(QStringLiteral("welle.pdf"))).startsWith("%PDF-"));

    // Receiving from a port that does not exist says so and leaves the
    // program as it was; the port menu then stores another port.
    sink.boxes.clear();
    {
        ModalScript script({[&titles](QWidget* d) { titles.push_back(d->windowTitle()); }});
        action("mnuTReceive")->trigger();
    }
    ASSERT_FALSE(sink.boxes.empty());
    EXPECT_TRUE(sink.boxes[0].message.contains(device));
    EXPECT_EQ(titles.back(), QStringLiteral("Quillon empfängt von der Drehmaschine"));
    for (const char* name : {"mnuFOpen", "mnuTReceive", "mnuFPrint", "mnuFexport"})
        EXPECT_TRUE(action(name)->isEnabled()) << name;
    EXPECT_EQ(bytesOf(welle), program);
    QMetaObject::invokeMethod(child<QMenu>("mnut"), "aboutToShow");
    // (The entries of the menu before are only deleted later.)
    w->findChildren<QAction*>(QStringLiteral("mnuTPort2")).constLast()->trigger();
    EXPECT_EQ(state->settings().comPort(), QStringLiteral("2"));
}

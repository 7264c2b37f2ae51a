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
    int programColumns;
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
    {MachineType::Mark4, "", "Quillon CNC Programm Editor für EMCO CNC 5 MK-4 (unbenannt)", 8, "G01", "X|Z|F",
     {{0, "1a2.5x0"}, {2, "-500"}, {3, "100"}}, 3, "500", "Der maximalwert für diesen Parameter ist 499",
     "Maß 5€ ✓ok", QByteArray("    00 01  1250 -  500 100     Ma\xdf 5\x80 ok")},
    // The Woodworker's spindle goes to 8000, one more is refused.
    {MachineType::F1, "[Settings]\nWoodworker=Yes\n", "Quillon CNC Programm Editor für EMCO F1 Fräsmaschine (unbenannt)",
     8, "M06", "Radius|Geschwindigkeit|Korrekturwert|Werkzeug", {{0, "300"}, {1, "8000"}, {2, "-12"}, {3, "3"}}, 1,
     "8001", "Der maximalwert für diesen Parameter ist 8000", "", QByteArray("    00M06D  300S8000-   12T 03 ")},
    {MachineType::Mark2, "", "Quillon CNC Programm Editor für EMCO CNC 5 MK-2 (unbenannt)", 7, "G33", "Z|K",
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
        EXPECT_EQ(child<ListView>("picList")->control()->state().columnCount, t.programColumns);
        const bool mList = t.machine != MachineType::Mark2;
        EXPECT_EQ(child<ListView>("picMcode")->isVisible(), mList);
        EXPECT_EQ(child<QGroupBox>("fraCode")->title().trimmed(),
                  mList ? QStringLiteral("Bitte G-Code oder M-Code auswählen") : QStringLiteral("Bitte G-Code auswählen"));
        EXPECT_EQ(child<QLabel>("lblUnits")->text(), QStringLiteral("Metrisches Meßsystem"));
        EXPECT_TRUE(shownCaptions().isEmpty());
        for (QWidget* off : {(QWidget*)comment(), (QWidget*)button("cmdInsert"), (QWidget*)button("cmdDelete"),
                             (QWidget*)button("cmdUndo")})
            EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
        sink.boxes.clear();
        const int formHeight = child<QGroupBox>("fraCode")->height();
        pick(t.code);
        EXPECT_EQ(shownCaptions().join(QLatin1Char('|')), QString::fromUtf8(t.captions));
        // The fields shown stand at equal steps: the lathe closes the gap of
        // the Y field it never uses.
        std::vector<int> xs;
        for (const auto& value : t.values)
            xs.push_back(param(value.first)->x());
        for (std::size_t i = 2; i < xs.size(); ++i)
            EXPECT_EQ(xs[i] - xs[i - 1], xs[1] - xs[0]) << i;
        for (const auto& [field, text] : t.values) {
            if (field == t.refusedField) {
                typeAndTab(param(field), QString::fromLatin1(t.refused));
                ASSERT_EQ(sink.boxes.size(), 1u);
                EXPECT_EQ(sink.boxes[0].message, QString::fromUtf8(t.refusal));
                EXPECT_EQ(sink.boxes[0].style, 48);
                WAIT_TRUE(param(field)->hasFocus());
                // Typing replaces the refused value, which never reached the row.
                EXPECT_EQ(param(field)->selectedText(), QString::fromLatin1(t.refused));
            }
            typeAndTab(param(field), QString::fromLatin1(text));
        }
        WAIT_TRUE(comment()->hasFocus());
        typeText(comment(), QString::fromUtf8(t.commentText));
        QTest::keyClick(comment(), Qt::Key_Return);
        ASSERT_EQ(lineBytes(1), t.bytes);
        EXPECT_EQ(sink.boxes.size(), 1u);
        // The next line waits for its code: keys go to the G list, never into
        // the description, and the form is back to its height without fields.
        WAIT_TRUE(child<ListView>("picGcode")->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_5);
        EXPECT_TRUE(child<QPlainTextEdit>("txtNotes")->toPlainText().isEmpty());
        EXPECT_EQ(child<QGroupBox>("fraCode")->height(), formHeight);
        EXPECT_TRUE(button("cmdDelete")->isEnabled());

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
    ASSERT_EQ(w->editor().rowCount(), 2);
    EXPECT_EQ(lineBytes(1), QByteArray("    00 33       -  800K150     "));
    EXPECT_EQ(child<QLabel>("lblLine1")->text(), QStringLiteral("01"));

    pick("G84");
    for (const auto& [k, text] : {std::pair{0, "100"}, {2, "-2000"}, {3, "50"}, {4, "150"}})
        typeAndTab(param(k), QString::fromLatin1(text));
    enterLine();
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].message, QStringLiteral("G84: der 'H' Wert darf nicht größer sein als der X-Wert"));
    EXPECT_EQ(w->editor().rowCount(), 2);
    WAIT_TRUE(param(4)->hasFocus());
    EXPECT_EQ(param(4)->selectedText(), QStringLiteral("150"));
    typeAndTab(param(4), QStringLiteral("50"));
    enterLine();
    ASSERT_EQ(w->editor().rowCount(), 3);
    EXPECT_EQ(lineBytes(2), QByteArray("    01 84   100 - 2000  50  50 "));

    // A code chosen in one list clears the other's selection.
    pick("M03");
    EXPECT_EQ(child<ListView>("picGcode")->control()->state().listIndex, 0);
    child<ListView>("picGcode")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(child<ListView>("picMcode")->control()->state().listIndex, 0);
    pick("M30");
    enterLine();
    EXPECT_EQ(w->editor().rowCount(), 3);
    EXPECT_FALSE(child<ListView>("picGcode")->isEnabled());
    EXPECT_FALSE(comment()->isEnabled());
    EXPECT_EQ(lineBytes(3), QByteArray("    02M30                      "));

    ListView* list = child<ListView>("picList");
    QTest::mouseClick(list, Qt::LeftButton, {}, list->rowRect(0).center());
    EXPECT_EQ(w->editor().currentRow(), 1);
    EXPECT_TRUE(child<ListView>("picGcode")->isEnabled());
    typeAndTab(param(2), QStringLiteral("-900"));
    EXPECT_EQ(lineBytes(1), QByteArray("    00 33       -  900K150     "));
    EXPECT_TRUE(action("mnuEUndo")->isEnabled());
    QTest::mouseClick(button("cmdUndo"), Qt::LeftButton);
    EXPECT_EQ(lineBytes(1), QByteArray("    00 33       -  800K150     "));
    EXPECT_EQ(param(2)->text(), QStringLiteral("-800"));
    action("mnuERedo")->trigger();
    EXPECT_EQ(param(2)->text(), QStringLiteral("-900"));
    EXPECT_FALSE(button("cmdRedo")->isEnabled());
}

// The questions before sending and discarding, the recovery file of an error
// report, the units, and the window's size.
TEST_F(MainWindowTest, QuestionsRecoveryUnitsAndWindowSize)
{
    start(MachineType::Mark4);
    // Sending first asks whether the tool offsets are valid; No sends nothing
    // and gives the commands back.
    for (const char* name : {"tlbSend", "mnuTSend"}) {
        sink.boxes.clear();
        action(name)->trigger();
        ASSERT_EQ(sink.boxes.size(), 1u) << name;
        EXPECT_EQ(sink.boxes[0].message,
                  QStringLiteral("Sind Sie sicher das die Korrekturwerte in diesem Programm gültig sind?"));
        EXPECT_EQ(sink.boxes[0].style, 292) << name;
        EXPECT_TRUE(action("mnuTSend")->isEnabled());
    }

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
    EXPECT_TRUE(sink.boxes[0].message.contains(files[0])) << sink.boxes[0].message.toStdString();
    EXPECT_TRUE(bytesOf(dir.filePath(files[0])).contains("    00 01    00         20     \r\n"));
    sink.boxes.clear();
    action("mnuFNew")->trigger();  // No keeps the program
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].style, 292);
    EXPECT_EQ(w->editor().row(1).column(3), QStringLiteral(" 01"));
    EXPECT_FALSE(w->close());  // No keeps the window
    sink.answers = {MsgResult::Yes};
    action("tlbNew")->trigger();
    EXPECT_EQ(w->editor().row(1).column(3), QString());
    EXPECT_FALSE(w->editor().modified());

    action("mnuEImp")->trigger();
    EXPECT_EQ(child<QLabel>("lblUnits")->text(), QStringLiteral("Imperiale Meßeinheiten"));
    EXPECT_FALSE(action("mnuEMetric")->isChecked());
    EXPECT_EQ(state->settings().units(), QStringLiteral("imperial"));

    // Never smaller than 640 x 480; Win is written in twips on closing.
    w->resize(300, 200);
    QTest::qWait(20);
    EXPECT_GE(w->width(), 640);
    EXPECT_GE(w->height(), 480);
    w->setGeometry(40, 50, 700, 500);
    EXPECT_TRUE(w->close());
    EXPECT_EQ(state->settings().win(), QStringLiteral("600,750,10500,7500"));
}

// Enter moves on through the fields; Up and Down show other lines from a
// field, a button or a code list; in a code list the other keys move its
// caret and Space chooses.
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
    EXPECT_EQ(child<QLabel>("lblGcode")->text(), QStringLiteral("G90"));
    QTest::keyClick(button("cmdDelete"), Qt::Key_Up);
    EXPECT_EQ(w->editor().currentRow(), 1);
    EXPECT_EQ(param(0)->text(), QStringLiteral("10"));

    auto* gList = child<ListView>("picGcode");
    gList->setFocus(Qt::TabFocusReason);
    WAIT_TRUE(gList->hasFocus());
    QTest::keyClick(gList, Qt::Key_Down);
    EXPECT_EQ(w->editor().currentRow(), 2);
    QTest::keyClick(gList, Qt::Key_Up);
    EXPECT_EQ(w->editor().currentRow(), 1);
    gList->setFocus(Qt::TabFocusReason);
    QTest::keyClick(gList, Qt::Key_End);
    QTest::keyClick(gList, Qt::Key_PageUp);
    EXPECT_EQ(lineBytes(1), QByteArray("    00 00    10   00    00     "));
    // The list starts with the codes used last, here G00 and G90; three
    // entries on from the first is G01.
    for (Qt::Key key : {Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Space})
        QTest::keyClick(gList, key);
    EXPECT_EQ(child<QLabel>("lblGcode")->text(), QStringLiteral("G01"));
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
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Quillon - Maschinen Auswahl"));
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

TEST(StdMessageBoxTest, StylesGiveTheirIconsButtonsAndAnswers)
{
    struct Case { int style; QMessageBox::Icon icon; QMessageBox::StandardButton press; int answer; } cases[] = {
        {16, QMessageBox::Critical, QMessageBox::Ok, 1},    {48, QMessageBox::Warning, QMessageBox::Ok, 1},
        {64, QMessageBox::Information, QMessageBox::Ok, 1}, {292, QMessageBox::Question, QMessageBox::Yes, 6},
        {292, QMessageBox::Question, QMessageBox::No, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        QString title;
        bool noIsDefault = false;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&]() {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            title = box->windowTitle();
            icon = box->icon();
            noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
            box->button(c.press)->click();
        });
        StdMessageBox messages;
        EXPECT_EQ(messages.intStdMsgBox(QStringLiteral("Text"), c.style, QString()), c.answer);
        EXPECT_EQ(icon, c.icon);
        EXPECT_EQ(title, QStringLiteral("Quillon CNC Editor"));
        EXPECT_EQ(noIsDefault, c.style == 292);
    }
}

TEST(MillTextTest, LabelsOfADialogTurnIntoMillTexts)
{
    QWidget form;
    auto* a = new QLabel(QStringLiteral("Programm zur Drehmaschine senden"), &form);
    auto* b = new QLabel(QStringLiteral("die drehmaschine und DREHMASCHINE"), &form);
    MillText(&form);
    EXPECT_EQ(a->text(), QStringLiteral("Programm zur Fräsmaschine senden"));
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
    EXPECT_EQ(action("mnuFmru0")->text(), QStringLiteral("&1 ") + old);
    EXPECT_FALSE(w->findChild<QAction*>(QStringLiteral("mnuFmru1")));

    const QString title = QStringLiteral("Quillon CNC Programm Editor für EMCO CNC 5 MK-4 (%1)");
    const QByteArray sample = bytesOf(data("mark4-welle.cnc"));
    const QString welle = writeFile(dir.filePath(QStringLiteral("welle.cnc")), sample);
    QDir::setCurrent(dir.path());
    w->openAtStart(QStringLiteral("welle.cnc"));  // relative to the working folder
    EXPECT_EQ(w->windowTitle(), title.arg(welle));
    EXPECT_EQ(notices, 1);
    EXPECT_GT(w->editor().rowCount(), 1);
    EXPECT_EQ(action("mnuFmru0")->text(), QStringLiteral("&1 ") + welle);
    EXPECT_EQ(action("mnuFmru1")->text(), QStringLiteral("&2 ") + old);

    // Save As writes the very bytes that were read.
    const QString copy = dir.filePath(QStringLiteral("kopie.cnc"));
    chosenFiles = {copy};
    action("mnuFSaveAs")->trigger();
    EXPECT_EQ(bytesOf(copy), sample);
    EXPECT_EQ(w->windowTitle(), title.arg(copy));
    EXPECT_EQ(action("mnuFmru0")->text(), QStringLiteral("&1 ") + copy);

    // An edit, an insert and a delete are changes: the recent file asks
    // first, and No keeps the program; Save writes without a dialog.
    w->editor().programList().ListSetIndex(1);
    typeAndTab(param(0), QStringLiteral("1300"));
    button("cmdInsert")->click();
    button("cmdDelete")->click();
    EXPECT_TRUE(w->editor().modified());
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
    EXPECT_EQ(dialogTitles.back(), QStringLiteral("Datei auswählen"));
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].title, QStringLiteral("Dekodiere Daten"));
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
    for (const char* p : {"DispatchAction", "OpenFile", "ReadFile", "blnDecodeBuffer", "StoreRow", "MRUAddItem",
                          "DisplayCode", "DisplayFields", "SetParam", "UpdateLine", "blnCheckRange",
                          "txtParam_LostFocus", "cmdInsert_Click", "SetUndo", "blnInsertLine", "cmdDelete_Click",
                          "DeleteLine", "FileSaver", "SaveFile", "strFileOutBuff", "CommandState", "ExitProg",
                          "MRUSaveFileList", "Shutdown"}) {
        EXPECT_TRUE(log.contains(QStringLiteral("> ") + p)) << p << " entered";
        EXPECT_TRUE(log.contains(QStringLiteral("< ") + p)) << p << " left";
    }
    const int readIn = log.indexOf("> ReadFile"), decodeIn = log.indexOf("> blnDecodeBuffer");
    const int storeIn = log.indexOf("> StoreRow");
    ASSERT_TRUE(0 <= readIn && readIn < decodeIn && decodeIn < storeIn && storeIn < log.indexOf("< blnDecodeBuffer")
                && log.indexOf("< blnDecodeBuffer") < log.indexOf("< ReadFile"));
    EXPECT_TRUE(depths[std::size_t(readIn)] < depths[std::size_t(decodeIn)]
                && depths[std::size_t(decodeIn)] < depths[std::size_t(storeIn)]);
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
    EXPECT_TRUE(child<QLabel>("lblMark2")->text().startsWith(QStringLiteral("Markieren Sie jede Programmzeilen")));
    EXPECT_FALSE(child<QGroupBox>("fraCode")->isVisible());
    EXPECT_FALSE(child<ListView>("picGcode")->isEnabled());
    EXPECT_TRUE(action("tlbCopy")->isEnabled());
    for (const char* name : {"mnuEUndo", "mnuERedo", "mnuFmru0", "mnuECopy", "mnuFOpen"})
        EXPECT_FALSE(action(name)->isEnabled()) << name;
    // Keys typed into the description while copying reach the program list,
    // sent through the window as the window system delivers them: Home,
    // Space on the first line, Down, Space on the second.
    notes->setFocus();
    WAIT_TRUE(notes->hasFocus());
    for (Qt::Key key : {Qt::Key_Home, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space})
        QTest::keyClick(w->windowHandle(), key);
    EXPECT_EQ(notes->toPlainText(), description);
    for (const char* name : {"cmdDelete", "cmdInsert", "cmdUndo"})
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    ASSERT_TRUE(w->editor().programList().item(1).marked);
    ASSERT_TRUE(w->editor().programList().item(2).marked);

    button("cmdNext")->click();
    auto* copies = child<QLineEdit>("txtCopies");
    EXPECT_EQ(copies->text(), QStringLiteral("1"));
    copies->setFocus();
    copies->selectAll();
    QTest::keyClick(copies, Qt::Key_Backspace);
    EXPECT_FALSE(button("cmdNext")->isEnabled());
    QTest::keyClicks(copies, QStringLiteral("x2"));  // letters are swallowed
    EXPECT_EQ(copies->text(), QStringLiteral("2"));
    button("cmdNext")->click();
    ASSERT_EQ(w->editor().rowCount(), rows + 4);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(lineBytes(rows + 1 + k).mid(6), before[std::size_t(k % 2)].mid(6)) << k;
    EXPECT_TRUE(child<QGroupBox>("fraCode")->isVisible());
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
// visible with its own caption, nothing overlaps, no caption is cut, and Tab
// only reaches visible fields. The code frame shows an "&" as written.
TEST_F(MainWindowTest, EveryCodeShowsItsFieldsReadablyAtTheMinimumSize)
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
            QList<QRect> taken;
            for (int k = 0; k < 5; ++k) {
                const bool used = !e.slotLetters[std::size_t(k)].isEmpty();
                ASSERT_EQ(param(k)->isVisible(), used) << k;
                if (!used)
                    continue;
                QLabel* caption = paramLabel(k);
                ASSERT_TRUE(caption->isVisible()) << k;
                EXPECT_GE(caption->width(), caption->fontMetrics().horizontalAdvance(caption->text())) << k;
                for (const QRect& r : taken)
                    EXPECT_FALSE(r.intersects(param(k)->geometry()) || r.intersects(caption->geometry())) << k;
                taken << param(k)->geometry() << caption->geometry();
                EXPECT_LE(param(k)->geometry().right(), child<QGroupBox>("fraCode")->width());
            }
            QWidget* f = QApplication::focusWidget();
            for (int i = 0; i < 6 && f && f != comment(); ++i) {
                EXPECT_TRUE(f->isVisible()) << f->objectName().toStdString();
                QTest::keyClick(f, Qt::Key_Tab);
                f = QApplication::focusWidget();
            }
            EXPECT_TRUE(!e.description.contains(QLatin1Char('&')) || child<QGroupBox>("fraCode")->title().contains("&&"));
        }
        // The copy instructions fit at this size too.
        action("mnuECopy")->trigger();
        auto* mark2 = child<QLabel>("lblMark2");
        EXPECT_GE(mark2->height(), mark2->heightForWidth(mark2->width()));
        button("cmdCancel")->click();
        // The code lists' description column follows the width both ways.
        w->showMaximized();
        QApplication::processEvents();
        w->showNormal();
        w->resize(640, 480);
        QApplication::processEvents();
        auto* gList = child<ListView>("picGcode");
        EXPECT_LE(gList->control()->totalWidth(), gList->width());
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
    EXPECT_EQ(child<QLabel>(&splash, "lblModel")->text(), QStringLiteral("CPU - F1A114001"));
    EXPECT_EQ(child<QLabel>(&splash, "lblVersion")->text(), QStringLiteral("Version 1.0.21"));
    splash.setMachine(MachineType::Mark4);
    EXPECT_EQ(child<QLabel>(&splash, "lblModel")->text(), QStringLiteral("CPU - A6C114004"));
    EXPECT_FALSE(child<QLabel>(&splash, "imgMill")->isVisibleTo(&splash));
    splash.show();
    splash.startTimer();
    w->setSplash(&splash);
    const int height = splash.height();
    const QString welle = openWelle();
    const QByteArray program = bytesOf(welle);
    sink.boxes.clear();
    action("mnuFPrint")->trigger();  // no printer here: a question, and No does nothing
    EXPECT_EQ(sink.boxes.size(), 1u);
    EXPECT_FALSE(splash.isVisible() || splash.timerActive());
    EXPECT_GE(splash.height(), height + child<QPushButton>(&splash, "cmdOk")->height());
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
    for (const char* heading : {"Die Maschine wählen", "Eine Zeile eingeben", "Zeilen kopieren", "Maßeinheiten",
                                "Senden und Empfangen", "Export für Spindra"})
        EXPECT_TRUE(child<HelpWindow>("frmHelp")->browser()->toPlainText().contains(QString::fromUtf8(heading))) << heading;
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.pdf", "*.txt"}).isEmpty());

    // The listing saved as PDF under the program's name, offered by the dialog.
    {
        ModalScript script({[](QWidget* d) { QMetaObject::invokeMethod(d, "accept"); }});
        action("mnuFPdf")->trigger();
    }
    EXPECT_TRUE(bytesOf(dir.filePath(QStringLiteral("welle.pdf"))).startsWith("%PDF-"));
    EXPECT_TRUE(action("mnuFPdf")->isEnabled());

    // Receiving from a port that does not exist says so and leaves the
    // program as it was; the port menu then stores another port.
    sink.boxes.clear();
    {
        ModalScript script({[&titles](QWidget* d) { titles.push_back(d->windowTitle()); }});
        action("mnuTReceive")->trigger();
    }
    ASSERT_FALSE(sink.boxes.empty());
    EXPECT_TRUE(sink.boxes[0].message.contains(device)) << sink.boxes[0].message.toStdString();
    EXPECT_EQ(titles.back(), QStringLiteral("Quillon empfängt von der Drehmaschine"));
    for (const char* name : {"mnuFOpen", "mnuTReceive", "mnuFPrint", "mnuFexport"})
        EXPECT_TRUE(action(name)->isEnabled()) << name;
    EXPECT_EQ(bytesOf(welle), program);
    QMetaObject::invokeMethod(child<QMenu>("mnut"), "aboutToShow");
    // (The entries of the menu before are only deleted later.)
    w->findChildren<QAction*>(QStringLiteral("mnuTPort2")).constLast()->trigger();
    EXPECT_EQ(state->settings().comPort(), QStringLiteral("2"));
    w->CommandState(false);  // as while a command runs
    for (const char* name : {"mnuFOpen", "mnuTReceive", "mnuFPrint", "mnuFPdf", "mnuFexport"})
        EXPECT_FALSE(action(name)->isEnabled()) << name;
}

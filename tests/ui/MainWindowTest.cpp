// Journeys through the real main window: keys and clicks on the widgets a
// user sees, and the program's bytes at the end.
#include "ui/HelpWindow.h"
#include "ui/ListView.h"
#include "ui/MachineTypeDialog.h"
#include "ui/MainWindow.h"
#include "ui/MillText.h"
#include "ui/SplashWindow.h"
#include "ui/StdMessageBox.h"

#include "files/Cp1252.h"
#include "model/ProgramLine.h"

#include "QtPrinters.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTimer>

#include <set>

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

TEST_F(MainWindowTest, EachMachineStartsWithItsTitleListsAndCommandStates)
{
    struct Case {
        MachineType machine;
        const char* title;
        int programColumns;
        bool mList;
    } cases[] = {
        {MachineType::F1, "Quillon CNC Programm Editor für EMCO F1 Fräsmaschine (unbenannt)", 8, true},
        {MachineType::Mark2, "Quillon CNC Programm Editor für EMCO CNC 5 MK-2 (unbenannt)", 7, false},
        {MachineType::Mark4, "Quillon CNC Programm Editor für EMCO CNC 5 MK-4 (unbenannt)", 8, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(machineNumber(c.machine));
        start(c.machine);
        EXPECT_EQ(w->windowTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(child<ListView>("picList")->control()->state().columnCount, c.programColumns);
        EXPECT_EQ(child<ListView>("picMcode")->isVisible(), c.mList);
        EXPECT_EQ(w->editor().rowCount(), 1);
        EXPECT_TRUE(shownCaptions().isEmpty());
        EXPECT_TRUE(child<QLabel>("lblGcode")->styleSheet().contains("FFFF00"));
        EXPECT_FALSE(comment()->isEnabled());
        for (const char* name : {"cmdInsert", "cmdDelete", "cmdUndo"})
            EXPECT_FALSE(button(name)->isEnabled()) << name;
        EXPECT_FALSE(action("mnuEUndo")->isEnabled());
        for (const char* name : {"mnuFSave", "mnuFSaveAs", "tlbSave"})
            EXPECT_TRUE(action(name)->isEnabled()) << name;
        EXPECT_EQ(action("mnuFSave")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        EXPECT_EQ(action("mnuFSaveAs")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
        EXPECT_TRUE(action("mnuEMetric")->isChecked());
        EXPECT_EQ(child<QLabel>("lblUnits")->text(), QStringLiteral("Metrisches Meßsystem"));
        EXPECT_EQ(child<QGroupBox>("fraCode")->title().trimmed(),
                  c.mList ? QStringLiteral("Bitte G-Code oder M-Code auswählen") : QStringLiteral("Bitte G-Code auswählen"));
    }
}

namespace {

// A line each machine knows, entered by mouse and keys, and its bytes.
struct TypedLine {
    MachineType machine;
    const char* settings;
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
    // Letters and points are not taken.
    {MachineType::Mark4, "", "G01", "X|Z|F", {{0, "1a2.5x0"}, {2, "-500"}, {3, "100"}}, 3, "500",
     "Der maximalwert für diesen Parameter ist 499", "Schlichten",
     QByteArray("    00 01  1250 -  500 100     Schlichten")},
    // The Woodworker's spindle goes to 8000, one more is refused.
    {MachineType::F1, "[Settings]\nWoodworker=Yes\n", "M06", "Radius|Geschwindigkeit|Korrekturwert|Werkzeug",
     {{0, "300"}, {1, "8000"}, {2, "-12"}, {3, "3"}}, 1, "8001", "Der maximalwert für diesen Parameter ist 8000", "",
     QByteArray("    00M06D  300S8000-   12T 03 ")},
    {MachineType::Mark2, "", "G33", "Z|K", {{2, "-250"}, {3, "75"}}, 3, "1",
     "Der mindest Wert für diesen Parameter ist 2", "", QByteArray("   N00 G33 X      Z-  250 F 75 ")},
};

}  // namespace

// A program typed after start is saved with Ctrl+S and, from inside a field,
// saved under a new name with Ctrl+A, which the field must not keep for itself.
TEST_F(MainWindowTest, ProgramTypedAfterStartIsSavedByKeys)
{
    for (const TypedLine& t : kTypedLines) {
        SCOPED_TRACE(machineNumber(t.machine));
        start(t.machine, QString::fromLatin1(t.settings));
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
        QTest::keyClicks(comment(), QString::fromLatin1(t.commentText));
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
        EXPECT_TRUE(fileBytes(first).contains(t.bytes + "\r\n"));
        EXPECT_FALSE(w->editor().modified());

        const QString second = dir.filePath(QStringLiteral("zweit%1.cnc").arg(machineNumber(t.machine)));
        chosenFiles = {second};
        w->editor().programList().ListSetIndex(1);
        WAIT_TRUE(QApplication::focusWidget() == param(t.values.front().first));
        QTest::keyClick(param(t.values.front().first), Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(fileBytes(second), fileBytes(first)) << "Ctrl+A in a field";
    }
}

// The line rules as the window shows them: a minimum checked on Enter, the
// H alarm, the two code lists, M30 ending the entry, and undo and redo of an
// edit to a line shown again.
TEST_F(MainWindowTest, LineRulesEndOfEntryAndUndoOfAnEditedLine)
{
    start(MachineType::Mark4);
    pick("G33");
    EXPECT_EQ(shownCaptions(), (QStringList{"Z", "K"}));
    WAIT_TRUE(param(2)->hasFocus());
    QTest::keyClicks(param(2), "-800");
    comment()->setFocus();
    enterLine();  // K never entered: below its minimum
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].message, QStringLiteral("Der mindest Wert für diesen Parameter ist 2"));
    EXPECT_EQ(w->editor().rowCount(), 1);
    typeAndTab(param(3), QStringLiteral("150"));
    enterLine();
    ASSERT_EQ(w->editor().rowCount(), 2);
    EXPECT_EQ(lineBytes(1), QByteArray("    00 33       -  800K150     "));
    EXPECT_EQ(child<QLabel>("lblLine1")->text(), QStringLiteral("01"));

    pick("G84");
    typeAndTab(param(0), QStringLiteral("100"));
    typeAndTab(param(2), QStringLiteral("-2000"));
    typeAndTab(param(3), QStringLiteral("50"));
    typeAndTab(param(4), QStringLiteral("150"));
    enterLine();
    ASSERT_EQ(sink.boxes.size(), 2u);
    EXPECT_EQ(sink.boxes[1].message, QStringLiteral("G84: der 'H' Wert darf nicht größer sein als der X-Wert"));
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

    const QByteArray before = lineBytes(1);
    ListView* list = child<ListView>("picList");
    QTest::mouseClick(list, Qt::LeftButton, {}, list->rowRect(0).center());
    EXPECT_EQ(w->editor().currentRow(), 1);
    EXPECT_TRUE(child<ListView>("picGcode")->isEnabled());
    typeAndTab(param(2), QStringLiteral("-900"));
    EXPECT_EQ(lineBytes(1), QByteArray("    00 33       -  900K150     "));
    EXPECT_TRUE(action("mnuEUndo")->isEnabled());
    EXPECT_EQ(button("cmdUndo")->toolTip(), QStringLiteral("Wiederherstellen der editierten Zeile"));
    QTest::mouseClick(button("cmdUndo"), Qt::LeftButton);
    EXPECT_EQ(lineBytes(1), before);
    EXPECT_EQ(param(2)->text(), QStringLiteral("-800"));
    action("mnuERedo")->trigger();
    EXPECT_EQ(param(2)->text(), QStringLiteral("-900"));
    EXPECT_FALSE(button("cmdRedo")->isEnabled());
}

TEST_F(MainWindowTest, TextFieldsRefuseWhatWindows1252CannotHold)
{
    start(MachineType::Mark4);
    pick("G90");
    WAIT_TRUE(comment()->hasFocus());
    typeText(comment(), QStringLiteral("Maß 5€ ✓ok"));
    EXPECT_EQ(comment()->text(), QStringLiteral("Maß 5€ ok"));
    auto* notes = child<QPlainTextEdit>("txtNotes");
    notes->setFocus();
    typeText(notes, QStringLiteral("Welle ∅20"));
    QTest::keyClick(notes, Qt::Key_Return);
    typeText(notes, QStringLiteral("Stahl"));
    EXPECT_EQ(notes->toPlainText(), QStringLiteral("Welle 20\nStahl"));
    EXPECT_EQ(w->editor().description(), QStringLiteral("Welle 20\r\nStahl"));  // as files keep it
    EXPECT_TRUE(w->editor().modified());
}

TEST_F(MainWindowTest, QuestionsBeforeSendingAndDiscardingUnitsAndWindowSize)
{
    start(MachineType::Mark4);
    // Sending first asks whether the tool offsets are valid; No sends nothing
    // and gives the commands back.
    for (const char* name : {"tlbSend", "mnuTSend"}) {
        sink.boxes.clear();
        sink.answers = {MsgResult::No};
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
    sink.boxes.clear();
    sink.answers = {MsgResult::No};
    action("mnuFNew")->trigger();
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].style, 292);
    EXPECT_EQ(w->editor().row(1).column(3), QStringLiteral(" 01"));
    sink.answers = {MsgResult::No};
    EXPECT_FALSE(w->close());  // No keeps the window
    sink.answers = {MsgResult::Yes};
    action("tlbNew")->trigger();
    EXPECT_EQ(w->editor().row(1).column(3), QString());
    EXPECT_FALSE(w->editor().modified());

    action("mnuEImp")->trigger();
    EXPECT_EQ(child<QLabel>("lblUnits")->text(), QStringLiteral("Imperiale Meßeinheiten"));
    EXPECT_TRUE(action("mnuEImp")->isChecked());
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

TEST_F(MainWindowTest, EnterMovesOnAndUpDownShowOtherLines)
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
    // A value typed before Down is stored, as leaving the field would; a
    // refused one keeps the line where it is.
    for (const char* typed : {"77", "99999"}) {
        param(0)->setFocus();
        WAIT_TRUE(param(0)->hasFocus());
        param(0)->selectAll();
        QTest::keyClicks(param(0), typed);
        QTest::keyClick(param(0), Qt::Key_Down);
        EXPECT_EQ(lineBytes(1), QByteArray("    00 00    77   00    00     ")) << typed;
        EXPECT_EQ(w->editor().currentRow(), typed[0] == '7' ? 2 : 1) << typed;
        if (typed[0] == '7')
            QTest::keyClick(param(0), Qt::Key_Up);
    }
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].message, QStringLiteral("Der maximalwert für diesen Parameter ist 19999"));

    // The description keeps Up and Down for its own lines.
    auto* notes = child<QPlainTextEdit>("txtNotes");
    notes->setFocus();
    QTest::keyClick(notes, Qt::Key_Down);
    EXPECT_EQ(w->editor().currentRow(), 1);
}

TEST_F(MainWindowTest, ErrorReportWritesTheProgramToARecoveryFile)
{
    start(MachineType::Mark4);
    pick("G01");
    typeAndTab(param(0), QStringLiteral("1250"));
    bool ended = false;
    state->errorReport().setMessageSink(&sink);
    state->errorReport().setTerminate([&ended]() { ended = true; });
    state->errorReport().setRecoveryHook([this]() { return w->saveRecovery(); });
    state->errorReport().LogError(QStringLiteral("frmQuillon"), QStringLiteral("cmdInsert_Click"), 6,
                                  QStringLiteral("Overflow"));
    EXPECT_TRUE(ended);
    ASSERT_EQ(sink.boxes.size(), 1u);
    const QStringList files = QDir(dir.path()).entryList({QStringLiteral("Quillon-recovery-*.cnc")});
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(sink.boxes[0].message.contains(files[0])) << sink.boxes[0].message.toStdString();
    EXPECT_TRUE(fileBytes(dir.filePath(files[0])).contains("    00 01  1250                \r\n"));
}

TEST(MachineTypeDialogTest, PreselectionOkAfterAChoiceAndCancel)
{
    MachineTypeDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Quillon - Maschinen Auswahl"));
    auto* ok = dialog.findChild<QPushButton*>("cmdOk");
    ASSERT_TRUE(ok);
    dialog.preselect(std::nullopt);
    EXPECT_FALSE(ok->isEnabled());
    dialog.preselect(preselectedChoice(MachineType::F1, true));
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("optType3")->isChecked());
    EXPECT_TRUE(ok->isEnabled());

    // The user picks the Mark 4 and presses OK.
    QTimer::singleShot(0, &dialog, [&dialog]() {
        dialog.findChild<QRadioButton*>("optType1")->click();
        dialog.findChild<QPushButton*>("cmdOk")->click();
    });
    std::optional<MachineSetting> chosen = askMachineType(dialog, MachineType::None, false);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->type, MachineType::Mark4);
    EXPECT_FALSE(chosen->woodworker);

    QTimer::singleShot(0, &dialog, [&dialog]() { dialog.findChild<QPushButton*>("cmdCancel")->click(); });
    EXPECT_FALSE(askMachineType(dialog, MachineType::Mark4, false));
}

// The splash names the machine, closes at the first command and becomes the
// about view; the help is German.
TEST_F(MainWindowTest, SplashClosesAtTheFirstCommandAndHelpIsGerman)
{
    start(MachineType::Mark4);
    SplashWindow splash;
    splash.setMachine(MachineType::F1);
    EXPECT_EQ(splash.findChild<QLabel*>("lblTitle")->text(), QStringLiteral("Quillon für EMCO F1 Fräsmaschine"));
    EXPECT_EQ(splash.findChild<QLabel*>("lblModel")->text(), QStringLiteral("CPU - F1A114001"));
    EXPECT_EQ(splash.findChild<QLabel*>("lblVersion")->text(), QStringLiteral("Version 1.0.21"));
    splash.setMachine(MachineType::Mark4);
    EXPECT_EQ(splash.findChild<QLabel*>("lblModel")->text(), QStringLiteral("CPU - A6C114004"));
    EXPECT_FALSE(splash.findChild<QLabel*>("imgMill")->isVisibleTo(&splash));
    splash.show();
    splash.startTimer();
    w->setSplash(&splash);
    const int height = splash.height();
    action("tlbNew")->trigger();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.timerActive());
    EXPECT_GE(splash.height(), height + splash.findChild<QPushButton*>("cmdOk")->height());
    w->setSplash(nullptr);

    action("mnuHquillon")->trigger();
    auto* help = w->findChild<HelpWindow*>("frmHelp");
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    const QString text = help->browser()->toPlainText();
    for (const char* heading : {"Die Maschine wählen", "Eine Zeile eingeben", "Zeilen kopieren", "Maßeinheiten",
                                "Senden und Empfangen", "Export für Spindra"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(heading))) << heading;
}

TEST(StdMessageBoxTest, StylesGiveTheirIconsButtonsAndAnswers)
{
    struct Case {
        int style;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton press;
        int answer;
    } cases[] = {
        {16, QMessageBox::Critical, QMessageBox::Ok, 1},
        {48, QMessageBox::Warning, QMessageBox::Ok, 1},
        {64, QMessageBox::Information, QMessageBox::Ok, 1},
        {292, QMessageBox::Question, QMessageBox::Yes, 6},
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

// Open from the command line and the menu, Save As, Save, the recent files,
// a refused file, and the question on exit.
TEST_F(MainWindowTest, FileMenuOpensSavesListsRecentFilesAndAsksOnExit)
{
    // Keys 00 to 05 stored: four entries, key 00 on top.
    QString ini = QStringLiteral("[Settings]\n");
    for (int i = 0; i < 6; ++i)
        ini += QStringLiteral("MRUFile0%1=%2\n").arg(i).arg(dir.filePath(QStringLiteral("alt%1.cnc").arg(i)));
    start(MachineType::Mark4, ini);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(action(qPrintable(QStringLiteral("mnuFmru%1").arg(i)))->text(),
                  QStringLiteral("&%1 %2").arg(i + 1).arg(dir.filePath(QStringLiteral("alt%1.cnc").arg(i))));
    EXPECT_FALSE(w->findChild<QAction*>(QStringLiteral("mnuFmru4")));

    const QString title = QStringLiteral("Quillon CNC Programm Editor für EMCO CNC 5 MK-4 (%1)");
    const QString welle = writeFile(dir.filePath(QStringLiteral("welle.cnc")), dataBytes("mark4-welle.cnc"));
    QDir::setCurrent(dir.path());
    w->openAtStart(QStringLiteral("welle.cnc"));  // relative to the working folder
    EXPECT_EQ(w->windowTitle(), title.arg(welle));
    EXPECT_EQ(notices, 1);
    EXPECT_GT(w->editor().rowCount(), 1);
    EXPECT_EQ(action("mnuFmru0")->text(), QStringLiteral("&1 ") + welle);
    EXPECT_EQ(action("mnuFmru1")->text(), QStringLiteral("&2 ") + dir.filePath(QStringLiteral("alt0.cnc")));

    // Save As writes the very bytes that were read.
    const QString copy = dir.filePath(QStringLiteral("kopie.cnc"));
    chosenFiles = {copy};
    action("mnuFSaveAs")->trigger();
    EXPECT_EQ(fileBytes(copy), dataBytes("mark4-welle.cnc"));
    EXPECT_EQ(w->windowTitle(), title.arg(copy));
    EXPECT_EQ(action("mnuFmru0")->text(), QStringLiteral("&1 ") + copy);

    // Delete is a change: the recent file asks first, and No keeps the program.
    const int rows = w->editor().rowCount();
    button("cmdDelete")->click();
    EXPECT_EQ(w->editor().rowCount(), rows - 1);
    EXPECT_TRUE(w->editor().modified());
    sink.boxes.clear();
    action("mnuFmru1")->trigger();
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_TRUE(sink.boxes[0].message.endsWith(QStringLiteral("ein anderes Programm öffnen wollen?")));
    EXPECT_EQ(w->editor().rowCount(), rows - 1);

    // Undo brings the line back; Save writes without a dialog.
    button("cmdUndo")->click();
    EXPECT_EQ(w->editor().rowCount(), rows);
    action("mnuFSave")->trigger();
    EXPECT_TRUE(dialogTitles.size() == 1u);
    EXPECT_EQ(fileBytes(copy), dataBytes("mark4-welle.cnc"));

    // Five files opened in turn leave four entries, the last on top.
    for (int i = 0; i < 5; ++i)
        chosenFiles.push_back(writeFile(dir.filePath(QStringLiteral("f%1.cnc").arg(i)), dataBytes("mark4-welle.cnc")));
    for (int i = 0; i < 5; ++i)
        action("mnuFOpen")->trigger();
    EXPECT_EQ(dialogTitles.back(), QStringLiteral("Datei auswählen"));
    EXPECT_EQ(action("mnuFmru0")->text(), QStringLiteral("&1 ") + dir.filePath(QStringLiteral("f4.cnc")));
    EXPECT_EQ(action("mnuFmru3")->text(), QStringLiteral("&4 ") + dir.filePath(QStringLiteral("f1.cnc")));
    EXPECT_FALSE(w->findChild<QAction*>(QStringLiteral("mnuFmru4")));

    // A mill program is refused by the lathe and leaves a new program.
    sink.boxes.clear();
    w->openAtStart(writeFile(dir.filePath(QStringLiteral("tasche.cnc")), dataBytes("f1-tasche.cnc")));
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
    for (int key : {int(Qt::Key_Home), int(Qt::Key_Space), int(Qt::Key_Down), int(Qt::Key_Space)})
        QTest::keyClick(w->windowHandle(), Qt::Key(key));
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
    const QByteArray saved = fileBytes(dir.filePath(QStringLiteral("kopiert.cnc")));
    EXPECT_TRUE(saved.startsWith("Welle"));
    EXPECT_TRUE(saved.contains(QByteArray("\r\n") + lineBytes(rows + 4) + "\r\n   M\r\n"));
}

TEST_F(MainWindowTest, MachineChangeAsksAndHandsOverToANewWindow)
{
    start(MachineType::Mark4);
    QSignalSpy spy(w.get(), &MainWindow::machineChangeRequested);
    pick("G01");
    typeAndTab(param(0), QStringLiteral("100"));
    machineChoices = {MachineSetting{MachineType::F1, true}};
    sink.answers = {MsgResult::No};
    action("mnuFmachine")->trigger();
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(state->machine(), MachineType::Mark4);
    EXPECT_EQ(state->settings().type(), QStringLiteral("0"));
    EXPECT_TRUE(w->editor().modified());

    machineChoices = {MachineSetting{MachineType::F1, true}};
    sink.answers = {MsgResult::Yes};
    action("mnuFmachine")->trigger();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(state->machine(), MachineType::F1);
    EXPECT_TRUE(state->woodworker());
    EXPECT_EQ(state->settings().type(), QStringLiteral("1"));
    EXPECT_TRUE(w->close());  // the changing window closes without a question
}

// The code lists: Up and Down move the program line, never the code; the
// other keys move the list's caret; Space chooses.
TEST_F(MainWindowTest, ArrowsInACodeListMoveTheLineAndSpaceChoosesTheCode)
{
    start(MachineType::Mark4);
    openWelle();
    const QByteArray first = lineBytes(1);
    const QByteArray second = lineBytes(2);
    w->editor().programList().ListSetIndex(1);
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
    EXPECT_EQ(lineBytes(1), first);
    EXPECT_FALSE(w->editor().modified());
    QTest::keyClick(gList, Qt::Key_Home);
    QTest::keyClick(gList, Qt::Key_Right);
    QTest::keyClick(gList, Qt::Key_Space);  // the second entry, G01
    EXPECT_EQ(child<QLabel>("lblGcode")->text(), QStringLiteral("G01"));
    EXPECT_EQ(lineBytes(1).mid(4, 5), QByteArray("00 01"));
    EXPECT_EQ(lineBytes(2), second);
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
            if (e.description.contains(QLatin1Char('&'))) {
                EXPECT_TRUE(child<QGroupBox>("fraCode")->title().contains(QStringLiteral("&&")));
            }
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

namespace {

// The procedures of a log, in order: '>' or '<', the depth and the name.
struct TraceLine {
    QChar mark;
    int depth;
    QString procedure;
};

std::vector<TraceLine> traceLines(const QString& logFile)
{
    std::vector<TraceLine> lines;
    const QRegularExpression entry(QStringLiteral("^.{45}( *)([<>]) (\\S+)"));
    for (const QByteArray& raw : fileBytes(logFile).split('\n')) {
        const QRegularExpressionMatch m = entry.match(QString::fromLatin1(raw));
        if (m.hasMatch())
            lines.push_back({m.captured(2).at(0), int(m.captured(1).size()), m.captured(3)});
    }
    return lines;
}

}  // namespace

// A whole session (start, open, edit a line, insert, delete, save, exit) with
// tracing on: every procedure it runs is entered and left, nested as called;
// LogExclude silences exactly the procedures it names; with tracing off
// nothing is written.
TEST_F(MainWindowTest, TraceLogFollowsAWholeSession)
{
    const char* runs[][2] = {{"True", ""}, {"True", "STORE*"}, {"False", ""}};
    std::vector<std::vector<TraceLine>> logs;
    for (const auto& run : runs) {
        SCOPED_TRACE(std::string(run[0]) + " " + run[1]);
        QFile::remove(dir.filePath(QStringLiteral("Quillon.log")));
        logSwitches = [run](const QString& name) -> std::optional<QString> {
            if (name == QLatin1String("LogTrace"))
                return QString::fromLatin1(run[0]);
            if (name == QLatin1String("LogExclude"))
                return QString::fromLatin1(run[1]);
            return std::nullopt;
        };
        start(MachineType::Mark4);
        const QString welle = openWelle();
        w->editor().programList().ListSetIndex(1);
        typeAndTab(param(0), QStringLiteral("1300"));
        button("cmdInsert")->click();
        button("cmdDelete")->click();
        action("mnuFSave")->trigger();
        action("tlbExit")->trigger();
        ASSERT_FALSE(w->isVisible());
        EXPECT_TRUE(fileBytes(welle).contains("    00 00  1300    200"));
        logs.push_back(traceLines(dir.filePath(QStringLiteral("Quillon.log"))));
        w.reset();
    }

    const std::vector<TraceLine>& full = logs[0];
    auto first = [&full](QChar mark, const char* procedure) {
        for (std::size_t i = 0; i < full.size(); ++i)
            if (full[i].mark == mark && full[i].procedure == QLatin1String(procedure))
                return int(i);
        return -1;
    };
    for (const char* p : {"DispatchAction", "OpenFile", "ReadFile", "blnDecodeBuffer", "StoreRow", "MRUAddItem",
                          "DisplayCode", "DisplayFields", "SetParam", "UpdateLine", "blnCheckRange",
                          "txtParam_LostFocus", "cmdInsert_Click", "SetUndo", "blnInsertLine", "cmdDelete_Click",
                          "DeleteLine", "FileSaver", "SaveFile", "strFileOutBuff", "CommandState", "ExitProg",
                          "MRUSaveFileList", "Shutdown"}) {
        EXPECT_GE(first('>', p), 0) << p << " entered";
        EXPECT_GE(first('<', p), 0) << p << " left";
    }
    // Entered and left in the order of the calls, each inner one deeper.
    const int readIn = first('>', "ReadFile"), decodeIn = first('>', "blnDecodeBuffer");
    const int storeIn = first('>', "StoreRow"), decodeOut = first('<', "blnDecodeBuffer");
    EXPECT_TRUE(readIn < decodeIn && decodeIn < storeIn && storeIn < decodeOut && decodeOut < first('<', "ReadFile"));
    EXPECT_LT(full[std::size_t(readIn)].depth, full[std::size_t(decodeIn)].depth);
    EXPECT_LT(full[std::size_t(decodeIn)].depth, full[std::size_t(storeIn)].depth);
    EXPECT_LT(first('>', "FileSaver"), first('>', "SaveFile"));
    EXPECT_LT(first('<', "SaveFile"), first('<', "FileSaver"));
    int balance = 0;
    for (const TraceLine& l : full)
        balance += l.mark == QLatin1Char('>') ? 1 : -1;
    EXPECT_EQ(balance, 0);

    // STORE* takes out StoreRow and nothing else.
    std::set<QString> withoutStore, excluded;
    for (const TraceLine& l : full)
        if (l.procedure != QLatin1String("StoreRow"))
            withoutStore.insert(l.mark + l.procedure);
    for (const TraceLine& l : logs[1])
        excluded.insert(l.mark + l.procedure);
    EXPECT_EQ(excluded, withoutStore);
    EXPECT_TRUE(logs[2].empty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Quillon.log"))));
}

// The commands behind the other menu entries open their dialogs and give the
// commands back; nothing is printed, written or received without the user.
TEST_F(MainWindowTest, MenuCommandsOpenTheirDialogsAndGiveTheCommandsBack)
{
    const QString device = dir.filePath(QStringLiteral("ttyFehlt"));
    start(MachineType::Mark4, QStringLiteral("[Settings]\nComPort=%1\n").arg(device));
    const QString welle = openWelle();
    const QByteArray program = fileBytes(welle);
    std::vector<QString> titles;
    const auto closeIt = [&titles](QWidget* d) {
        titles.push_back(d->windowTitle());
        QTest::keyClick(d, Qt::Key_Escape);
    };

    // No printer here: the PDF is offered instead, and No does nothing.
    sink.boxes.clear();
    action("mnuFPrint")->trigger();
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].message,
              QStringLiteral("Es ist kein Drucker installiert.\r\nSoll das Programm als PDF gespeichert werden?"));
    {
        ModalScript script({closeIt, closeIt, closeIt});
        action("mnuFPreview")->trigger();
        action("mnuFexport")->trigger();  // the target file is asked first; Escape ends the export
        action("mnuHHelp")->trigger();
        EXPECT_EQ(script.handled(), 3u);
    }
    EXPECT_EQ(titles, (std::vector<QString>{"Druckvorschau", "Export zu Spindra", "Quillon - serielles Kabel"}));
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.pdf", "*.txt"}).isEmpty());

    // The listing saved as PDF under the program's name, offered by the dialog.
    {
        ModalScript script({[](QWidget* d) { QMetaObject::invokeMethod(d, "accept"); }});
        action("mnuFPdf")->trigger();
    }
    EXPECT_TRUE(fileBytes(dir.filePath(QStringLiteral("welle.pdf"))).startsWith("%PDF-"));
    EXPECT_TRUE(action("mnuFPdf")->isEnabled());

    // About shows the splash again as its about view.
    SplashWindow splash;
    w->setSplash(&splash);
    {
        ModalScript script({closeIt});
        action("mnuHAbout")->trigger();
        EXPECT_EQ(script.handled(), 1u);
    }
    w->setSplash(nullptr);

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
    EXPECT_EQ(fileBytes(welle), program);
    QMetaObject::invokeMethod(child<QMenu>("mnut"), "aboutToShow");
    // (The entries of the menu before are only deleted later.)
    w->findChildren<QAction*>(QStringLiteral("mnuTPort2")).constLast()->trigger();
    EXPECT_EQ(state->settings().comPort(), QStringLiteral("2"));
    w->CommandState(false);  // as while a command runs
    for (const char* name : {"mnuFOpen", "mnuTReceive", "mnuFPrint", "mnuFPdf", "mnuFexport"})
        EXPECT_FALSE(action(name)->isEnabled()) << name;
}

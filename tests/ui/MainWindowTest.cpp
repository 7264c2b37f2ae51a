#include "ui/HelpWindow.h"
#include "ui/MachineTypeDialog.h"
#include "ui/MainWindow.h"
#include "ui/SplashWindow.h"
#include "ui/StdMessageBox.h"
#include "ui/ListView.h"
#include "ui/MillText.h"

#include "files/Cp1252.h"
#include "model/ProgramLine.h"
#include "shell/ApplicationState.h"
#include "shell/MessageSink.h"

#include "QtPrinters.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QRadioButton>
#include <QTextBrowser>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <set>

using namespace quillon;
using namespace quillon::testing;

// QTRY_* return silently from a GoogleTest body; this records the failure.
#define WAIT_TRUE(cond) ASSERT_TRUE(QTest::qWaitFor([&]() { return bool(cond); }, 3000)) << #cond

namespace {

class RecordingSink : public MessageSink {
public:
    struct Box {
        QString message;
        int style;
        QString title;
    };
    std::vector<Box> boxes;
    std::deque<int> answers;
    int intStdMsgBox(const QString& message, int style, const QString& title) override
    {
        boxes.push_back({message, style, title});
        if (!answers.empty()) {
            const int a = answers.front();
            answers.pop_front();
            return a;
        }
        return style == MsgStyle::Question ? MsgResult::No : MsgResult::Ok;
    }
};

// Types any characters, also those QTest::keyClicks has no key for.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

class MainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<ApplicationState> state;
    RecordingSink sink;
    std::unique_ptr<MainWindow> w;
    std::deque<QString> chosenFiles;  // what the file dialog answers; "" = cancel
    std::vector<QString> dialogTitles;
    int notices = 0;
    bool tickNotice = false;
    std::deque<MachineSetting> machineChoices;
    LogEnvironment logSwitches;  // none: the log switches stay at their defaults

    void start(MachineType machine, const QString& settings = QString())
    {
        state = makeTestState(dir, machine, settings, logSwitches);
        state->recentFiles().MRUGetFileList(state->settings());
        w = std::make_unique<MainWindow>(*state, sink);
        w->setFileDialog([this](const QString& title, bool, const QString&) {
            dialogTitles.push_back(title);
            if (chosenFiles.empty())
                return QString();
            const QString f = chosenFiles.front();
            chosenFiles.pop_front();
            return f;
        });
        w->setOpenNotice([this]() {
            ++notices;
            return tickNotice;
        });
        w->setMachineChooser([this](MachineType, bool) -> std::optional<MachineSetting> {
            if (machineChoices.empty())
                return std::nullopt;
            const MachineSetting m = machineChoices.front();
            machineChoices.pop_front();
            return m;
        });
        showWithNewProgram(*w);
    }

    template <typename T>
    T* child(const char* name) const
    {
        T* c = w->findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(c) << name;
        return c;
    }
    QLineEdit* param(int k) const { return child<QLineEdit>(qPrintable(QStringLiteral("txtParam%1").arg(k))); }
    QLabel* paramLabel(int k) const { return child<QLabel>(qPrintable(QStringLiteral("lblParam%1").arg(k))); }
    QLineEdit* comment() const { return child<QLineEdit>("txtComment"); }

    // Clicks the table entry of `code` in the G or M list, as the user does.
    void pick(const char* code)
    {
        const QString c = QString::fromLatin1(code);
        ListView* view = child<ListView>(c.startsWith('M') ? "picMcode" : "picGcode");
        ListControl* list = view->control();
        for (int i = 1; i <= list->count(); ++i) {
            if (list->item(i).column(1) == c && list->item(i).colour != kListBlue) {
                if (!list->isVisible(i))
                    list->ListSetTop(i);
                QTest::mouseClick(view, Qt::LeftButton, {}, view->rowRect(i - list->state().topIndex).center());
                return;
            }
        }
        ADD_FAILURE() << "no code " << code;
    }
    // Types into the field that has the focus and leaves it with Tab.
    void typeAndTab(QLineEdit* field, const QString& text)
    {
        WAIT_TRUE(field->hasFocus());
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
    }
    QByteArray lineBytes(int r) const
    {
        return encodeCp1252(programLineText(w->editor().row(r), w->editor().machine())).bytes;
    }
    bool visibleFields(std::initializer_list<int> shown) const
    {
        for (int k = 0; k < 5; ++k) {
            const bool want = std::find(shown.begin(), shown.end(), k) != shown.end();
            if (param(k)->isVisible() != want || paramLabel(k)->isVisible() != want)
                return false;
        }
        return true;
    }
    QAction* action(const char* name) const { return child<QAction>(name); }
};

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
        EXPECT_GE(w->width(), 640);
        EXPECT_GE(w->height(), 480);
        EXPECT_EQ(child<ListView>("picList")->control()->state().columnCount, c.programColumns);
        EXPECT_EQ(child<ListView>("picMcode")->isVisible(), c.mList);
        EXPECT_EQ(w->editor().rowCount(), 1);
        EXPECT_TRUE(visibleFields({}));
        EXPECT_TRUE(child<QLabel>("lblGcode")->styleSheet().contains("FFFF00"));
        EXPECT_FALSE(comment()->isEnabled());
        EXPECT_FALSE(child<QPushButton>("cmdInsert")->isEnabled());
        EXPECT_FALSE(child<QPushButton>("cmdDelete")->isEnabled());
        EXPECT_FALSE(child<QPushButton>("cmdUndo")->isEnabled());
        EXPECT_FALSE(action("mnuEUndo")->isEnabled());
        EXPECT_TRUE(action("mnuFSave")->isEnabled());
        EXPECT_TRUE(action("mnuFSaveAs")->isEnabled());
        EXPECT_TRUE(action("tlbSave")->isEnabled());
        EXPECT_EQ(action("mnuFSave")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        EXPECT_EQ(action("mnuFSaveAs")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
        EXPECT_TRUE(action("mnuEMetric")->isChecked());
        EXPECT_EQ(child<QLabel>("lblUnits")->text(), QStringLiteral("Metrisches Meßsystem"));
        EXPECT_EQ(child<QGroupBox>("fraCode")->title().trimmed(),
                  c.mList ? QStringLiteral("Bitte G-Code oder M-Code auswählen") : QStringLiteral("Bitte G-Code auswählen"));
        w->close();
    }
}

TEST_F(MainWindowTest, Mark4LineEnteredByMouseAndKeysIsStoredByteForByte)
{
    start(MachineType::Mark4);
    pick("G01");
    EXPECT_EQ(child<QLabel>("lblGcode")->text(), QStringLiteral("G01"));
    EXPECT_TRUE(child<QGroupBox>("fraCode")->title().contains("Geradeninterpolation"));
    EXPECT_TRUE(visibleFields({0, 2, 3}));
    EXPECT_EQ(paramLabel(0)->text(), QStringLiteral("X"));
    EXPECT_EQ(paramLabel(2)->text(), QStringLiteral("Z"));
    EXPECT_EQ(paramLabel(3)->text(), QStringLiteral("F"));
    // The lathe's Z field closes the gap of the Y field it never uses.
    EXPECT_EQ(param(2)->x() - param(0)->x(), param(3)->x() - param(2)->x());
    EXPECT_TRUE(comment()->isEnabled());

    // Letters and points are not taken.
    WAIT_TRUE(param(0)->hasFocus());
    param(0)->selectAll();
    QTest::keyClicks(param(0), "1a2.5x0");
    EXPECT_EQ(param(0)->text(), QStringLiteral("1250"));
    QTest::keyClick(param(0), Qt::Key_Tab);
    typeAndTab(param(2), QStringLiteral("-500"));

    // F = 500 is refused with the exact message; the focus comes back.
    typeAndTab(param(3), QStringLiteral("500"));
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].message, QStringLiteral("Der maximalwert für diesen Parameter ist 499"));
    EXPECT_EQ(sink.boxes[0].style, 48);
    EXPECT_EQ(sink.boxes[0].title, QStringLiteral("Parameter Eingabe (metric einheiten)"));
    WAIT_TRUE(param(3)->hasFocus());
    WAIT_TRUE(param(3)->selectedText() == QStringLiteral("500"));  // typing replaces the refused value
    EXPECT_EQ(w->editor().row(1).column(6), QStringLiteral("    "));

    typeAndTab(param(3), QStringLiteral("100"));
    EXPECT_EQ(sink.boxes.size(), 1u);
    WAIT_TRUE(comment()->hasFocus());
    QTest::keyClicks(comment(), QStringLiteral("Schlichten"));
    QTest::keyClick(comment(), Qt::Key_Return);

    ASSERT_EQ(w->editor().rowCount(), 2);
    EXPECT_EQ(lineBytes(1), QByteArray("    00 01  1250 -  500 100     Schlichten"));
    EXPECT_EQ(w->editor().row(2).column(2), QStringLiteral(" 01"));
    EXPECT_EQ(child<QLabel>("lblLine1")->text(), QStringLiteral("01"));
    EXPECT_TRUE(child<QPushButton>("cmdDelete")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("cmdInsert")->isEnabled());
    EXPECT_TRUE(w->editor().modified());

    // Enter in the comment with an F never left below its minimum: refused.
    pick("G33");
    EXPECT_TRUE(child<QLabel>("lblFpar")->isVisible());
    EXPECT_EQ(child<QLabel>("lblFpar")->text(), QStringLiteral("K"));
    WAIT_TRUE(param(2)->hasFocus());
    param(2)->selectAll();
    QTest::keyClicks(param(2), "-800");
    comment()->setFocus();
    WAIT_TRUE(comment()->hasFocus());
    QTest::keyClick(comment(), Qt::Key_Return);
    ASSERT_EQ(sink.boxes.size(), 2u);
    EXPECT_EQ(sink.boxes[1].message, QStringLiteral("Der mindest Wert für diesen Parameter ist 2"));
    WAIT_TRUE(param(3)->hasFocus());
    EXPECT_EQ(w->editor().rowCount(), 2);
    typeAndTab(param(3), QStringLiteral("150"));
    WAIT_TRUE(comment()->hasFocus());
    QTest::keyClick(comment(), Qt::Key_Return);
    ASSERT_EQ(w->editor().rowCount(), 3);
    EXPECT_EQ(lineBytes(2), QByteArray("    01 33       -  800K150     "));

    // A code chosen in one list clears the other's selection.
    pick("M03");
    EXPECT_EQ(child<ListView>("picGcode")->control()->state().listIndex, 0);
    child<ListView>("picGcode")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(child<ListView>("picMcode")->control()->state().listIndex, 0);

    // M30 ends the entry.
    pick("M30");
    WAIT_TRUE(comment()->hasFocus());
    QTest::keyClick(comment(), Qt::Key_Return);
    EXPECT_EQ(w->editor().rowCount(), 3);
    EXPECT_FALSE(child<ListView>("picGcode")->isEnabled());
    EXPECT_FALSE(comment()->isEnabled());
    EXPECT_EQ(w->editor().programList().state().listIndex, 0);
}

TEST_F(MainWindowTest, UndoAfterEditingAShownLine)
{
    start(MachineType::Mark4);
    pick("G00");
    typeAndTab(param(0), QStringLiteral("100"));
    typeAndTab(param(2), QStringLiteral("200"));
    WAIT_TRUE(comment()->hasFocus());
    QTest::keyClick(comment(), Qt::Key_Return);
    pick("M30");
    WAIT_TRUE(comment()->hasFocus());
    QTest::keyClick(comment(), Qt::Key_Return);
    const QByteArray before = lineBytes(1);

    ListView* list = child<ListView>("picList");
    QTest::mouseClick(list, Qt::LeftButton, {}, list->rowRect(0).center());
    EXPECT_EQ(w->editor().currentRow(), 1);
    EXPECT_TRUE(child<ListView>("picGcode")->isEnabled());
    typeAndTab(param(0), QStringLiteral("4444"));
    QPushButton* undo = child<QPushButton>("cmdUndo");
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_TRUE(action("mnuEUndo")->isEnabled());
    EXPECT_EQ(undo->toolTip(), QStringLiteral("Wiederherstellen der editierten Zeile"));
    EXPECT_NE(lineBytes(1), before);
    QTest::mouseClick(undo, Qt::LeftButton);
    EXPECT_EQ(lineBytes(1), before);
    EXPECT_EQ(param(0)->text(), QStringLiteral("100"));
    EXPECT_TRUE(child<QPushButton>("cmdRedo")->isEnabled());
    action("mnuERedo")->trigger();
    EXPECT_EQ(param(0)->text(), QStringLiteral("4444"));
    EXPECT_FALSE(child<QPushButton>("cmdRedo")->isEnabled());
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
    EXPECT_TRUE(isCp1252Encodable(w->editor().description()));
}

TEST_F(MainWindowTest, CommandsNoticesQuestionsAndWindowSize)
{
    start(MachineType::Mark4);
    // Copying switches the other commands off but leaves Copy itself alone.
    action("tlbCopy")->trigger();
    EXPECT_TRUE(w->editor().flags().copyMode);
    EXPECT_TRUE(action("tlbCopy")->isEnabled());
    EXPECT_FALSE(action("tlbOpen")->isEnabled());
    child<QPushButton>("cmdCancel")->click();
    EXPECT_FALSE(w->editor().flags().copyMode);
    EXPECT_TRUE(action("tlbOpen")->isEnabled());
    sink.boxes.clear();

    // Sending first asks whether the tool offsets are valid; No sends nothing
    // and gives the commands back.
    for (const char* name : {"tlbSend", "mnuTSend"}) {
        sink.boxes.clear();
        sink.answers = {MsgResult::No};
        action(name)->trigger();
        ASSERT_EQ(sink.boxes.size(), 1u) << name;
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

    // Imperial units from the menu: label, check marks and the setting.
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
    QTest::keyClick(param(0), Qt::Key_Return);
    WAIT_TRUE(param(1)->hasFocus());
    QTest::keyClick(param(1), Qt::Key_Return);
    WAIT_TRUE(param(2)->hasFocus());
    QTest::keyClick(param(2), Qt::Key_Return);  // no F for G00: on to the comment
    WAIT_TRUE(comment()->hasFocus());
    QTest::keyClick(comment(), Qt::Key_Return);
    pick("G90");
    WAIT_TRUE(comment()->hasFocus());
    QTest::keyClick(comment(), Qt::Key_Return);
    ASSERT_EQ(w->editor().rowCount(), 3);
    EXPECT_EQ(lineBytes(1), QByteArray("    00 00    10   00    00     "));

    QTest::keyClick(comment(), Qt::Key_Up);
    EXPECT_EQ(w->editor().currentRow(), 2);
    EXPECT_EQ(child<QLabel>("lblGcode")->text(), QStringLiteral("G90"));
    QTest::keyClick(child<QPushButton>("cmdDelete"), Qt::Key_Up);
    EXPECT_EQ(w->editor().currentRow(), 1);
    EXPECT_EQ(param(0)->text(), QStringLiteral("10"));
    // A value typed before Down is stored, as leaving the field would; a
    // refused one keeps the line where it is.
    param(0)->setFocus();
    WAIT_TRUE(param(0)->hasFocus());
    param(0)->selectAll();
    QTest::keyClicks(param(0), "77");
    QTest::keyClick(param(0), Qt::Key_Down);
    EXPECT_EQ(w->editor().currentRow(), 2);
    EXPECT_EQ(w->editor().row(1).column(4), QStringLiteral("    77"));
    QTest::keyClick(param(0), Qt::Key_Up);
    param(0)->setFocus();
    WAIT_TRUE(param(0)->hasFocus());
    param(0)->selectAll();
    QTest::keyClicks(param(0), "99999");
    QTest::keyClick(param(0), Qt::Key_Down);
    EXPECT_EQ(w->editor().currentRow(), 1);
    ASSERT_FALSE(sink.boxes.empty());
    EXPECT_EQ(sink.boxes.back().message, QStringLiteral("Der maximalwert für diesen Parameter ist 19999"));
    EXPECT_EQ(w->editor().row(1).column(4), QStringLiteral("    77"));

    // The description keeps Up and Down for its own lines.
    auto* notes = child<QPlainTextEdit>("txtNotes");
    notes->setFocus();
    QTest::keyClick(notes, Qt::Key_Down);
    EXPECT_EQ(w->editor().currentRow(), 1);
}

TEST_F(MainWindowTest, HAlarmRefusesTheNextLineAndFocusesH)
{
    start(MachineType::Mark4);
    pick("G84");
    typeAndTab(param(0), QStringLiteral("100"));
    typeAndTab(param(2), QStringLiteral("-2000"));
    typeAndTab(param(3), QStringLiteral("50"));
    typeAndTab(param(4), QStringLiteral("150"));
    WAIT_TRUE(comment()->hasFocus());
    QTest::keyClick(comment(), Qt::Key_Return);
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].message, QStringLiteral("G84: der 'H' Wert darf nicht größer sein als der X-Wert"));
    EXPECT_EQ(w->editor().rowCount(), 1);
    WAIT_TRUE(param(4)->hasFocus());  // after tmrSetFocus
    EXPECT_EQ(param(4)->selectedText(), QStringLiteral("150"));
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
    QFile f(dir.filePath(files[0]));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("    00 01  1250                \r\n"));
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

TEST(SplashWindowTest, MachineTextsVersionAndTheAboutView)
{
    SplashWindow splash;
    splash.setMachine(MachineType::F1);
    EXPECT_EQ(splash.findChild<QLabel*>("lblTitle")->text(), QStringLiteral("Quillon für EMCO F1 Fräsmaschine"));
    EXPECT_EQ(splash.findChild<QLabel*>("lblModel")->text(), QStringLiteral("CPU - F1A114001"));
    EXPECT_EQ(splash.findChild<QLabel*>("lblVersion")->text(), QStringLiteral("Version 1.0.21"));
    splash.setMachine(MachineType::Mark4);
    EXPECT_EQ(splash.findChild<QLabel*>("lblModel")->text(), QStringLiteral("CPU - A6C114004"));
    EXPECT_FALSE(splash.findChild<QLabel*>("imgMill")->isVisibleTo(&splash));
    EXPECT_TRUE(splash.findChild<QLabel*>("imgLathe")->isVisibleTo(&splash));
    const int height = splash.height();
    splash.show();
    splash.startTimer();
    WAIT_TRUE(!splash.isVisible());
    const int ok = splash.findChild<QPushButton*>("cmdOk")->height();
    EXPECT_GE(splash.height(), height + ok);  // the OK button is uncovered for the about view
    EXPECT_FALSE(splash.timerActive());
}

TEST_F(MainWindowTest, FirstCommandClosesTheSplashAndHelpIsGerman)
{
    start(MachineType::Mark4);
    SplashWindow splash;
    splash.show();
    splash.startTimer();
    w->setSplash(&splash);
    const int height = splash.height();
    action("tlbNew")->trigger();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.timerActive());
    EXPECT_GT(splash.height(), height);  // the about view keeps its OK button
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
        EXPECT_EQ(messages.intStdMsgBox(QStringLiteral("Text"), c.style, QString()), c.answer) << c.style;
        EXPECT_EQ(icon, c.icon) << c.style;
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

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

namespace {

QByteArray testData(const char* name)
{
    QFile f(QString::fromLocal8Bit(qgetenv("QUILLON_TEST_DATA")) + QLatin1Char('/') + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

}  // namespace

TEST_F(MainWindowTest, FileMenuOpensSavesListsRecentFilesAndAsksOnExit)
{
    // Keys 00 to 05 stored: four entries, key 00 on top.
    QString ini = QStringLiteral("[Settings]\n");
    for (int i = 0; i < 6; ++i)
        ini += QStringLiteral("MRUFile0%1=%2\n").arg(i).arg(dir.filePath(QStringLiteral("alt%1.cnc").arg(i)));
    start(MachineType::Mark4, ini);
    for (int i = 0; i < 4; ++i) {
        QAction* a = action(qPrintable(QStringLiteral("mnuFmru%1").arg(i)));
        EXPECT_EQ(a->text(), QStringLiteral("&%1 %2").arg(i + 1).arg(dir.filePath(QStringLiteral("alt%1.cnc").arg(i))));
    }
    EXPECT_FALSE(w->findChild<QAction*>(QStringLiteral("mnuFmru4")));

    const QString title = machineProfile(MachineType::Mark4).title;
    const QString welle = writeFile(dir.filePath(QStringLiteral("welle.cnc")), testData("mark4-welle.cnc"));
    chosenFiles = {welle};
    action("mnuFOpen")->trigger();
    EXPECT_EQ(dialogTitles.back(), QStringLiteral("Datei auswählen"));
    EXPECT_EQ(w->windowTitle(), title + QStringLiteral(" (") + welle + QLatin1Char(')'));
    EXPECT_EQ(notices, 1);
    EXPECT_GT(w->editor().rowCount(), 1);
    EXPECT_EQ(action("mnuFmru0")->text(), QStringLiteral("&1 ") + welle);
    EXPECT_EQ(action("mnuFmru1")->text(), QStringLiteral("&2 ") + dir.filePath(QStringLiteral("alt0.cnc")));
    EXPECT_TRUE(action("mnuFOpen")->isEnabled());

    // Save As writes the very bytes that were read.
    const QString copy = dir.filePath(QStringLiteral("kopie.cnc"));
    chosenFiles = {copy};
    action("mnuFSaveAs")->trigger();
    EXPECT_EQ(fileBytes(copy), testData("mark4-welle.cnc"));
    EXPECT_EQ(w->windowTitle(), title + QStringLiteral(" (") + copy + QLatin1Char(')'));
    EXPECT_EQ(action("mnuFmru0")->text(), QStringLiteral("&1 ") + copy);

    // Delete is a change: the recent file asks first, and No keeps the program.
    const int rows = w->editor().rowCount();
    child<QPushButton>("cmdDelete")->click();
    EXPECT_EQ(w->editor().rowCount(), rows - 1);
    EXPECT_TRUE(w->editor().modified());
    sink.boxes.clear();
    action("mnuFmru1")->trigger();
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_TRUE(sink.boxes[0].message.endsWith(QStringLiteral("ein anderes Programm öffnen wollen?")));
    EXPECT_EQ(w->editor().rowCount(), rows - 1);

    // Undo brings the line back; Save writes without a dialog.
    child<QPushButton>("cmdUndo")->click();
    EXPECT_EQ(w->editor().rowCount(), rows);
    const std::size_t dialogs = dialogTitles.size();
    action("mnuFSave")->trigger();
    EXPECT_EQ(dialogTitles.size(), dialogs);
    EXPECT_EQ(fileBytes(copy), testData("mark4-welle.cnc"));

    // Five files opened in turn leave four entries, the last on top.
    for (int i = 0; i < 5; ++i)
        chosenFiles.push_back(writeFile(dir.filePath(QStringLiteral("f%1.cnc").arg(i)), testData("mark4-welle.cnc")));
    for (int i = 0; i < 5; ++i)
        action("mnuFOpen")->trigger();
    EXPECT_EQ(action("mnuFmru0")->text(), QStringLiteral("&1 ") + dir.filePath(QStringLiteral("f4.cnc")));
    EXPECT_EQ(action("mnuFmru3")->text(), QStringLiteral("&4 ") + dir.filePath(QStringLiteral("f1.cnc")));
    EXPECT_FALSE(w->findChild<QAction*>(QStringLiteral("mnuFmru4")));

    // Exit after a delete asks; No keeps the window, Yes ends with the list stored.
    child<QPushButton>("cmdDelete")->click();
    sink.boxes.clear();
    action("mnuFExit")->trigger();
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_TRUE(sink.boxes[0].message.endsWith(QStringLiteral("das Programm schließen wollen?")));
    EXPECT_TRUE(w->isVisible());
    sink.answers = {MsgResult::Yes};
    action("tlbExit")->trigger();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(state->settings().mruFile(0), dir.filePath(QStringLiteral("f4.cnc")));
}

TEST_F(MainWindowTest, CopyPanelWalksThroughMarkingEnteringAndCopying)
{
    start(MachineType::Mark4);
    const QString welle = writeFile(dir.filePath(QStringLiteral("welle.cnc")), testData("mark4-welle.cnc"));
    chosenFiles = {welle};
    action("mnuFOpen")->trigger();
    const int rows = w->editor().rowCount();
    ASSERT_GE(rows, 3);
    action("mnuECopy")->trigger();
    EXPECT_TRUE(child<QLabel>("lblMark2")->isVisible());
    EXPECT_TRUE(child<QLabel>("lblMark2")->text().startsWith(QStringLiteral("Markieren Sie jede Programmzeilen")));
    EXPECT_FALSE(child<QGroupBox>("fraCode")->isVisible());
    EXPECT_FALSE(child<QWidget>("picInsert")->isVisible());
    EXPECT_FALSE(action("mnuFOpen")->isEnabled());
    EXPECT_FALSE(child<ListView>("picGcode")->isEnabled());
    w->editor().programList().ListClickItem(2);
    child<QPushButton>("cmdNext")->click();
    EXPECT_TRUE(child<QWidget>("picInsert")->isVisible());
    auto* insert = child<QLineEdit>("txtInsert");
    auto* copies = child<QLineEdit>("txtCopies");
    EXPECT_EQ(copies->text(), QStringLiteral("1"));
    copies->setFocus();
    copies->selectAll();
    QTest::keyClick(copies, Qt::Key_Backspace);
    EXPECT_FALSE(child<QPushButton>("cmdNext")->isEnabled());
    QTest::keyClicks(copies, QStringLiteral("x3"));  // letters are swallowed
    EXPECT_EQ(copies->text(), QStringLiteral("3"));
    EXPECT_TRUE(child<QPushButton>("cmdNext")->isEnabled());
    insert->setFocus();
    insert->selectAll();
    QTest::keyClicks(insert, QStringLiteral("999"));
    EXPECT_EQ(insert->text(), w->editor().insertText());
    child<QPushButton>("cmdNext")->click();
    EXPECT_EQ(w->editor().rowCount(), rows + 3);
    EXPECT_TRUE(child<QGroupBox>("fraCode")->isVisible());
    EXPECT_FALSE(child<QLabel>("lblMark2")->isVisible());
    EXPECT_TRUE(action("mnuFOpen")->isEnabled());
    EXPECT_EQ(w->editor().row(rows + 1).column(1), QStringLiteral(">"));
    EXPECT_TRUE(w->editor().modified());
}

TEST_F(MainWindowTest, MachineChangeAsksAndHandsOverToANewWindow)
{
    start(MachineType::Mark4);
    QSignalSpy spy(w.get(), &MainWindow::machineChangeRequested);
    pick("G01");
    WAIT_TRUE(param(0)->hasFocus());
    typeAndTab(param(0), QStringLiteral("100"));
    ASSERT_TRUE(w->editor().modified());
    const int rows = w->editor().rowCount();
    machineChoices = {MachineSetting{MachineType::F1, true}};
    sink.answers = {MsgResult::No};
    action("mnuFmachine")->trigger();
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(state->machine(), MachineType::Mark4);
    EXPECT_EQ(state->settings().type(), QStringLiteral("0"));
    EXPECT_EQ(w->editor().rowCount(), rows);
    EXPECT_TRUE(w->editor().modified());

    machineChoices = {MachineSetting{MachineType::F1, true}};
    sink.answers = {MsgResult::Yes};
    action("mnuFmachine")->trigger();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(state->machine(), MachineType::F1);
    EXPECT_TRUE(state->woodworker());
    EXPECT_EQ(state->settings().type(), QStringLiteral("1"));
    EXPECT_TRUE(w->close());  // the changing window closes without a question

    // The window built next has the mill's tables and layout.
    MainWindow next(*state, sink);
    EXPECT_EQ(next.editor().machine(), MachineType::F1);
    EXPECT_EQ(next.findChild<ListView*>(QStringLiteral("picList"))->control()->state().columnCount, 8);
}

TEST_F(MainWindowTest, FileFromTheCommandLineOpensOnlyForItsMachine)
{
    start(MachineType::Mark4);
    const QString title = machineProfile(MachineType::Mark4).title;
    const QString welle = writeFile(dir.filePath(QStringLiteral("welle.cnc")), testData("mark4-welle.cnc"));
    QDir::setCurrent(dir.path());
    w->openAtStart(QStringLiteral("welle.cnc"));  // relative to the working folder
    EXPECT_EQ(w->windowTitle(), title + QStringLiteral(" (") + welle + QLatin1Char(')'));
    EXPECT_EQ(action("mnuFmru0")->text(), QStringLiteral("&1 ") + welle);
    EXPECT_EQ(notices, 1);

    const QString mill = writeFile(dir.filePath(QStringLiteral("tasche.cnc")), testData("f1-tasche.cnc"));
    sink.boxes.clear();
    w->openAtStart(mill);
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].title, QStringLiteral("Dekodiere Daten"));
    EXPECT_EQ(w->windowTitle(), title + QStringLiteral(" (unbenannt)"));
    EXPECT_EQ(w->editor().rowCount(), 1);
    EXPECT_TRUE(w->files().fileName().isEmpty());
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
    {MachineType::Mark4, "", "G01", "X|Z|F", {{0, "1250"}, {2, "-500"}, {3, "100"}}, 3, "500",
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
        QStringList captions;
        for (int k = 0; k < 5; ++k)
            if (param(k)->isVisible())
                captions << paramLabel(k)->text();
        EXPECT_EQ(captions.join(QLatin1Char('|')), QString::fromUtf8(t.captions));
        if (t.machine == MachineType::F1) {  // the mill keeps the Y place
            EXPECT_EQ(param(1)->x() - param(0)->x(), param(2)->x() - param(1)->x());
        }
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
        QTest::keyClicks(comment(), QString::fromLatin1(t.commentText));
        QTest::keyClick(comment(), Qt::Key_Return);
        ASSERT_EQ(lineBytes(1), t.bytes);
        // The next line waits for its code: keys go to the G list, never into
        // the description, and the form is back to its height without fields.
        WAIT_TRUE(child<ListView>("picGcode")->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_5);
        EXPECT_TRUE(child<QPlainTextEdit>("txtNotes")->toPlainText().isEmpty());
        EXPECT_EQ(child<QGroupBox>("fraCode")->height(), formHeight);

        const QString first = dir.filePath(QStringLiteral("erst%1.cnc").arg(machineNumber(t.machine)));
        chosenFiles = {first};
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        ASSERT_TRUE(QFile::exists(first));
        EXPECT_TRUE(fileBytes(first).contains(t.bytes + "\r\n"));
        EXPECT_FALSE(w->editor().modified());

        const QString second = dir.filePath(QStringLiteral("zweit%1.cnc").arg(machineNumber(t.machine)));
        chosenFiles = {second};
        w->editor().programList().ListSetIndex(1);
        WAIT_TRUE(QApplication::focusWidget() == param(t.values.front().first));
        QTest::keyClick(param(t.values.front().first), Qt::Key_A, Qt::ControlModifier);
        ASSERT_TRUE(QFile::exists(second)) << "Ctrl+A in a field";
        EXPECT_EQ(fileBytes(second), fileBytes(first));
        w->close();
    }
}

// Copying by keyboard from wherever the focus was: the keys mark lines in the
// program list, the description stays as it was, and Undo and Redo take the
// copies out and put them back as one step.
TEST_F(MainWindowTest, LinesCopiedByKeysAreOneUndoStep)
{
    start(MachineType::Mark4, QStringLiteral("[Settings]\nMRUFile00=%1\n").arg(dir.filePath("alt.cnc")));
    const QString welle = writeFile(dir.filePath(QStringLiteral("welle.cnc")), testData("mark4-welle.cnc"));
    chosenFiles = {welle};
    action("mnuFOpen")->trigger();
    const int rows = w->editor().rowCount();
    std::vector<QByteArray> before;
    for (int r = 1; r <= rows; ++r)
        before.push_back(lineBytes(r));
    auto* notes = child<QPlainTextEdit>("txtNotes");
    const QString description = notes->toPlainText();
    child<QPushButton>("cmdDelete")->click();  // a step before the copy
    ASSERT_EQ(w->editor().rowCount(), rows - 1);
    child<QPushButton>("cmdUndo")->click();
    ASSERT_EQ(w->editor().rowCount(), rows);

    action("tlbCopy")->trigger();
    // Keys typed into the description while copying reach the program list.
    notes->setFocus();
    WAIT_TRUE(notes->hasFocus());
    for (const char* name : {"mnuEUndo", "mnuERedo", "mnuFmru0", "mnuECopy", "mnuFOpen"})
        EXPECT_FALSE(action(name)->isEnabled()) << name;
    EXPECT_FALSE(child<QPushButton>("cmdUndo")->isEnabled());
    // Home, Space on the first line, Down, Space on the second.
    // Through the window, as the window system delivers them.
    for (int key : {int(Qt::Key_Home), int(Qt::Key_Space), int(Qt::Key_Down), int(Qt::Key_Space)})
        QTest::keyClick(w->windowHandle(), Qt::Key(key));
    EXPECT_EQ(notes->toPlainText(), description);
    for (const char* name : {"cmdDelete", "cmdInsert", "cmdUndo"})
        EXPECT_FALSE(child<QPushButton>(name)->isEnabled()) << name;
    ASSERT_TRUE(w->editor().programList().item(1).marked);
    ASSERT_TRUE(w->editor().programList().item(2).marked);
    child<QPushButton>("cmdNext")->click();
    child<QPushButton>("cmdNext")->click();
    ASSERT_EQ(w->editor().rowCount(), rows + 2);
    EXPECT_EQ(lineBytes(rows + 1).mid(6), before[0].mid(6));
    EXPECT_EQ(lineBytes(rows + 2).mid(6), before[1].mid(6));
    EXPECT_TRUE(action("mnuFmru0")->isEnabled());

    child<QPushButton>("cmdUndo")->click();
    ASSERT_EQ(w->editor().rowCount(), rows);
    for (int r = 1; r <= rows; ++r)
        EXPECT_EQ(lineBytes(r), before[std::size_t(r - 1)]) << r;
    child<QPushButton>("cmdRedo")->click();
    ASSERT_EQ(w->editor().rowCount(), rows + 2);
    EXPECT_EQ(lineBytes(rows + 2).mid(6), before[1].mid(6));

    // Saved, the file holds the program with its copies.
    chosenFiles = {dir.filePath(QStringLiteral("kopiert.cnc"))};
    action("mnuFSaveAs")->trigger();
    const QByteArray saved = fileBytes(dir.filePath(QStringLiteral("kopiert.cnc")));
    EXPECT_TRUE(saved.startsWith("Welle"));
    EXPECT_TRUE(saved.contains(QByteArray("\r\n") + lineBytes(rows + 2) + "\r\n   M\r\n"));
}

// The code lists: Up and Down move the program line, never the code; the
// other keys move the list's caret; Space chooses.
TEST_F(MainWindowTest, ArrowsInACodeListMoveTheLineAndSpaceChoosesTheCode)
{
    start(MachineType::Mark4);
    const QString welle = writeFile(dir.filePath(QStringLiteral("welle.cnc")), testData("mark4-welle.cnc"));
    chosenFiles = {welle};
    action("mnuFOpen")->trigger();
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
    EXPECT_EQ(lineBytes(2), second);
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
        const CodeTables& tables = w->editor().tables();
        for (const CodeEntry& e : tables.codes()) {
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
                for (const QRect& r : taken) {
                    EXPECT_FALSE(r.intersects(param(k)->geometry())) << k;
                    EXPECT_FALSE(r.intersects(caption->geometry())) << k;
                }
                taken << param(k)->geometry() << caption->geometry();
                EXPECT_LE(param(k)->geometry().right(), child<QGroupBox>("fraCode")->width());
            }
            // Tab from the first field runs through visible fields only.
            QWidget* f = QApplication::focusWidget();
            for (int i = 0; i < 6 && f; ++i) {
                EXPECT_TRUE(f->isVisible()) << f->objectName().toStdString();
                QTest::keyClick(f, Qt::Key_Tab);
                f = QApplication::focusWidget();
                if (f == comment())
                    break;
            }
            if (e.description.contains(QLatin1Char('&'))) {
                EXPECT_TRUE(child<QGroupBox>("fraCode")->title().contains(QStringLiteral("&&")));
            }
        }
        // The copy instructions fit at this size too.
        action("mnuECopy")->trigger();
        auto* mark2 = child<QLabel>("lblMark2");
        EXPECT_GE(mark2->height(), mark2->heightForWidth(mark2->width()));
        child<QPushButton>("cmdCancel")->click();
        // The code lists' description column follows the width both ways.
        w->showMaximized();
        QApplication::processEvents();
        w->showNormal();
        w->resize(640, 480);
        QApplication::processEvents();
        auto* gList = child<ListView>("picGcode");
        EXPECT_LE(gList->control()->totalWidth(), gList->width());
        w->close();
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
    QFile f(logFile);
    if (!f.open(QIODevice::ReadOnly))
        return lines;
    const QRegularExpression entry(QStringLiteral("^.{45}( *)([<>]) (\\S+)"));
    for (const QByteArray& raw : f.readAll().split('\n')) {
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
    struct Run {
        const char* trace;
        const char* exclude;
    } runs[] = {{"True", ""}, {"True", "STORE*"}, {"False", ""}};
    std::vector<std::vector<TraceLine>> logs;
    for (const Run& run : runs) {
        SCOPED_TRACE(std::string(run.trace) + " " + run.exclude);
        QFile::remove(dir.filePath(QStringLiteral("Quillon.log")));
        logSwitches = [run](const QString& name) -> std::optional<QString> {
            if (name == QLatin1String("LogTrace"))
                return QString::fromLatin1(run.trace);
            if (name == QLatin1String("LogExclude"))
                return QString::fromLatin1(run.exclude);
            return std::nullopt;
        };
        start(MachineType::Mark4);
        const QString welle = writeFile(dir.filePath(QStringLiteral("welle.cnc")), testData("mark4-welle.cnc"));
        chosenFiles = {welle};
        action("mnuFOpen")->trigger();
        w->editor().programList().ListSetIndex(1);
        typeAndTab(param(0), QStringLiteral("1300"));
        child<QPushButton>("cmdInsert")->click();
        child<QPushButton>("cmdDelete")->click();
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
    EXPECT_LT(readIn, decodeIn);
    EXPECT_LT(decodeIn, storeIn);
    EXPECT_LT(storeIn, decodeOut);
    EXPECT_LT(decodeOut, first('<', "ReadFile"));
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

TEST_F(MainWindowTest, FileMenuSavesTheListingAsPdf)
{
    start(MachineType::Mark4);
    const QString welle = writeFile(dir.filePath(QStringLiteral("welle.cnc")), testData("mark4-welle.cnc"));
    w->openAtStart(welle);
    ASSERT_EQ(w->files().fileName(), welle);
    QAction* pdf = action("mnuFPdf");
    ASSERT_TRUE(pdf);
    EXPECT_EQ(pdf->text(), QStringLiteral("Als PDF speichern ..."));
    EXPECT_TRUE(child<QMenu>("mnuF")->actions().contains(pdf));

    // The dialog offers the program's name with ".pdf", taken as it is.
    QString offered;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            poll.stop();
            offered = files->selectedFiles().value(0);
            QMetaObject::invokeMethod(files, "accept");
        }
    });
    poll.start(10);
    pdf->trigger();
    EXPECT_EQ(offered, dir.filePath(QStringLiteral("welle.pdf")));
    QFile written(dir.filePath(QStringLiteral("welle.pdf")));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.read(5), QByteArray("%PDF-"));
    // The commands are back on, the menu entry with them.
    EXPECT_TRUE(pdf->isEnabled());
    EXPECT_TRUE(action("mnuFPrint")->isEnabled());
    w->CommandState(false);
    EXPECT_FALSE(pdf->isEnabled());
}

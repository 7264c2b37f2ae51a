#include "editing/Editor.h"
#include "files/ProgramText.h"

#include "FakeEditorView.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <memory>
#include <tuple>

using namespace quillon;

namespace {

class EditorTest : public ::testing::Test {
protected:
    FakeEditorView view;
    std::unique_ptr<Editor> ed;
    ColumnNumbers col;

    void start(MachineType machine, Units units = Units::Metric, bool woodworker = false)
    {
        ed = std::make_unique<Editor>(view, machine, woodworker, units);
        col = machineProfile(machine).columns;
        ed->programList().ListInit(12, 16);
        ed->gcodeList().ListInit(15, 16);
        ed->mcodeList().ListInit(10, 16);
        ed->loadCodeLists();
        ASSERT_TRUE(ed->NewFile());
    }

    // Clicks the table entry of `code` (not a blue copy) in its list.
    void pick(const char* code)
    {
        const QString c = QString::fromLatin1(code);
        ListControl& list = c.startsWith(QLatin1Char('M')) ? ed->mcodeList() : ed->gcodeList();
        for (int i = 1; i <= list.count(); ++i) {
            if (list.item(i).column(1) == c && list.item(i).colour != kListBlue) {
                list.ListClickItem(i);
                return;
            }
        }
        FAIL() << "no code " << code;
    }

    // The user focuses a field and types `text` one key at a time.
    void type(int field, const QString& text)
    {
        view.focused = field;
        ed->paramGotFocus(field);
        QString typed;
        for (QChar ch : text) {
            typed += ch;
            ed->paramEdited(field, typed);
        }
    }
    void leave(int field) { ed->paramLostFocus(field); }
    void enter(int field, const QString& text)
    {
        type(field, text);
        leave(field);
    }
    void comment(const QString& text)
    {
        view.focused = static_cast<int>(FormField::Comment);
        ed->commentGotFocus();
        QString typed;
        for (QChar ch : text) {
            typed += ch;
            ed->commentEdited(typed);
        }
    }
    void commit() { ed->commentEnterPressed(); }

    const ProgramRow& row(int r) const { return ed->row(r); }
    QString line(int r) const { return programLineText(ed->row(r), ed->machine()); }
};

const QString kMin = QStringLiteral("Der mindest Wert für diesen Parameter ist ");
const QString kMax = QStringLiteral("Der maximalwert für diesen Parameter ist ");

}  // namespace

TEST_F(EditorTest, NewProgramHasOneBlankLineWaitingForItsCode)
{
    start(MachineType::Mark4);
    ASSERT_EQ(ed->rowCount(), 1);
    EXPECT_EQ(row(1).column(col.mark), QStringLiteral("+"));
    EXPECT_EQ(row(1).column(col.n), QStringLiteral(" 00"));
    EXPECT_EQ(row(1).column(col.g), QString());
    EXPECT_EQ(row(1).column(col.x), QStringLiteral("      "));
    EXPECT_EQ(row(1).column(col.z), QStringLiteral("       "));
    EXPECT_EQ(row(1).column(col.f), QStringLiteral("    "));
    EXPECT_EQ(row(1).column(col.h), QStringLiteral("    "));
    EXPECT_EQ(ed->currentRow(), 1);
    EXPECT_TRUE(ed->flags().newLinePending);
    EXPECT_FALSE(ed->modified());
    EXPECT_EQ(view.caption, QStringLiteral("Quillon CNC Programm Editor für EMCO CNC 5 MK-4 (unbenannt)"));
    EXPECT_TRUE(view.codeYellow);
    EXPECT_TRUE(view.framePrompt);
    EXPECT_EQ(view.label(FormLabel::CodeFrame).text, QStringLiteral("Bitte G-Code oder M-Code auswählen"));
    EXPECT_EQ(view.label(FormLabel::LineNumber).text, QStringLiteral("00"));
    EXPECT_FALSE(view.field(FormField::Comment).enabled);
    for (int k = 0; k < 5; ++k)
        EXPECT_FALSE(view.field(paramField(k)).visible) << k;
    EXPECT_FALSE(view.command(Command::Insert));
    EXPECT_FALSE(view.command(Command::Delete));
    EXPECT_FALSE(view.command(Command::Undo));
    EXPECT_FALSE(view.command(Command::Redo));

    start(MachineType::Mark2);
    EXPECT_EQ(view.label(FormLabel::CodeFrame).text, QStringLiteral("Bitte G-Code auswählen"));
    EXPECT_EQ(ed->mcodeList().count(), 0);
    EXPECT_FALSE(view.command(Command::McodeList));
}

TEST_F(EditorTest, EnteringLinesOnTheMark4StoresFixedColumnsAndOpensTheNextLine)
{
    start(MachineType::Mark4);
    pick("G01");
    EXPECT_EQ(view.label(FormLabel::Code).text, QStringLiteral("G01"));
    EXPECT_EQ(view.label(FormLabel::CodeFrame).text, QStringLiteral("Geradeninterpolation"));
    EXPECT_FALSE(view.codeYellow);
    EXPECT_TRUE(view.field(FormField::Comment).enabled);
    const bool visible[] = {true, false, true, true, false};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(view.field(paramField(k)).visible, visible[k]) << k;
    EXPECT_EQ(view.label(FormLabel::Param0).text, QStringLiteral("X"));
    EXPECT_EQ(view.label(FormLabel::Param2).text, QStringLiteral("Z"));
    EXPECT_EQ(view.label(FormLabel::Param3).text, QStringLiteral("F"));
    EXPECT_FALSE(view.label(FormLabel::Fpar).visible);
    EXPECT_EQ(view.focused, 0);
    EXPECT_EQ(row(1).column(col.g), QStringLiteral(" 01"));

    enter(0, QStringLiteral("1250"));
    EXPECT_FALSE(view.command(Command::Undo));  // no undo offered for a line being appended
    enter(2, QStringLiteral("-500"));
    enter(3, QStringLiteral("100"));
    comment(QStringLiteral("Schlichten"));
    EXPECT_EQ(row(1).column(col.comment), QString());  // the comment waits for Enter
    commit();

    EXPECT_TRUE(view.boxes.empty());
    ASSERT_EQ(ed->rowCount(), 2);
    EXPECT_EQ(line(1), QStringLiteral("    00 01  1250 -  500 100     Schlichten"));
    EXPECT_EQ(row(1).column(col.mark), QString());
    EXPECT_EQ(row(2).column(col.mark), QStringLiteral("+"));
    EXPECT_EQ(row(2).column(col.n), QStringLiteral(" 01"));
    EXPECT_EQ(ed->currentRow(), 2);
    EXPECT_TRUE(ed->modified());
    EXPECT_TRUE(view.codeYellow);

    // G33 carries K in the F column: lblFpar names it and the row gets "K150".
    pick("G33");
    EXPECT_TRUE(view.label(FormLabel::Fpar).visible);
    EXPECT_EQ(view.label(FormLabel::Fpar).text, QStringLiteral("K"));
    enter(2, QStringLiteral("-800"));
    enter(3, QStringLiteral("150"));
    commit();
    EXPECT_EQ(row(2).column(col.f), QStringLiteral("K150"));
    EXPECT_EQ(row(2).column(col.z), QStringLiteral(" -  800"));

    // M30 ends the entry of new lines.
    pick("M30");
    EXPECT_EQ(view.focused, static_cast<int>(FormField::Comment));
    commit();
    EXPECT_EQ(ed->rowCount(), 3);
    EXPECT_EQ(row(3).column(col.g), QStringLiteral("M30"));
    EXPECT_FALSE(ed->flags().newLinePending);
    EXPECT_EQ(ed->currentRow(), 0);
    EXPECT_FALSE(view.command(Command::Insert));
    EXPECT_FALSE(view.command(Command::GcodeList));
    EXPECT_FALSE(view.field(FormField::Comment).enabled);
    EXPECT_FALSE(view.label(FormLabel::Code).visible);
}

TEST_F(EditorTest, OutOfRangeValueIsRefusedWithFocusBackAndNeverReachesTheRow)
{
    start(MachineType::Mark4);
    pick("G01");
    enter(0, QStringLiteral("100"));
    type(3, QStringLiteral("500"));
    view.focused = 0;  // the user tabs on
    leave(3);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].message, kMax + QStringLiteral("499"));
    EXPECT_EQ(view.boxes[0].style, 48);
    EXPECT_EQ(view.boxes[0].title, QStringLiteral("Parameter Eingabe (metric einheiten)"));
    EXPECT_EQ(view.focused, 3);
    EXPECT_EQ(view.selField, 3);
    EXPECT_EQ(view.selStart, 0);
    EXPECT_EQ(view.selLength, 9);
    EXPECT_EQ(ed->flags().refusedField, 4);
    EXPECT_EQ(row(1).column(col.f), QStringLiteral("    "));

    // Passing through other fields on the way back repeats nothing.
    leave(0);
    leave(2);
    EXPECT_EQ(view.boxes.size(), 1u);

    // Enter in the comment checks every visible field and refuses the commit.
    comment(QStringLiteral("x"));
    commit();
    ASSERT_EQ(view.boxes.size(), 2u);
    EXPECT_EQ(view.boxes[1].message, kMax + QStringLiteral("499"));
    EXPECT_EQ(ed->rowCount(), 1);
    EXPECT_EQ(row(1).column(col.f), QStringLiteral("    "));
    EXPECT_EQ(row(1).column(col.comment), QString());

    enter(3, QStringLiteral("499"));
    EXPECT_EQ(ed->flags().refusedField, 0);
    EXPECT_EQ(row(1).column(col.f), QStringLiteral(" 499"));

    // A field that was never left (Z shows blanks, which read as 0) passes; an
    // F typed below its minimum without leaving is caught by the commit.
    type(3, QStringLiteral("1"));
    commit();
    ASSERT_EQ(view.boxes.size(), 3u);
    EXPECT_EQ(view.boxes[2].message, kMin + QStringLiteral("2"));
    EXPECT_EQ(row(1).column(col.f), QStringLiteral(" 499"));
    EXPECT_EQ(ed->rowCount(), 1);
    enter(3, QStringLiteral("2"));
    commit();
    EXPECT_EQ(ed->rowCount(), 2);
    // Z never left: 0; the comment typed before the refusals is kept.
    EXPECT_EQ(line(1), QStringLiteral("    00 01   100     00  02     x"));
}

TEST_F(EditorTest, UnitsSelectTheImperialLimits)
{
    start(MachineType::Mark4, Units::Imperial);
    EXPECT_EQ(view.label(FormLabel::Units).text, QStringLiteral("Imperiale Meßeinheiten"));
    pick("G01");
    enter(3, QStringLiteral("200"));
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].message, kMax + QStringLiteral("199"));
    EXPECT_EQ(view.boxes[0].title, QStringLiteral("Parameter Eingabe (imperial einheiten)"));
    // A value accepted in metric is refused at the commit after switching.
    ed->SetUnitMode(Units::Metric);
    enter(0, QStringLiteral("5000"));
    enter(3, QStringLiteral("20"));
    ed->SetUnitMode(Units::Imperial);
    commit();
    EXPECT_EQ(view.boxes.back().message, kMax + QStringLiteral("1999"));
    EXPECT_EQ(ed->rowCount(), 1);
}

TEST_F(EditorTest, FirstKeystrokeSnapshotUndoAndRedoOfALineEdit)
{
    start(MachineType::Mark4);
    pick("G01");
    enter(0, QStringLiteral("100"));
    enter(3, QStringLiteral("50"));
    commit();
    pick("M30");
    commit();
    const QString before = line(1);

    // Show line 1 again, as a click in the program list does.
    ed->programList().ListClickItem(1);
    EXPECT_EQ(ed->currentRow(), 1);
    EXPECT_EQ(view.field(FormField::Param0).text, QStringLiteral("100"));
    EXPECT_TRUE(view.command(Command::Insert));
    EXPECT_TRUE(view.command(Command::Delete));

    type(0, QStringLiteral("4321"));  // four keystrokes, one snapshot
    EXPECT_EQ(ed->undoKind(), UndoKind::EditedLine);
    EXPECT_TRUE(ed->flags().fieldEditPending);
    EXPECT_FALSE(view.command(Command::Undo));
    leave(0);
    comment(QStringLiteral("neu"));
    commit();
    EXPECT_TRUE(view.command(Command::Undo));
    EXPECT_EQ(view.tips[static_cast<int>(Command::Undo)], QStringLiteral("Wiederherstellen der editierten Zeile"));
    EXPECT_EQ(view.tips[static_cast<int>(Command::Redo)], QStringLiteral("Wiederholen der Änderung in der Zeile"));
    const QString after = line(1);
    EXPECT_EQ(after, QStringLiteral("    00 01  4321     00  50     neu"));

    for (int i = 0; i < 3; ++i) {
        ed->cmdUndo_Click();
        EXPECT_EQ(line(1), before);
        EXPECT_EQ(ed->currentRow(), 1);
        EXPECT_EQ(view.field(FormField::Param0).text, QStringLiteral("100"));
        EXPECT_FALSE(view.command(Command::Undo));
        EXPECT_TRUE(view.command(Command::Redo));
        ed->cmdRedo_Click();
        EXPECT_EQ(line(1), after);
        EXPECT_TRUE(view.command(Command::Undo));
        EXPECT_FALSE(view.command(Command::Redo));
    }
    EXPECT_EQ(ed->rowCount(), 2);

    // Undo, then a new edit: Redo is gone until the next Undo.
    ed->cmdUndo_Click();
    type(3, QStringLiteral("60"));
    EXPECT_FALSE(view.command(Command::Redo));
    leave(3);
    EXPECT_FALSE(view.command(Command::Redo));
    EXPECT_TRUE(view.command(Command::Undo));
    EXPECT_EQ(row(1).column(col.f), QStringLiteral("  60"));
    ed->cmdUndo_Click();
    EXPECT_EQ(line(1), before);
}

TEST_F(EditorTest, UnchangedFieldLeftKeepsTheProgramClean)
{
    start(MachineType::Mark4);
    pick("G01");
    enter(0, QStringLiteral("100"));
    enter(3, QStringLiteral("50"));
    commit();
    ed->setModified(false);
    ed->programList().ListClickItem(1);
    ed->paramGotFocus(0);
    leave(0);
    leave(3);
    EXPECT_FALSE(ed->modified());
    EXPECT_FALSE(view.command(Command::Undo));
}

TEST_F(EditorTest, CodeChangeSnapshotsPrefillsAndBlanksTheColumns)
{
    start(MachineType::F1);
    pick("G01");
    enter(0, QStringLiteral("-19999"));
    enter(1, QStringLiteral("250"));
    enter(2, QStringLiteral("-5"));
    enter(3, QStringLiteral("120"));
    commit();
    pick("G00");
    enter(0, QStringLiteral("0"));
    commit();
    // A G01 after the earlier G01 starts with its values.
    pick("G01");
    EXPECT_EQ(view.field(FormField::Param0).text, QStringLiteral("-19999"));
    EXPECT_EQ(view.field(FormField::Param1).text, QStringLiteral("250"));
    EXPECT_EQ(view.field(FormField::Param2).text, QStringLiteral("-05"));
    EXPECT_EQ(view.field(FormField::Param3).text, QStringLiteral("120"));
    EXPECT_EQ(row(3).column(col.x), QStringLiteral("      "));
    EXPECT_EQ(row(3).column(col.y), QStringLiteral("     "));
    commit();
    EXPECT_EQ(line(3), QStringLiteral("    02 01-19999  250-   05 120 "));
    pick("M30");
    commit();

    // Changing the code of a finished line takes a kind-4 snapshot; choosing
    // the same code again changes nothing.
    ed->programList().ListClickItem(2);
    const QString before = line(2);
    pick("G00");
    EXPECT_EQ(ed->undoKind(), UndoKind::InsertedLine);  // from the last insertion, untouched
    pick("G02");
    EXPECT_EQ(ed->undoKind(), UndoKind::ChangedCode);
    EXPECT_EQ(view.tips[static_cast<int>(Command::Undo)], QStringLiteral("Wiederherstellen des ursprünglichen G-Codes"));
    EXPECT_EQ(row(2).column(col.g), QStringLiteral(" 02"));
    EXPECT_EQ(row(2).column(col.x), QStringLiteral("      "));
    EXPECT_EQ(row(2).column(col.comment), QString());
    ed->cmdUndo_Click();
    EXPECT_EQ(line(2), before);
    EXPECT_EQ(view.label(FormLabel::Code).text, QStringLiteral("G00"));
}

TEST_F(EditorTest, RecentlyUsedGCodesStayFourInCodeOrder)
{
    start(MachineType::Mark4);
    auto blue = [this]() {
        QStringList codes;
        for (int i = 1; i <= ed->gcodeList().count(); ++i)
            if (ed->gcodeList().item(i).colour == kListBlue)
                codes << ed->gcodeList().item(i).column(1);
        return codes.join(QLatin1Char(','));
    };
    const int tableSize = ed->gcodeList().count();
    for (const char* c : {"G01", "G33", "G02", "G90"})
        pick(c);
    EXPECT_EQ(blue(), QStringLiteral("G01,G02,G33,G90"));
    EXPECT_EQ(ed->gcodeList().count(), tableSize + 4);
    pick("G02");  // already among them
    EXPECT_EQ(blue(), QStringLiteral("G01,G02,G33,G90"));
    pick("G00");
    EXPECT_EQ(blue(), QStringLiteral("G00,G02,G33,G90"));
    pick("G95");
    EXPECT_EQ(blue(), QStringLiteral("G00,G02,G33,G95"));
    EXPECT_EQ(ed->gcodeList().count(), tableSize + 4);
    // The M list has none.
    pick("M03");
    EXPECT_EQ(blue(), QStringLiteral("G00,G02,G33,G95"));
    EXPECT_EQ(ed->gcodeList().state().listIndex, 0);  // an M pick clears the G selection
}

TEST_F(EditorTest, HAlarmStopsTheNextLineUntilHFits)
{
    start(MachineType::Mark4);
    pick("G86");
    EXPECT_EQ(view.label(FormLabel::Param4).text, QStringLiteral("H"));
    enter(0, QStringLiteral("50"));
    enter(2, QStringLiteral("-100"));
    enter(3, QStringLiteral("20"));
    enter(4, QStringLiteral("5"));
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].message, kMin + QStringLiteral("10"));
    enter(4, QStringLiteral("60"));
    commit();
    ASSERT_EQ(view.boxes.size(), 2u);
    EXPECT_EQ(view.boxes[1].message, QStringLiteral("G86: der 'H' Wert darf nicht größer sein als der X-Wert"));
    EXPECT_EQ(view.boxes[1].style, 48);
    EXPECT_EQ(view.boxes[1].title, QString());
    EXPECT_EQ(view.focusTimerStarts, 1);
    EXPECT_EQ(ed->rowCount(), 1);
    EXPECT_EQ(row(1).column(col.h), QStringLiteral("  60"));
    ed->tmrSetFocus_Timer();
    EXPECT_EQ(view.focused, 4);
    EXPECT_EQ(view.selField, 4);
    EXPECT_EQ(view.selLength, 99);

    enter(4, QStringLiteral("50"));  // equal to X passes
    commit();
    EXPECT_EQ(view.boxes.size(), 2u);
    EXPECT_EQ(ed->rowCount(), 2);
    EXPECT_EQ(line(1), QStringLiteral("    00 86    50 -  100  20  50 "));
}

TEST_F(EditorTest, Mark2SignSitsAtTheFieldsLeftEdge)
{
    start(MachineType::Mark2);
    pick("G33");
    EXPECT_EQ(view.label(FormLabel::Param3).text, QStringLiteral("K"));
    enter(3, QStringLiteral("1"));
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].message, kMin + QStringLiteral("2"));
    pick("G00");
    enter(0, QStringLiteral("-250"));
    enter(2, QStringLiteral("7"));
    EXPECT_EQ(row(1).column(col.x), QStringLiteral(" - 250"));
    EXPECT_EQ(row(1).column(col.z), QStringLiteral("     07"));
    commit();
    EXPECT_EQ(line(1), QStringLiteral("   N00 G00 X- 250 Z    07 F    "));
}

TEST_F(EditorTest, InsertUndoRedoAndTheLineLimit)
{
    start(MachineType::Mark4);
    pick("G00");
    commit();
    ASSERT_EQ(ed->rowCount(), 2);
    EXPECT_EQ(ed->undoKind(), UndoKind::InsertedLine);
    ed->cmdUndo_Click();
    EXPECT_EQ(ed->rowCount(), 1);
    EXPECT_FALSE(ed->flags().newLinePending);
    ed->cmdRedo_Click();
    ASSERT_EQ(ed->rowCount(), 2);
    EXPECT_TRUE(ed->flags().newLinePending);
    EXPECT_EQ(ed->currentRow(), 2);
    EXPECT_FALSE(view.command(Command::Insert));
    EXPECT_FALSE(view.command(Command::Delete));
    EXPECT_TRUE(view.codeYellow);
    EXPECT_FALSE(view.field(FormField::Comment).enabled);

    // The mill stops at 222 lines.
    start(MachineType::F1);
    for (int n = 1; n < 222; ++n) {
        ProgramRow r = ed->row(1);
        r.setColumn(col.n, QStringLiteral("%1").arg(n, 3, 10, QLatin1Char(' ')));
        r.setColumn(col.g, QStringLiteral(" 00"));
        ed->appendRow(r);
    }
    ed->programList().ListClickItem(222);
    view.boxes.clear();
    ed->cmdInsert_Click();
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].message, QStringLiteral("Der maximalwert für diesen Parameter ist"));
    EXPECT_EQ(view.boxes[0].title, QStringLiteral("Zeilen Limit"));
    EXPECT_EQ(ed->rowCount(), 222);
    EXPECT_FALSE(view.command(Command::Insert));
}

TEST_F(EditorTest, InsertInTheMiddleRenumbersTheLinesBehindAndUndoRestoresThem)
{
    start(MachineType::Mark4);
    for (const char* c : {"G00", "G90", "G91"}) {
        pick(c);
        commit();
    }
    pick("M30");
    commit();
    ASSERT_EQ(ed->rowCount(), 4);
    ed->programList().ListClickItem(1);
    ASSERT_TRUE(view.command(Command::Insert));
    ed->cmdInsert_Click();
    ASSERT_EQ(ed->rowCount(), 5);
    const char* numbers[] = {" 00", " 01", " 02", " 03", " 04"};
    const char* codes[] = {" 00", "", " 90", " 91", "M30"};
    for (int r = 1; r <= 5; ++r) {
        EXPECT_EQ(row(r).column(col.n), QString::fromLatin1(numbers[r - 1])) << r;
        EXPECT_EQ(row(r).column(col.g), QString::fromLatin1(codes[r - 1])) << r;
    }
    EXPECT_EQ(row(2).column(col.mark), QStringLiteral("+"));
    EXPECT_EQ(ed->currentRow(), 2);
    EXPECT_EQ(view.label(FormLabel::LineNumber).text, QStringLiteral("01"));
    EXPECT_EQ(view.tips[static_cast<int>(Command::Undo)], QStringLiteral("Entfernen der eingefügten Zeile"));
    ed->cmdUndo_Click();
    ASSERT_EQ(ed->rowCount(), 4);
    EXPECT_EQ(row(2).column(col.n), QStringLiteral(" 01"));
    EXPECT_EQ(row(2).column(col.g), QStringLiteral(" 90"));
    EXPECT_EQ(row(4).column(col.n), QStringLiteral(" 03"));
}

TEST_F(EditorTest, NewFileAsksBeforeDiscardingAndDropsTheUndoSnapshots)
{
    start(MachineType::Mark4);
    pick("G01");
    enter(3, QStringLiteral("20"));
    commit();
    ASSERT_TRUE(ed->modified());
    view.answers = {7};
    EXPECT_FALSE(ed->NewFile());
    EXPECT_EQ(view.boxes.back().message,
              QStringLiteral("Die aktuelle Datei ist nicht gespeichert\r\nSind Sie sicher das Sie neu starten wollen?"));
    EXPECT_EQ(view.boxes.back().style, 292);
    EXPECT_EQ(view.boxes.back().title, QStringLiteral("Änderungen nicht gespeichert"));
    EXPECT_EQ(ed->rowCount(), 2);
    view.answers = {6};
    EXPECT_TRUE(ed->NewFile());
    EXPECT_EQ(ed->rowCount(), 1);
    EXPECT_EQ(ed->undoKind(), UndoKind::None);
    ed->cmdUndo_Click();  // nothing of the old program comes back
    EXPECT_EQ(ed->rowCount(), 1);
    EXPECT_EQ(view.tips[static_cast<int>(Command::Undo)], QStringLiteral("aktuelle Programmzeile wiederherstellen"));
}

TEST_F(EditorTest, UpDownMoveTheShownLine)
{
    start(MachineType::Mark4);
    for (const char* c : {"G00", "G01", "G90"}) {
        pick(c);
        if (QString::fromLatin1(c) == QLatin1String("G01"))
            enter(3, QStringLiteral("10"));
        commit();
    }
    pick("M30");
    commit();
    ed->programList().ListClickItem(2);
    ed->programList().ListClickItem(2);  // a click on the shown line keeps it shown
    EXPECT_EQ(ed->currentRow(), 2);
    EXPECT_EQ(view.label(FormLabel::Code).text, QStringLiteral("G01"));
    ed->lineUp();
    EXPECT_EQ(ed->currentRow(), 1);
    EXPECT_EQ(view.label(FormLabel::Code).text, QStringLiteral("G00"));
    ed->lineUp();
    EXPECT_EQ(ed->currentRow(), 1);
    ed->lineDown();
    ed->lineDown();
    ed->lineDown();
    EXPECT_EQ(ed->currentRow(), 4);
    ed->lineDown();
    EXPECT_EQ(ed->currentRow(), 4);
    EXPECT_EQ(view.label(FormLabel::Code).text, QStringLiteral("M30"));
    EXPECT_FALSE(view.field(FormField::Param0).visible);
}

TEST_F(EditorTest, ReplacingTheProgramShowsItsFirstRowAndDropsTheOldUndo)
{
    start(MachineType::Mark4);
    pick("G01");
    enter(0, QStringLiteral("1250"));
    commit();
    ASSERT_NE(ed->undoKind(), UndoKind::None);

    const QString text = QStringLiteral("Welle\nAlu\rStahl\r\n%\r\n    N` G`   X `    Z `  F`  H \r\n"
                                        "    00 00  1000    200         Anfahren\r\n"
                                        "    01 01   500-  1000 100     \r\n   \"");
    const DecodeResult decoded = blnDecodeBuffer(text, MachineType::Mark4, Units::Metric);
    ASSERT_TRUE(decoded.accepted);
    ed->replaceProgram(decoded.program, true, QStringLiteral("Titel (unbenannt)"));

    EXPECT_EQ(ed->rowCount(), 2);
    EXPECT_EQ(ed->currentRow(), 1);
    EXPECT_EQ(line(2), QStringLiteral("    01 01   500-  1000 100     "));
    EXPECT_EQ(ed->fieldText(FormField::Param0), QStringLiteral("1000"));
    // The description keeps its line breaks as read, also when its text box
    // reports it back with line feeds only.
    EXPECT_EQ(ed->description(), QStringLiteral("Welle\nAlu\rStahl\r\n"));
    ed->notesEdited(QStringLiteral("Welle\nAlu\nStahl\n"));
    EXPECT_EQ(ed->description(), QStringLiteral("Welle\nAlu\rStahl\r\n"));
    EXPECT_EQ(ed->units(), Units::Imperial);
    EXPECT_TRUE(ed->modified());
    EXPECT_EQ(view.caption, QStringLiteral("Titel (unbenannt)"));
    EXPECT_EQ(ed->undoKind(), UndoKind::None);
    EXPECT_FALSE(ed->commandEnabled(Command::Undo));
    ed->cmdUndo_Click();
    EXPECT_EQ(ed->rowCount(), 2);
    EXPECT_EQ(strFileOutBuff(ed->program(), MachineType::Mark4), text);
}

namespace {

// A program of rows numbered `numbers`, code G0x with x = position, put in
// place as a file read would.
void loadNumbered(Editor& ed, const std::vector<int>& numbers)
{
    const ColumnNumbers c = ed.profile().columns;
    Program p;
    p.units = Units::Metric;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        ProgramRow r = ed.row(1);
        r.setColumn(c.mark, QStringLiteral(" "));
        r.setColumn(c.n, QStringLiteral("%1").arg(numbers[i], 3, 10, QLatin1Char(' ')));
        r.setColumn(c.g, QStringLiteral("%1").arg(static_cast<int>(i % 4), 3, 10, QLatin1Char(' ')));
        r.setColumn(c.comment, QStringLiteral("L%1").arg(i + 1));
        p.rows.push_back(r);
    }
    ed.replaceProgram(p, false, QStringLiteral("t"));
}

}  // namespace

TEST_F(EditorTest, InsertAndDeleteRenumberOnlyTheLinesBehindAndMarkTheProgramChanged)
{
    start(MachineType::Mark4);
    EXPECT_FALSE(ed->modified());  // the first line of a new program is no change
    loadNumbered(*ed, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    ed->programList().ListClickItem(4);
    ed->cmdInsert_Click();
    ASSERT_EQ(ed->rowCount(), 11);
    EXPECT_TRUE(ed->modified());
    EXPECT_EQ(row(5).column(col.n), QStringLiteral(" 04"));
    EXPECT_EQ(row(5).column(col.mark), QStringLiteral("+"));
    for (int r = 6; r <= 11; ++r)
        EXPECT_EQ(row(r).column(col.n).trimmed().toInt(), r - 1) << r;
    EXPECT_EQ(row(6).column(col.comment), QStringLiteral("L5"));

    // Deleting the new line restores the numbers; the line above becomes current.
    ed->setModified(false);
    ed->cmdDelete_Click();
    ASSERT_EQ(ed->rowCount(), 10);
    EXPECT_TRUE(ed->modified());
    EXPECT_FALSE(ed->flags().newLinePending);
    EXPECT_EQ(ed->currentRow(), 4);
    EXPECT_EQ(ed->undoKind(), UndoKind::DeletedLine);
    EXPECT_TRUE(view.command(Command::Undo));
    for (int r = 1; r <= 10; ++r) {
        EXPECT_EQ(row(r).column(col.n).trimmed().toInt(), r - 1) << r;
        EXPECT_EQ(row(r).column(col.comment), QStringLiteral("L%1").arg(r)) << r;
    }
    ed->cmdUndo_Click();
    EXPECT_EQ(ed->rowCount(), 11);
    EXPECT_EQ(row(5).column(col.mark), QStringLiteral("+"));

    // Deleting the first line keeps position 1, now the former second line.
    loadNumbered(*ed, {0, 1, 2});
    ed->programList().ListClickItem(1);
    ed->cmdDelete_Click();
    ASSERT_EQ(ed->rowCount(), 2);
    EXPECT_EQ(ed->currentRow(), 1);
    EXPECT_EQ(row(1).column(col.comment), QStringLiteral("L2"));
    EXPECT_EQ(row(1).column(col.n), QStringLiteral(" 00"));

    // A file numbered 10, 20, 30 is shifted relative to its own numbers.
    loadNumbered(*ed, {10, 20, 30});
    ed->programList().ListClickItem(1);
    ed->cmdInsert_Click();
    ASSERT_EQ(ed->rowCount(), 4);
    EXPECT_EQ(row(2).column(col.n), QStringLiteral(" 11"));
    EXPECT_EQ(row(3).column(col.n), QStringLiteral(" 21"));
    EXPECT_EQ(row(4).column(col.n), QStringLiteral(" 31"));

    // The only line deleted leaves one blank line marked "+".
    loadNumbered(*ed, {0});
    ed->programList().ListClickItem(1);
    ed->cmdDelete_Click();
    ASSERT_EQ(ed->rowCount(), 1);
    EXPECT_EQ(row(1).column(col.mark), QStringLiteral("+"));
    EXPECT_TRUE(row(1).column(col.g).trimmed().isEmpty());
    EXPECT_TRUE(row(1).column(col.comment).isEmpty());
    EXPECT_EQ(ed->currentRow(), 1);
}

TEST_F(EditorTest, CopyWorkflowMarksEntersAndCopiesEachMarkedLineOncePerPass)
{
    start(MachineType::Mark4);
    loadNumbered(*ed, {0, 1, 2, 3, 4});
    ed->programList().ListClickItem(2);
    ed->CopyLines();
    EXPECT_TRUE(ed->flags().copyMode);
    EXPECT_EQ(ed->copyStage(), CopyStage::Marking);
    EXPECT_EQ(ed->programList().state().selectionMode, SelectionMode::MultiMark);
    EXPECT_EQ(ed->programList().state().selectedCount, 0);
    ed->programList().ListClickItem(3);
    ed->programList().ListClickItem(4);
    ed->cmdNext_Click();
    EXPECT_EQ(ed->copyStage(), CopyStage::Entering);
    EXPECT_EQ(ed->insertText(), QStringLiteral("4"));
    EXPECT_EQ(ed->copiesText(), QStringLiteral("1"));
    ed->txtInsertChanged(QStringLiteral("99"));  // beyond the last line: the last line's number
    EXPECT_EQ(ed->insertText(), QStringLiteral("4"));
    ed->txtCopiesChanged(QString());
    EXPECT_FALSE(ed->nextEnabled());
    ed->txtCopiesChanged(QStringLiteral("2"));
    EXPECT_TRUE(ed->nextEnabled());
    ed->cmdNext_Click();
    EXPECT_FALSE(ed->flags().copyMode);
    EXPECT_EQ(ed->copyStage(), CopyStage::Off);
    EXPECT_TRUE(ed->modified());
    ASSERT_EQ(ed->rowCount(), 9);
    const char* comments[] = {"L1", "L2", "L3", "L4", "L5", "L3", "L4", "L3", "L4"};
    for (int r = 1; r <= 9; ++r) {
        EXPECT_EQ(row(r).column(col.comment), QString::fromLatin1(comments[r - 1])) << r;
        EXPECT_EQ(row(r).column(col.n).trimmed().toInt(), r - 1) << r;
        EXPECT_EQ(row(r).column(col.mark), QString::fromLatin1(r > 5 ? ">" : " ")) << r;
        EXPECT_FALSE(ed->programList().item(r).marked && r != ed->currentRow()) << r;
    }
    EXPECT_EQ(ed->currentRow(), 5);  // the line behind which the copies went
    EXPECT_EQ(ed->programList().state().selectionMode, SelectionMode::SingleAfterCopy);

    // Copies in front of their sources: each marked line once per pass, in order.
    loadNumbered(*ed, {0, 1, 2, 3});
    ed->CopyLines();
    ed->programList().ListClickItem(3);
    ed->programList().ListClickItem(4);
    ed->cmdNext_Click();
    ed->txtInsertChanged(QStringLiteral("0"));
    ed->txtCopiesChanged(QStringLiteral("1"));
    ed->cmdNext_Click();
    const char* front[] = {"L1", "L3", "L4", "L2", "L3", "L4"};
    ASSERT_EQ(ed->rowCount(), 6);
    for (int r = 1; r <= 6; ++r)
        EXPECT_EQ(row(r).column(col.comment), QString::fromLatin1(front[r - 1])) << r;

    // A count of 0 copies nothing and leaves the program unchanged.
    loadNumbered(*ed, {0, 1});
    ed->CopyLines();
    ed->programList().ListClickItem(1);
    ed->cmdNext_Click();
    ed->txtCopiesChanged(QStringLiteral("0"));
    ed->cmdNext_Click();
    EXPECT_EQ(ed->rowCount(), 2);
    EXPECT_FALSE(ed->modified());

    // A position from a program numbered 10, 20, 30 is kept to its rows, and
    // a huge count stops at the line limit with one message.
    loadNumbered(*ed, {10, 20, 30});
    ed->CopyLines();
    ed->programList().ListClickItem(1);
    ed->cmdNext_Click();
    EXPECT_EQ(ed->insertText(), QStringLiteral("30"));
    ed->txtCopiesChanged(QStringLiteral("99999"));
    view.boxes.clear();
    ed->cmdNext_Click();
    EXPECT_EQ(ed->rowCount(), 210);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].title, QStringLiteral("Zeilen Limit"));
    EXPECT_EQ(row(4).column(col.comment), QStringLiteral("L1"));
    EXPECT_EQ(row(4).column(col.n), QStringLiteral(" 31"));

    // Cancel while marking returns to the line that had the caret.
    loadNumbered(*ed, {0, 1, 2});
    ed->programList().ListClickItem(2);
    ed->CopyLines();
    ed->programList().ListClickItem(3);
    ed->cmdCancel_Click();
    EXPECT_EQ(ed->rowCount(), 3);
    EXPECT_EQ(ed->currentRow(), 2);
    EXPECT_FALSE(ed->programList().item(3).marked);
}

// A program from (number, code column, F column) triples, put in place as a
// file read would: calls and jumps carry their target in the F column.
void loadRows(Editor& ed, std::initializer_list<std::tuple<int, const char*, const char*>> rows)
{
    const ColumnNumbers c = ed.profile().columns;
    Program p;
    for (const auto& [number, code, f] : rows) {
        ProgramRow r = ed.row(1);
        r.setColumn(c.mark, QStringLiteral(" "));
        r.setColumn(c.n, QStringLiteral(" %1").arg(number, 2, 10, QLatin1Char('0')));
        r.setColumn(c.g, QString::fromLatin1(code));
        r.setColumn(c.f, QString::fromLatin1(f));
        r.setColumn(c.comment, QString());
        p.rows.push_back(r);
    }
    ed.replaceProgram(p, false, QStringLiteral("t"));
}

// Numbers and F columns of every row, "0:L 03|1:    |...".
QString numbersAndTargets(const Editor& ed)
{
    const ColumnNumbers c = ed.profile().columns;
    QStringList parts;
    for (int r = 1; r <= ed.rowCount(); ++r)
        parts << QString::number(ed.row(r).column(c.n).trimmed().toInt()) + QLatin1Char(':') + ed.row(r).column(c.f);
    return parts.join(QLatin1Char('|'));
}

TEST_F(EditorTest, RefusedInsertOrCopyChangesNothing)
{
    // At the line limit: the message, and the form, flags and undo step stay.
    start(MachineType::Mark4);
    std::vector<int> numbers(210);
    for (int i = 0; i < 210; ++i)
        numbers[static_cast<std::size_t>(i)] = i;
    loadNumbered(*ed, numbers);
    ed->programList().ListClickItem(5);
    pick("G01");
    enter(0, QStringLiteral("150"));
    const UndoKind kind = ed->undoKind();
    view.boxes.clear();
    ed->cmdInsert_Click();
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].title, QStringLiteral("Zeilen Limit"));
    EXPECT_EQ(ed->rowCount(), 210);
    EXPECT_FALSE(ed->flags().newLinePending);
    EXPECT_EQ(ed->undoKind(), kind);
    EXPECT_EQ(ed->fieldText(FormField::Param0), QStringLiteral("150"));
    leave(2);  // leaving a field must not blank the line
    EXPECT_EQ(row(5).column(col.g), QStringLiteral(" 01"));
    EXPECT_EQ(row(5).column(col.x).trimmed(), QStringLiteral("150"));
    EXPECT_EQ(ed->rowCount(), 210);
    ed->cmdDelete_Click();
    EXPECT_TRUE(view.command(Command::Insert));

    // Numbers that would pass 999: refused with a message, for Insert and for a copy.
    loadNumbered(*ed, {997, 998, 999});
    ed->programList().ListClickItem(1);
    view.boxes.clear();
    ed->cmdInsert_Click();
    ed->CopyLines();
    ed->programList().ListClickItem(2);
    ed->cmdNext_Click();
    ed->cmdNext_Click();
    ASSERT_EQ(view.boxes.size(), 2u);
    for (const auto& box : view.boxes) {
        EXPECT_EQ(box.message,
                  QStringLiteral("Die Zeilennummern reichen bis 999; es kann keine weitere Zeile eingefügt werden."));
        EXPECT_EQ(box.title, QStringLiteral("Zeilen Limit"));
    }
    EXPECT_EQ(numbersAndTargets(*ed), QStringLiteral("997:    |998:    |999:    "));
    EXPECT_FALSE(ed->modified());
}

TEST_F(EditorTest, UndoAndRedoLeaveACurrentRowAndCountAsUnsavedWork)
{
    struct Case {
        const char* what;
        int insertBehind;  // 0: the lines are typed at the end
        const char* code;
    } cases[] = {{"M30 ends the program", 0, "M30"}, {"a line typed in the middle", 1, "G90"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        start(MachineType::Mark4);
        pick("G00");
        commit();
        pick("G91");
        commit();
        if (c.insertBehind) {
            pick("M30");
            commit();
            ed->programList().ListClickItem(c.insertBehind);
            ed->cmdInsert_Click();
        }
        pick(c.code);
        commit();
        ASSERT_EQ(ed->currentRow(), 0);  // a finished line leaves no row selected
        ed->setModified(false);          // as after saving
        ed->cmdUndo_Click();
        EXPECT_TRUE(ed->modified());
        ed->setModified(false);
        ed->cmdRedo_Click();
        EXPECT_TRUE(ed->modified());
        ASSERT_GE(ed->currentRow(), 1);
        EXPECT_EQ(view.label(FormLabel::LineNumber).text, row(ed->currentRow()).column(col.n).trimmed());
        // Whatever Insert does now, the numbers stay consecutive from 00.
        ed->programList().ListClickItem(1);
        ed->cmdInsert_Click();
        for (int r = 1; r <= ed->rowCount(); ++r)
            EXPECT_EQ(row(r).column(col.n).trimmed().toInt(), r - 1) << r;
    }

    // Up or Down out of an edited field ends that line's edit: Undo reverts the second line only.
    start(MachineType::Mark4);
    loadRows(*ed, {{0, " 00", "    "}, {1, " 00", "    "}, {2, "M30", "    "}});
    ed->programList().ListClickItem(1);
    type(0, QStringLiteral("100"));
    leave(0);
    ed->lineDown();
    type(0, QStringLiteral("200"));
    leave(0);
    ed->cmdUndo_Click();
    EXPECT_EQ(row(1).column(col.x).trimmed(), QStringLiteral("100"));
    EXPECT_TRUE(row(2).column(col.x).trimmed().isEmpty());

    // A comment typed before a refused Enter survives fixing the field.
    start(MachineType::Mark4);
    pick("G01");
    enter(0, QStringLiteral("100"));
    enter(2, QStringLiteral("-50"));
    comment(QStringLiteral("Schlichten"));
    commit();  // F is empty: refused
    ASSERT_EQ(ed->rowCount(), 1);
    enter(3, QStringLiteral("80"));
    EXPECT_EQ(ed->fieldText(FormField::Comment), QStringLiteral("Schlichten"));
    commit();
    EXPECT_EQ(row(1).column(col.comment), QStringLiteral("Schlichten"));
}

TEST_F(EditorTest, ACopyIsOneUndoStepAndLocksUndoWhileLinesAreMarked)
{
    start(MachineType::Mark4);
    loadNumbered(*ed, {0, 1, 2, 3});
    ed->programList().ListClickItem(4);
    ed->cmdDelete_Click();  // an earlier step Undo must not return to
    ASSERT_TRUE(view.command(Command::Undo));
    ed->CopyLines();
    EXPECT_FALSE(view.command(Command::Undo));
    EXPECT_FALSE(view.command(Command::Redo));
    ed->programList().ListClickItem(1);
    ed->cmdUndo_Click();  // no effect while marking
    EXPECT_TRUE(ed->programList().item(1).marked);
    EXPECT_EQ(ed->rowCount(), 3);
    ed->cmdNext_Click();
    ed->txtCopiesChanged(QStringLiteral("2"));
    ed->cmdNext_Click();
    ASSERT_EQ(ed->rowCount(), 5);
    EXPECT_TRUE(view.command(Command::Undo));
    EXPECT_EQ(view.tips[static_cast<int>(Command::Undo)], QStringLiteral("Entfernen der kopierten Zeilen"));
    ed->setModified(false);
    ed->cmdUndo_Click();
    EXPECT_TRUE(ed->modified());
    const QString before = QStringLiteral("0:    |1:    |2:    ");
    EXPECT_EQ(numbersAndTargets(*ed), before);
    EXPECT_EQ(row(3).column(col.comment), QStringLiteral("L3"));
    EXPECT_EQ(ed->programList().state().selectionMode, SelectionMode::SingleAfterCopy);
    EXPECT_FALSE(ed->programList().item(1).marked && ed->currentRow() != 1);
    ed->cmdRedo_Click();
    ASSERT_EQ(ed->rowCount(), 5);
    EXPECT_EQ(row(4).column(col.mark), QStringLiteral(">"));
    EXPECT_EQ(row(5).column(col.comment), QStringLiteral("L1"));

    // A copy that copies nothing is no change and keeps the step before it.
    ed->setModified(false);
    ed->CopyLines();
    ed->cmdNext_Click();
    ed->cmdNext_Click();  // nothing marked
    EXPECT_FALSE(ed->modified());
    EXPECT_EQ(ed->undoKind(), UndoKind::CopiedLines);
    EXPECT_TRUE(view.command(Command::Undo));
}

TEST_F(EditorTest, CallsAndJumpsFollowTheirLinesThroughRenumbering)
{
    for (MachineType machine : {MachineType::F1, MachineType::Mark4}) {
        SCOPED_TRACE(machineNumber(machine));
        start(machine);
        loadRows(*ed, {{0, " 25", "L 03"}, {1, " 27", "L 05"}, {2, "M30", "    "},
                       {3, " 00", "    "}, {4, "M17", "    "}, {5, "M30", "    "}});
        ed->programList().ListClickItem(1);
        ed->cmdInsert_Click();
        EXPECT_EQ(numbersAndTargets(*ed),
                  QStringLiteral("0:L 04|1:    |2:L 06|3:    |4:    |5:    |6:    "));
        ed->cmdUndo_Click();
        EXPECT_EQ(numbersAndTargets(*ed), QStringLiteral("0:L 03|1:L 05|2:    |3:    |4:    |5:    "));
        // The called line deleted: its call is left for the program check; the jump follows its line.
        ed->programList().ListClickItem(4);
        ed->cmdDelete_Click();
        EXPECT_EQ(numbersAndTargets(*ed), QStringLiteral("0:L 03|1:L 04|2:    |3:    |4:    "));
        // A copy in front renumbers the targets behind it; the copied jump follows too.
        ed->CopyLines();
        ed->programList().ListClickItem(2);
        ed->cmdNext_Click();
        ed->txtInsertChanged(QStringLiteral("0"));
        ed->cmdNext_Click();
        EXPECT_EQ(numbersAndTargets(*ed), QStringLiteral("0:L 04|1:L 05|2:L 05|3:    |4:    |5:    "));
    }
}

// A view drawing the program (the tool path pane) must hear of every kind of
// change to the rows, and of every move of the shown row, and of nothing else.
TEST_F(EditorTest, ViewHearsOfEveryProgramChangeAndOfTheShownRow)
{
    start(MachineType::Mark4);
    loadNumbered(*ed, {0, 1, 2, 3, 4});
    EXPECT_EQ(view.shownRows.back(), 1);
    auto changes = [this](const char* what, auto&& action) {
        view.programChanges = 0;
        action();
        EXPECT_GT(view.programChanges, 0) << what;
    };
    auto noChange = [this](const char* what, auto&& action) {
        view.programChanges = 0;
        action();
        EXPECT_EQ(view.programChanges, 0) << what;
    };

    noChange("moving down", [&] { ed->lineDown(); });
    EXPECT_EQ(view.shownRows.back(), 2);
    noChange("clicking a row", [&] { ed->programList().ListClickItem(4); });
    EXPECT_EQ(view.shownRows.back(), 4);
    // A click that deselects the shown row keeps it shown: no new report.
    const std::size_t reports = view.shownRows.size();
    ed->programList().ListClickItem(4);
    EXPECT_EQ(view.shownRows.size(), reports);

    changes("a new code", [&] { pick("G01"); });
    changes("a field left", [&] { enter(2, QStringLiteral("-15")); });
    enter(3, QStringLiteral("100"));
    changes("a comment committed", [&] {
        comment(QStringLiteral("neu"));
        commit();
    });
    changes("undo", [&] { ed->cmdUndo_Click(); });
    changes("redo", [&] { ed->cmdRedo_Click(); });
    changes("insert", [&] { ed->cmdInsert_Click(); });
    EXPECT_EQ(view.shownRows.back(), 5);
    changes("delete", [&] { ed->cmdDelete_Click(); });
    EXPECT_EQ(view.shownRows.back(), 4);
    changes("copy", [&] {
        ed->CopyLines();
        ed->programList().ListClickItem(1);
        ed->cmdNext_Click();
        ed->cmdNext_Click();
    });
    changes("units", [&] { ed->SetUnitMode(Units::Imperial); });
    changes("description typed", [&] { ed->notesEdited(QStringLiteral("Welle 25 mm")); });
    noChange("same description", [&] { ed->notesEdited(QStringLiteral("Welle 25 mm")); });
    changes("a row received", [&] { ed->appendRow(ed->row(1)); });
    changes("program replaced", [&] { loadNumbered(*ed, {0, 1}); });
    EXPECT_EQ(view.shownRows.back(), 1);
    view.answers = {6};
    changes("new program", [&] { ed->NewFile(); });
    EXPECT_EQ(ed->rowCount(), 1);
    EXPECT_EQ(ed->shownRow(), 1);
}

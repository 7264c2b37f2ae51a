#include "editing/Editor.h"
#include "files/ProgramText.h"
#include "model/NumberFormat.h"

#include "FakeEditorView.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <memory>

using namespace quillon;

namespace {

const QString kMax = QStringLiteral("Der maximalwert für diesen Parameter ist ");

class EditorTest : public ::testing::Test {
protected:
    FakeEditorView view;
    std::unique_ptr<Editor> ed;
    ColumnNumbers col;

    void start(MachineType machine)
    {
        view = FakeEditorView();
        ed = std::make_unique<Editor>(view, machine, false, Units::Metric);
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
            if (list.item(i).column(1) == c && list.item(i).colour != kListBlue)
                return list.ListClickItem(i);
        }
        FAIL() << "no code " << code;
    }
    // The user focuses a field and types `text` one key at a time.
    void type(int field, const QString& text)
    {
        view.focused = field;
        ed->paramGotFocus(field);
        for (qsizetype i = 1; i <= text.size(); ++i)
            ed->paramEdited(field, text.left(i));
    }
    void leave(int field) { ed->paramLostFocus(field); }
    void enter(int field, const char* text)
    {
        type(field, QString::fromLatin1(text));
        leave(field);
    }
    void comment(const char* text)
    {
        view.focused = static_cast<int>(FormField::Comment);
        ed->commentGotFocus();
        ed->commentEdited(QString::fromLatin1(text));
    }
    void commit() { ed->commentEnterPressed(); }
    using Values = std::vector<std::pair<int, const char*>>;
    // Picks `code` and enters each "field=value".
    void fill(const char* code, const Values& values)
    {
        pick(code);
        for (const auto& [field, value] : values)
            enter(field, value);
    }
    // Fills and commits one line per code.
    void lines(std::initializer_list<std::pair<const char*, Values>> typed)
    {
        for (const auto& [code, values] : typed)
            fill(code, values), commit();
    }
    // A program put in place as a file read would: rows numbered `numbers`,
    // commented L1, L2, ..., with the codes G00..G03 in turn unless `codes`
    // gives each row's code and F column (where calls and jumps keep their target).
    void load(const std::vector<int>& numbers, const std::vector<std::pair<const char*, const char*>>& codes = {})
    {
        Program p;
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            ProgramRow r;
            r.setColumn(col.mark, QStringLiteral(" "));
            r.setColumn(col.n, strFormatNumber(QString::number(numbers[i]), 3, false));
            r.setColumn(col.g, codes.empty() ? QStringLiteral(" 0%1").arg(i % 4) : QString::fromLatin1(codes[i].first));
            r.setColumn(col.f, codes.empty() ? QStringLiteral("    ") : QString::fromLatin1(codes[i].second));
            r.setColumn(col.comment, QStringLiteral("L%1").arg(i + 1));
            p.rows.push_back(r);
        }
        ed->replaceProgram(p, false, QStringLiteral("t"));
    }
    void click(int r) { ed->programList().ListClickItem(r); }
    void insertAt(int r) { click(r), ed->cmdInsert_Click(); }
    void deleteAt(int r) { click(r), ed->cmdDelete_Click(); }
    void copy(std::initializer_list<int> marked, const char* behind = nullptr)
    {
        ed->CopyLines();
        for (int r : marked)
            click(r);
        ed->cmdNext_Click();
        if (behind)
            ed->txtInsertChanged(QString::fromLatin1(behind));
        ed->cmdNext_Click();
    }

    const ProgramRow& row(int r) const { return ed->row(r); }
    QString line(int r) const { return programLineText(ed->row(r), ed->machine()); }
    QString label(FormLabel l) const { return ed->labelText(l); }
    bool on(Command c) const { return ed->commandEnabled(c); }
    // Row count, current row and what is on: "7@5 modified new undo redo insert delete".
    QString state() const
    {
        QStringList s{QStringLiteral("%1@%2").arg(ed->rowCount()).arg(ed->currentRow())};
        const std::pair<bool, const char*> flags[] = {{ed->modified(), "modified"}, {ed->flags().newLinePending, "new"},
            {on(Command::Undo), "undo"}, {on(Command::Redo), "redo"}, {on(Command::Insert), "insert"}, {on(Command::Delete), "delete"}};
        for (const auto& [set, name] : flags)
            if (set)
                s << QLatin1String(name);
        return s.join(QLatin1Char(' '));
    }
    // Number, F column and comment of every row: "0:L 03:L1|1:    :L2|...".
    QString rows() const
    {
        QStringList parts;
        for (int r = 1; r <= ed->rowCount(); ++r)
            parts << QString::number(row(r).column(col.n).trimmed().toInt()) + QLatin1Char(':') + row(r).column(col.f)
                         + QLatin1Char(':') + row(r).column(col.comment);
        return parts.join(QLatin1Char('|'));
    }
};

}  // namespace

TEST_F(EditorTest, NewProgramThenLinesTypedOnTheMark4AndTheMark2)
{
    start(MachineType::Mark4);
    EXPECT_EQ(line(1) + row(1).column(col.mark), QStringLiteral("    00                         +"));
    EXPECT_EQ(state(), QStringLiteral("1@1 new"));
    EXPECT_EQ(label(FormLabel::CodeFrame), QStringLiteral("Bitte G-Code oder M-Code auswählen"));

    pick("G01");
    EXPECT_EQ(label(FormLabel::Code) + label(FormLabel::CodeFrame), QStringLiteral("G01Geradeninterpolation"));
    EXPECT_EQ(label(FormLabel::Param0) + label(FormLabel::Param2) + label(FormLabel::Param3), QStringLiteral("XZF"));
    enter(0, "1250");
    EXPECT_FALSE(on(Command::Undo));  // no undo offered for a line being appended
    enter(2, "-500");
    enter(3, "100");
    comment("Schlichten");
    EXPECT_EQ(row(1).column(col.comment), QString());  // the comment waits for Enter
    commit();
    EXPECT_EQ(line(1) + row(1).column(col.mark), QStringLiteral("    00 01  1250 -  500 100     Schlichten"));
    EXPECT_EQ(row(2).column(col.mark) + row(2).column(col.n), QStringLiteral("+ 01"));
    EXPECT_EQ(state().left(16), QStringLiteral("2@2 modified new"));

    // G33 carries K in the F column: lblFpar names it.
    fill("G33", {{2, "-800"}, {3, "150"}});
    EXPECT_TRUE(ed->labelVisible(FormLabel::Fpar) && label(FormLabel::Fpar) == QStringLiteral("K"));
    commit();
    EXPECT_EQ(line(2), QStringLiteral("    01 33       -  800K150     "));

    // M30 ends the entry of new lines.
    pick("M30");
    commit();
    EXPECT_EQ(state(), QStringLiteral("3@0 modified"));
    EXPECT_FALSE(on(Command::GcodeList));

    // The Mark 2 has no M codes.
    start(MachineType::Mark2);
    EXPECT_EQ(label(FormLabel::CodeFrame), QStringLiteral("Bitte G-Code auswählen"));
    EXPECT_EQ(ed->mcodeList().count(), 0);
}

TEST_F(EditorTest, RefusedValuesGetTheFocusBackAndNeverReachTheRow)
{
    start(MachineType::Mark4);
    pick("G01");
    type(0, QStringLiteral("6000"));
    view.focused = 2;  // the user tabs on
    leave(0);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.box(0), kMax + QStringLiteral("5999|Parameter Eingabe (metric einheiten)"));
    EXPECT_EQ(QStringLiteral("%1 %2 %3 %4").arg(view.focused).arg(view.selField).arg(view.selLength).arg(ed->flags().refusedField),
              QStringLiteral("0 0 9 1"));
    EXPECT_EQ(row(1).column(col.x), QStringLiteral("      "));
    // Passing through other fields on the way back repeats nothing.
    leave(2);
    leave(3);
    EXPECT_EQ(view.boxes.size(), 1u);
    // Enter in the comment checks every visible field and refuses the commit.
    comment("x");
    commit();
    EXPECT_EQ(view.boxes.size(), 2u);
    EXPECT_EQ(row(1).column(col.comment), QString());

    enter(0, "100");
    enter(2, "-50");
    enter(3, "20");
    commit();
    EXPECT_EQ(line(1), QStringLiteral("    00 01   100 -   50  20     x"));

    // A value accepted in metric is refused at the commit after switching.
    fill("G01", {{0, "5000"}, {3, "20"}});
    ed->SetUnitMode(Units::Imperial);
    EXPECT_EQ(label(FormLabel::Units), QStringLiteral("Imperiale Meßeinheiten"));
    commit();
    EXPECT_EQ(view.box(view.boxes.size() - 1), kMax + QStringLiteral("1999|Parameter Eingabe (imperial einheiten)"));
    EXPECT_EQ(ed->rowCount(), 2);

    // The H of a cycle may not pass its X: the next line waits until it fits.
    start(MachineType::Mark4);
    lines({{"G86", {{0, "50"}, {2, "-100"}, {3, "20"}, {4, "60"}}}});
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.focusTimerStarts, 1);
    EXPECT_EQ(row(1).column(col.h), QStringLiteral("  60"));
    ed->tmrSetFocus_Timer();
    EXPECT_EQ(QStringLiteral("%1 %2 %3").arg(view.focused).arg(view.selField).arg(view.selLength), QStringLiteral("4 4 99"));
    enter(4, "50");  // equal to X passes
    commit();
    EXPECT_EQ(line(1), QStringLiteral("    00 86    50 -  100  20  50 "));
}

TEST_F(EditorTest, ALineEditIsOneUndoStepFromItsFirstKeystroke)
{
    start(MachineType::Mark4);
    lines({{"G01", {{0, "100"}, {3, "50"}}}, {"G00", {{0, "10"}}}, {"G90", {}}, {"M30", {}}});
    const QString before = line(1);
    ed->setModified(false);

    // Clicking a line shows it; a field left unchanged changes nothing.
    click(1);
    EXPECT_EQ(ed->fieldText(FormField::Param0), QStringLiteral("100"));
    ed->paramGotFocus(0);
    leave(0);
    leave(3);
    EXPECT_EQ(state(), QStringLiteral("4@1 insert delete"));

    type(0, QStringLiteral("4321"));  // four keystrokes, one snapshot
    EXPECT_FALSE(on(Command::Undo));
    leave(0);
    comment("neu");
    commit();
    EXPECT_EQ(ed->toolTip(Command::Undo) + '|' + ed->toolTip(Command::Redo),
              QStringLiteral("Wiederherstellen der editierten Zeile|Wiederholen der Änderung in der Zeile"));
    const QString after = line(1);
    EXPECT_EQ(after, QStringLiteral("    00 01  4321     00  50     neu"));
    ed->setModified(false);  // as after saving: Undo and Redo are unsaved work again
    ed->cmdUndo_Click();
    EXPECT_EQ(line(1), before);
    EXPECT_EQ(state(), QStringLiteral("4@1 modified redo insert delete"));
    ed->setModified(false);
    ed->cmdRedo_Click();
    EXPECT_EQ(line(1), after);
    EXPECT_EQ(state(), QStringLiteral("4@1 modified undo insert delete"));

    // Undo, then a new edit: Redo is gone.
    ed->cmdUndo_Click();
    type(3, QStringLiteral("60"));
    EXPECT_FALSE(on(Command::Redo));
    leave(3);
    ed->cmdUndo_Click();
    EXPECT_EQ(line(1), before);

    // Up or Down out of an edited field ends that line's edit: Undo reverts the second line only.
    type(0, QStringLiteral("300"));
    leave(0);
    ed->lineDown();
    enter(0, "200");
    ed->cmdUndo_Click();
    EXPECT_EQ(row(1).column(col.x) + row(2).column(col.x), QStringLiteral("   300    10"));
    // A clicked line without parameters gives no field the focus.
    view.focused = -1;
    click(3);
    EXPECT_EQ(view.focused, -1);
}

TEST_F(EditorTest, ACodeChangeIsOneUndoStepAndANewCodeStartsFromTheLastOfItsKind)
{
    start(MachineType::F1);
    lines({{"G01", {{0, "-19999"}, {1, "250"}, {2, "-5"}, {3, "120"}}}, {"G00", {{0, "0"}}}});
    pick("G01");
    EXPECT_EQ(ed->fieldText(FormField::Param0) + ed->fieldText(FormField::Param1) + ed->fieldText(FormField::Param2)
                  + ed->fieldText(FormField::Param3),
              QStringLiteral("-19999250-05120"));
    commit();
    EXPECT_EQ(line(3), QStringLiteral("    02 01-19999  250-   05 120 "));
    lines({{"M30", {}}});

    // Choosing the same code again changes nothing; another code blanks the columns.
    click(2);
    const QString before = line(2);
    pick("G00");
    EXPECT_EQ(ed->undoKind(), UndoKind::InsertedLine);  // from the last insertion, untouched
    pick("G02");
    EXPECT_EQ(ed->undoKind(), UndoKind::ChangedCode);
    EXPECT_EQ(ed->toolTip(Command::Undo), QStringLiteral("Wiederherstellen des ursprünglichen G-Codes"));
    EXPECT_EQ(line(2), QStringLiteral("    01 02                      "));
    ed->cmdUndo_Click();
    EXPECT_EQ(line(2), before);
    // A code chosen while the line's edit is pending belongs to that edit's step.
    type(0, QStringLiteral("7"));
    pick("G01");
    EXPECT_EQ(ed->undoKind(), UndoKind::EditedLine);
}

TEST_F(EditorTest, InsertAndDeleteRenumberTheLinesBehind)
{
    start(MachineType::Mark4);
    lines({{"G00", {}}});
    ed->cmdUndo_Click();
    EXPECT_EQ(ed->rowCount(), 1);
    EXPECT_FALSE(ed->flags().newLinePending);
    ed->cmdRedo_Click();
    EXPECT_EQ(state(), QStringLiteral("2@2 modified new undo"));

    const QString loaded = QStringLiteral("0:    :L1|1:    :L2|2:    :L3|3:    :L4|4:    :L5|5:    :L6");
    load({0, 1, 2, 3, 4, 5});
    insertAt(4);
    EXPECT_EQ(rows(), QStringLiteral("0:    :L1|1:    :L2|2:    :L3|3:    :L4|4:    :|5:    :L5|6:    :L6"));
    EXPECT_EQ(row(5).column(col.mark) + row(5).column(col.g), QStringLiteral("+"));
    EXPECT_EQ(state().left(16), QStringLiteral("7@5 modified new"));
    EXPECT_EQ(ed->toolTip(Command::Undo), QStringLiteral("Entfernen der eingefügten Zeile"));
    // Deleting the new line restores the numbers; the line above becomes current.
    ed->setModified(false);
    ed->cmdDelete_Click();
    EXPECT_EQ(rows(), loaded);
    EXPECT_EQ(state(), QStringLiteral("6@4 modified undo insert delete"));
    ed->cmdUndo_Click();
    EXPECT_EQ(ed->rowCount(), 7);
    EXPECT_EQ(row(5).column(col.mark), QStringLiteral("+"));
    // Deleting the first line keeps position 1, now the former second line.
    load({0, 1, 2});
    deleteAt(1);
    EXPECT_EQ(rows(), QStringLiteral("0:    :L2|1:    :L3"));

    // A file numbered 10, 20, 30 is shifted relative to its own numbers.
    load({10, 20, 30});
    insertAt(1);
    EXPECT_EQ(rows(), QStringLiteral("10:    :L1|11:    :|21:    :L2|31:    :L3"));
    ed->cmdUndo_Click();
    EXPECT_EQ(rows(), QStringLiteral("10:    :L1|20:    :L2|30:    :L3"));
    // The only line deleted leaves one blank line marked "+".
    load({0});
    deleteAt(1);
    EXPECT_EQ(line(1) + row(1).column(col.mark), QString(31, QLatin1Char(' ')) + QLatin1Char('+'));
}

TEST_F(EditorTest, InsertAndCopyStopAtTheLineLimitAndAtNumber999)
{
    // The mill stops at 222 lines.
    start(MachineType::F1);
    load(std::vector<int>(222, 0));
    click(222);
    view.boxes.clear();
    ed->cmdInsert_Click();
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.box(0), QStringLiteral("Der maximalwert für diesen Parameter ist|Zeilen Limit"));
    EXPECT_EQ(ed->rowCount(), 222);
    EXPECT_FALSE(on(Command::Insert));

    // A refused Insert keeps the line being edited, its flags and the undo step.
    start(MachineType::Mark4);
    std::vector<int> numbers(210);
    for (int i = 0; i < 210; ++i)
        numbers[std::size_t(i)] = i;
    load(numbers);
    click(5);
    fill("G01", {{0, "150"}});
    const UndoKind kind = ed->undoKind();
    view.boxes.clear();
    ed->cmdInsert_Click();
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].title, QStringLiteral("Zeilen Limit"));
    EXPECT_EQ(ed->rowCount(), 210);
    EXPECT_FALSE(ed->flags().newLinePending);
    EXPECT_EQ(ed->undoKind(), kind);
    leave(2);  // leaving a field must not blank the line
    EXPECT_EQ(row(5).column(col.g) + row(5).column(col.x), QStringLiteral(" 01   150"));
    ed->cmdDelete_Click();
    EXPECT_TRUE(on(Command::Insert));

    // Numbers go up to 999: a line numbered 999 may be inserted, one more not,
    // neither by Insert nor by a copy.
    load({997, 998});
    insertAt(2);
    EXPECT_EQ(rows(), QStringLiteral("997:    :L1|998:    :L2|999:    :"));
    load({997, 998, 999});
    click(1);
    view.boxes.clear();
    ed->cmdInsert_Click();
    copy({2});
    ASSERT_EQ(view.boxes.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(view.box(i), QStringLiteral("Die Zeilennummern reichen bis 999; es kann keine weitere Zeile eingefügt werden.|Zeilen Limit"));
    EXPECT_EQ(rows(), QStringLiteral("997:    :L1|998:    :L2|999:    :L3"));
    EXPECT_FALSE(ed->modified());
}

TEST_F(EditorTest, UndoAndRedoOfAFinishedLineLeaveACurrentRow)
{
    // A line typed in the middle.
    start(MachineType::Mark4);
    lines({{"G00", {}}, {"G91", {}}, {"M30", {}}});
    insertAt(1);
    lines({{"G90", {}}});
    ASSERT_EQ(ed->currentRow(), 0);  // a finished line leaves no row selected
    ed->cmdUndo_Click();
    ed->cmdRedo_Click();
    ASSERT_GE(ed->currentRow(), 1);
    EXPECT_EQ(label(FormLabel::LineNumber), row(ed->currentRow()).column(col.n).trimmed());
    // Whatever Insert does now, the numbers stay consecutive from 00.
    insertAt(1);
    EXPECT_EQ(rows(), QStringLiteral("0:    :|1:    :|2:    :|3:    :|4:    :"));
}

TEST_F(EditorTest, NewOrReplacedProgramsDropTheOldUndo)
{
    start(MachineType::Mark4);
    lines({{"G01", {{3, "20"}}}});
    view.answers = {7};
    EXPECT_FALSE(ed->NewFile());
    EXPECT_EQ(view.box(0), QStringLiteral("Die aktuelle Datei ist nicht gespeichert\r\nSind Sie sicher das Sie neu starten wollen?|"
                                     "Änderungen nicht gespeichert"));
    EXPECT_EQ(ed->rowCount(), 2);
    view.answers = {6};
    EXPECT_TRUE(ed->NewFile());
    ed->cmdUndo_Click();  // nothing of the old program comes back
    EXPECT_EQ(ed->rowCount(), 1);
    EXPECT_EQ(ed->toolTip(Command::Undo), QStringLiteral("aktuelle Programmzeile wiederherstellen"));

    lines({{"G01", {{0, "1250"}}}});
    const QString text = QStringLiteral("Welle\nAlu\rStahl\r\n%\r\n    N` G`   X `    Z `  F`  H \r\n"
                                        "    00 00  1000    200         Anfahren\r\n"
                                        "    01 01   500-  1000 100     \r\n   \"");
    const DecodeResult decoded = blnDecodeBuffer(text, MachineType::Mark4, Units::Metric);
    ASSERT_TRUE(decoded.accepted);
    ed->replaceProgram(decoded.program, true, QStringLiteral("Titel (unbenannt)"));
    EXPECT_EQ(state(), QStringLiteral("2@1 modified insert delete"));
    // The description keeps its line breaks as read, also when its text box
    // reports it back with line feeds only.
    ed->notesEdited(QStringLiteral("Welle\nAlu\nStahl\n"));
    EXPECT_EQ(ed->description(), QStringLiteral("Welle\nAlu\rStahl\r\n"));
    EXPECT_EQ(ed->units(), Units::Imperial);
    EXPECT_EQ(view.caption, QStringLiteral("Titel (unbenannt)"));
    ed->cmdUndo_Click();
    EXPECT_EQ(strFileOutBuff(ed->program(), MachineType::Mark4), text);
}

TEST_F(EditorTest, CopyWorkflowMarksEntersAndCopiesEachMarkedLineOncePerPass)
{
    start(MachineType::Mark4);
    load({0, 1, 2, 3, 4});
    click(2);
    ed->CopyLines();
    click(3);
    click(4);
    ed->cmdNext_Click();
    EXPECT_EQ(ed->insertText() + ed->copiesText(), QStringLiteral("41"));
    ed->txtInsertChanged(QStringLiteral("99"));  // beyond the last line: the last line's number
    EXPECT_EQ(ed->insertText(), QStringLiteral("4"));
    ed->txtCopiesChanged(QString());
    EXPECT_FALSE(ed->nextEnabled());
    ed->txtCopiesChanged(QStringLiteral("2"));
    EXPECT_TRUE(ed->nextEnabled());
    ed->cmdNext_Click();
    EXPECT_EQ(rows(), QStringLiteral("0:    :L1|1:    :L2|2:    :L3|3:    :L4|4:    :L5|5:    :L3|6:    :L4|7:    :L3|8:    :L4"));
    EXPECT_EQ(state(), QStringLiteral("9@5 modified undo insert delete"));  // at the line behind which the copies went
    for (int r = 1; r <= 9; ++r) {
        EXPECT_EQ(row(r).column(col.mark), QString::fromLatin1(r > 5 ? ">" : " ")) << r;
        EXPECT_FALSE(ed->programList().item(r).marked && r != ed->currentRow()) << r;
    }

    // Copies in front of their sources: each marked line once per pass, in order.
    load({0, 1, 2, 3});
    copy({3, 4}, "0");
    EXPECT_EQ(rows(), QStringLiteral("0:    :L1|1:    :L3|2:    :L4|3:    :L2|4:    :L3|5:    :L4"));
    // A position from a program numbered 10, 20, 30 is kept to its rows, and
    // a huge count stops at the line limit with one message.
    load({10, 20, 30});
    ed->CopyLines();
    click(1);
    ed->cmdNext_Click();
    EXPECT_EQ(ed->insertText(), QStringLiteral("30"));
    ed->txtCopiesChanged(QStringLiteral("99999"));
    view.boxes.clear();
    ed->cmdNext_Click();
    EXPECT_EQ(ed->rowCount(), 210);
    EXPECT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(row(4).column(col.n) + row(4).column(col.comment), QStringLiteral(" 31L1"));
    // Cancel while marking returns to the line that had the caret.
    load({0, 1, 2});
    click(2);
    ed->CopyLines();
    click(3);
    ed->cmdCancel_Click();
    EXPECT_EQ(QStringLiteral("%1@%2").arg(ed->rowCount()).arg(ed->currentRow()), QStringLiteral("3@2"));
    EXPECT_FALSE(ed->programList().item(3).marked);
}

TEST_F(EditorTest, ACopyIsOneUndoStepAndLocksUndoWhileLinesAreMarked)
{
    start(MachineType::Mark4);
    load({0, 1, 2, 3});
    deleteAt(4);  // an earlier step Undo must not return to
    ASSERT_TRUE(on(Command::Undo));
    ed->CopyLines();
    EXPECT_FALSE(on(Command::Undo) || on(Command::Redo));
    click(1);
    click(2);
    ed->cmdUndo_Click();  // no effect while marking
    EXPECT_TRUE(ed->programList().item(1).marked);
    EXPECT_EQ(ed->rowCount(), 3);
    ed->cmdNext_Click();
    ed->txtCopiesChanged(QStringLiteral("2"));
    ed->cmdNext_Click();
    ASSERT_EQ(ed->rowCount(), 7);
    EXPECT_EQ(ed->toolTip(Command::Undo), QStringLiteral("Entfernen der kopierten Zeilen"));
    ed->cmdUndo_Click();
    EXPECT_EQ(rows(), QStringLiteral("0:    :L1|1:    :L2|2:    :L3"));
    for (int r = 1; r <= 3; ++r)  // the marks are gone with the copies
        EXPECT_FALSE(ed->programList().item(r).marked && r != ed->currentRow()) << r;
    ed->cmdRedo_Click();
    ASSERT_EQ(ed->rowCount(), 7);
    EXPECT_EQ(row(4).column(col.mark) + row(5).column(col.comment), QStringLiteral(">L2"));

    // A copy that copies nothing is no change and keeps the step before it.
    ed->setModified(false);
    copy({});
    EXPECT_FALSE(ed->modified());
    EXPECT_EQ(ed->undoKind(), UndoKind::CopiedLines);
    EXPECT_TRUE(on(Command::Undo));
}

TEST_F(EditorTest, CallsAndJumpsFollowTheirLinesThroughRenumbering)
{
    for (MachineType machine : {MachineType::F1, MachineType::Mark4}) {
        SCOPED_TRACE(machineNumber(machine));
        start(machine);
        load({0, 1, 2, 3, 4, 5}, {{" 25", "L 03"}, {" 27", "L 05"}, {"M30", "    "}, {" 00", "    "}, {"M17", "    "}, {"M30", "    "}});
        insertAt(1);
        EXPECT_EQ(rows(), QStringLiteral("0:L 04:L1|1:    :|2:L 06:L2|3:    :L3|4:    :L4|5:    :L5|6:    :L6"));
        ed->cmdUndo_Click();
        // The called line deleted: its call is left for the program check; the jump follows its line.
        deleteAt(4);
        EXPECT_EQ(rows(), QStringLiteral("0:L 03:L1|1:L 04:L2|2:    :L3|3:    :L5|4:    :L6"));
        // A copy in front renumbers the targets behind it; the copied jump follows too.
        copy({2}, "0");
        EXPECT_EQ(rows(), QStringLiteral("0:L 04:L1|1:L 05:L2|2:L 05:L2|3:    :L3|4:    :L5|5:    :L6"));
    }
}

// A view drawing the program (the tool path pane) must hear of every kind of
// change to the rows, and of every move of the shown row, and of nothing else.
TEST_F(EditorTest, ViewHearsOfEveryProgramChangeAndOfTheShownRow)
{
    start(MachineType::Mark4);
    load({0, 1, 2, 3, 4});
    EXPECT_EQ(view.shownRows.back(), 1);
    auto changes = [this](const char* what, bool expected, auto&& action) {
        view.programChanges = 0;
        action();
        EXPECT_EQ(view.programChanges > 0, expected) << what;
    };
    changes("clicking a row", false, [&] { click(4); });
    EXPECT_EQ(view.shownRows.back(), 4);
    // A click that deselects the shown row keeps it shown: no new report.
    const std::size_t reports = view.shownRows.size();
    click(4);
    EXPECT_EQ(view.shownRows.size(), reports);

    changes("a new code", true, [&] { pick("G01"); });
    changes("a field left", true, [&] { enter(2, "-15"); });
    enter(3, "100");
    comment("neu"), commit();
    changes("undo", true, [&] { ed->cmdUndo_Click(); });
    changes("insert", true, [&] { ed->cmdInsert_Click(); });
    EXPECT_EQ(view.shownRows.back(), 5);
    changes("delete", true, [&] { ed->cmdDelete_Click(); });
    EXPECT_EQ(view.shownRows.back(), 4);
    changes("copy", true, [&] { copy({1}); });
    changes("units", true, [&] { ed->SetUnitMode(Units::Imperial); });
    changes("description typed", true, [&] { ed->notesEdited(QStringLiteral("Welle 25 mm")); });
    changes("same description", false, [&] { ed->notesEdited(QStringLiteral("Welle 25 mm")); });
    changes("a row received", true, [&] { ed->appendRow(ed->row(1)); });
    changes("program replaced", true, [&] { load({0, 1}); });
    EXPECT_EQ(view.shownRows.back(), 1);
    view.answers = {6};
    changes("new program", true, [&] { ed->NewFile(); });
    EXPECT_EQ(ed->shownRow(), 1);
}

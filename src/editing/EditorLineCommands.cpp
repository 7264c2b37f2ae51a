// The editor's structural commands: inserting and deleting lines, and the
// one step of undo and redo that guards them and the line edits.
#include "Editor.h"

#include "editing/LineNumbers.h"
#include "editing/ParameterRules.h"
#include "model/NumberFormat.h"

#include <algorithm>

namespace quillon {

namespace {

// Blanks an inserted line leaves in the fields.
constexpr int kInsertFieldBlanks[] = {5, 5, 6, 3, 3};

}  // namespace

// --- insertion ------------------------------------------------------------------------------------

void Editor::cmdInsert_Click()
{
    enableCommand(Command::Insert, false);
    if (blnAlarm())
        return;
    // Nothing changes before the insertion is sure: a refused one leaves the
    // form, the flags and the undo step as they were.
    if (refuseAtLineLimit())
        return;
    int number = 0;
    if (rowCount() == 0) {
        number = lineNumberOf(labelText(FormLabel::LineNumber)) + 1;
    } else {
        if (currentRow() < 1)
            return;  // no line to insert behind
        number = lineNumberOf(row(currentRow()).column(profile().columns.n)) + 1;
    }
    if (refusePastHighestNumber(1)) {
        enableCommand(Command::Insert, true);
        return;
    }
    SetUndo(UndoKind::InsertedLine);
    const QString text = strFormatNumber(QString::number(number), 3, false);
    m_flags.newLinePending = true;
    m_flags.programChange = true;
    for (int k = 0; k < 5; ++k)
        setField(paramField(k), QString(kInsertFieldBlanks[k], QLatin1Char(' ')));
    setField(FormField::Comment, QString());
    m_flags.programChange = false;
    blnInsertLine(text);
    setCodeYellow(true);
    setLabel(FormLabel::LineNumber, strClean(text));
    enableField(FormField::Comment, false);
    m_insertedLine = number;
    m_modified = true;
}

bool Editor::refuseAtLineLimit()
{
    if (rowCount() < profile().lineLimit)
        return false;
    m_view.intStdMsgBox(QStringLiteral("Der maximalwert für diesen Parameter ist"), 48,
                        QStringLiteral("Zeilen Limit"));
    return true;
}

bool Editor::refusePastHighestNumber(int added)
{
    if (highestLineNumber(m_program, m_machine) + added <= kHighestLineNumber)
        return false;
    m_view.intStdMsgBox(lineNumberLimitMessage(), 48, QStringLiteral("Zeilen Limit"));
    return true;
}

bool Editor::blnInsertLine(const QString& number)
{
    const TraceScope trace(m_trace, "modQuillon", "blnInsertLine");
    // The line limit was checked by cmdInsert_Click before anything changed.
    const ColumnNumbers& c = profile().columns;
    for (int r = 1; r <= rowCount(); ++r) {
        ListItem& item = m_program.item(r);
        if (item.column(c.mark) == QLatin1String("+")) {
            item.setColumn(c.mark, QString());
            item.repaint = true;
        }
    }
    const int p = currentRow() + 1;
    int top = m_program.state().topIndex;
    if (p - top > m_program.state().visibleRows - 1)
        ++top;
    shiftLineNumbers(m_program, m_machine, p, 1);
    ProgramRow buffer;
    buffer.setColumn(c.mark, QStringLiteral("+"));
    buffer.setColumn(c.n, number);
    buffer.setColumn(c.g, QString());
    for (int slot = 1; slot <= 5; ++slot) {
        const int width = slotColumnWidth(m_machine, slot);
        if (width > 0)
            buffer.setColumn(slotColumn(slot), QString(width, QLatin1Char(' ')));
    }
    buffer.setColumn(c.comment, QString());
    m_selfSelecting = true;
    m_program.ListInsertItem(p, buffer);
    m_selfSelecting = false;
    rowsChanged();
    DisplayCode(top, p);
    return true;
}

// --- deletion ---------------------------------------------------------------------------------

void Editor::cmdDelete_Click()
{
    if (rowCount() == 0 || m_flags.copyMode)
        return;
    SetUndo(UndoKind::DeletedLine);
    DeleteLine();
    m_modified = true;
    enableCommand(Command::Undo, true);
    m_view.focusProgramList();
}

void Editor::DeleteLine()
{
    const TraceScope trace(m_trace, "modQuillon", "DeleteLine");
    const ColumnNumbers& c = profile().columns;
    int current = currentRow();
    if (current < 1 || current > rowCount())
        current = m_shownRow >= 1 && m_shownRow <= rowCount() ? m_shownRow : 1;
    if (lineNumberOf(row(current).column(c.n)) == m_insertedLine && row(current).column(c.mark) == QLatin1String("+"))
        m_flags.newLinePending = false;
    const int newCurrent = current > 1 ? current - 1 : current;
    const int top = m_program.state().topIndex > 1 ? m_program.state().topIndex - 1 : m_program.state().topIndex;
    if (rowCount() == 1) {
        m_selfSelecting = true;
        m_program.ListClear();
        StoreRow(QString(30, QLatin1Char(' ')), true, m_machine, *this);
        m_selfSelecting = false;
        m_shownRow = 0;
        DisplayCode(1, 1);
    } else {
        m_selfSelecting = true;
        m_program.ListRemoveItem(current);
        m_selfSelecting = false;
        shiftLineNumbers(m_program, m_machine, current, -1);
        DisplayCode(top, newCurrent);
    }
    enableCommand(Command::Insert, true);
    enableCommand(Command::Delete, rowCount() >= 2);
    rowsChanged();
}

// --- undo and redo -------------------------------------------------------------------------------

ListSnapshot Editor::snapshot() const
{
    return ListSnapshot{m_program.items(), m_program.state()};
}

void Editor::restoreSnapshot(const ListSnapshot& snap)
{
    // Rows and selection come back; the list's geometry and column widths are
    // the window's and stay as they are now.
    ListState state = snap.state;
    state.visibleRows = m_program.state().visibleRows;
    state.rowHeight = m_program.state().rowHeight;
    state.columns = m_program.state().columns;
    state.columnCount = m_program.state().columnCount;
    const bool rowsDiffer = !std::equal(
        snap.items.begin(), snap.items.end(), m_program.items().begin(), m_program.items().end(),
        [](const ListItem& a, const ListItem& b) { return a.cells == b.cells; });
    m_selfSelecting = true;
    m_program.restore(snap.items, state);
    m_program.ListClearSelection();
    m_selfSelecting = false;
    // Rows that differ from what was saved are unsaved work, whichever way they changed.
    if (rowsDiffer)
        m_modified = true;
    rowsChanged();
    // A snapshot taken after a finished last line has no current row; the
    // line the caret was on is shown instead, so the form and Insert always
    // have a row to work on.
    int c = snap.state.listIndex;
    if (c < 1 || c > rowCount())
        c = snap.state.caretIndex;
    if (c < 1 || c > rowCount())
        c = std::clamp(m_shownRow, 1, std::max(1, rowCount()));
    if (rowCount() > 0)
        DisplayCode(snap.state.topIndex, c);
}

void Editor::reportShownRow()
{
    if (m_shownRow == m_reportedRow)
        return;
    m_reportedRow = m_shownRow;
    m_view.currentRowChanged(m_shownRow);
}

void Editor::SetUndo(UndoKind kind)
{
    const TraceScope trace(m_trace, "modQuillon", "SetUndo");
    if (rowCount() == 0)
        return;
    takeUndo(kind, snapshot());
}

void Editor::takeUndo(UndoKind kind, ListSnapshot before)
{
    m_undo.take(kind, std::move(before));
    setToolTip(Command::Undo, UndoSnapshots::undoTip(kind));
    setToolTip(Command::Redo, UndoSnapshots::redoTip(kind));
    enableCommand(Command::Undo, false);
    enableCommand(Command::Redo, false);
}

void Editor::cmdUndo_Click()
{
    if (!m_undo.canUndo() || m_flags.copyMode)
        return;
    m_flags.undoBusy = true;
    restoreSnapshot(m_undo.undo(snapshot()));
    const int c = currentRow();
    enableCommand(Command::Undo, false);
    enableCommand(Command::Redo, true);
    if (c >= 1 && row(c).column(profile().columns.mark) != QLatin1String("+"))
        enableCommand(Command::Insert, true);
    enableCommand(Command::Delete, rowCount() >= 2);
    m_flags.newLinePending = false;
    m_flags.undoBusy = false;
    m_flags.fieldEditPending = false;
}

void Editor::cmdRedo_Click()
{
    if (!m_undo.canRedo() || m_flags.copyMode)
        return;
    m_flags.undoBusy = true;
    restoreSnapshot(m_undo.redo());
    m_flags.fieldEditPending = false;
    m_flags.undoBusy = false;
    enableCommand(Command::Redo, false);
    enableCommand(Command::Undo, true);
    enableCommand(Command::Insert, true);
    enableCommand(Command::Delete, rowCount() >= 2);
    // A redone insertion whose line has no code yet is back as an unfinished
    // line; one that was finished is an ordinary line again.
    if (m_undo.kind() == UndoKind::InsertedLine && labelText(FormLabel::Code).isEmpty()) {
        enableCommand(Command::Insert, false);
        enableCommand(Command::Delete, false);
        m_flags.newLinePending = true;
        setCodeYellow(true);
        enableField(FormField::Comment, false);
    }
    enableCommand(Command::GcodeList, true);
    enableCommand(Command::McodeList, m_machine != MachineType::Mark2);
}

}  // namespace quillon

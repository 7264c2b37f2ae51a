#include "CopyWorkflow.h"

#include "editing/Editor.h"
#include "editing/LineNumbers.h"
#include "model/NumberFormat.h"

#include <algorithm>

namespace quillon {

namespace {

const QString kMarkingInstructions = QStringLiteral(
    "Markieren Sie jede Programmzeilen die Sie kopieren wollen:\r\n"
    "a) benutzen Sie die Maus um auf eine beliebige Programmzeile zu clicken\r\n"
    "b) benutzen Sie die Up/Down Cursor Tasten um zur gewünschten "
    "Programmzeile zu gelangen, drücken die 'Space' Taste zum markieren.\r\n"
    "Markierte Programmzeilen sind gelb hervorgehoben\r\n"
    "Clicken Sie auf die Zeile um die 'Markierung' zu löschen "
    "(oder gehen Sie zu der Programmzeile und drücken Sie die 'SPACE' Taste).");
const QString kEntryInstructions = QStringLiteral(
    "Geben Sie in den zwei Feldern unten\r\n"
    "a) die Nummer der Zeile ab der die Kopie eingefügt werden soll und\r\n"
    "b) Wie viele Kopien der markierten Programmzeile Sie erstellen wollen\r\n"
    "Clicken Sie auf 'Next' um das Kopieren auszuführen");

}  // namespace

void CopyWorkflow::setStage(CopyStage stage, const QString& instructions)
{
    m_stage = stage;
    m_editor.m_view.setCopyStage(stage, instructions);
}

void CopyWorkflow::setEntries(const QString& insert, const QString& copies)
{
    m_insertText = insert;
    m_copiesText = copies;
    m_editor.m_view.setCopyEntries(insert, copies);
    setNextEnabled(!insert.isEmpty() && !copies.isEmpty());
}

void CopyWorkflow::setNextEnabled(bool enabled)
{
    m_nextEnabled = enabled;
    m_editor.m_view.setNextEnabled(enabled);
}

int CopyWorkflow::lastLineNumber() const
{
    const int n = m_editor.rowCount();
    return n > 0 ? lineNumberOf(m_editor.row(n).column(m_editor.profile().columns.n)) : 0;
}

int CopyWorkflow::markedCount() const
{
    const ListControl& list = m_editor.m_program;
    return static_cast<int>(std::count_if(list.items().begin(), list.items().end(),
                                          [](const ListItem& item) { return item.marked; }));
}

void CopyWorkflow::start()
{
    const TraceScope trace(m_editor.m_trace, "frmQuillon", "CopyLines");
    Editor& ed = m_editor;
    if (active() || ed.rowCount() == 0)
        return;
    ed.m_flags.copyMode = true;
    ed.m_view.commandState(false);
    // Undo would bring back rows under the marks; it waits until copying ends.
    m_undoWasEnabled = ed.commandEnabled(Command::Undo);
    m_redoWasEnabled = ed.commandEnabled(Command::Redo);
    for (Command c : {Command::Insert, Command::Delete, Command::Undo, Command::Redo, Command::GcodeList,
                      Command::McodeList})
        ed.enableCommand(c, false);
    setStage(CopyStage::Marking, kMarkingInstructions);
    setNextEnabled(true);
    ListControl& list = ed.m_program;
    m_returnLine = list.state().caretIndex;
    ed.m_selfSelecting = true;
    list.ListClearSelection();
    list.ListSetMode(SelectionMode::MultiMark);
    list.ListRefresh();
    list.ListLostFocus();
    ed.m_selfSelecting = false;
    ed.m_view.focusProgramList();
}

void CopyWorkflow::key(ListKey key)
{
    if (!active())
        return;
    m_editor.m_program.ListKeyDown(key);
}

void CopyWorkflow::next()
{
    if (!active())
        return;
    if (m_stage == CopyStage::Marking) {
        setStage(CopyStage::Entering, kEntryInstructions);
        setEntries(QString::number(lastLineNumber()), QStringLiteral("1"));
        return;
    }
    Editor& ed = m_editor;
    ed.m_selfSelecting = true;
    ed.m_program.ListGotFocus();
    ed.m_selfSelecting = false;
    // A program numbered 10, 20, 30 would put the position past its rows;
    // the position is kept to a row that exists.
    const int caret = std::clamp(m_insertText.toInt() + 1, 1, std::max(1, ed.rowCount()));
    // More copies than the line limit can never fit; the count is capped there.
    const int copies =
        static_cast<int>(std::min(m_copiesText.toLongLong(), static_cast<long long>(ed.profile().lineLimit)));
    const int marked = markedCount();
    if (copies > 0 && marked > 0) {
        if (!ed.refusePastHighestNumber(copies * marked)) {
            m_returnLine = caret;
            copyMarked(caret, copies);
        }
    }
    cancel();
}

int CopyWorkflow::copyMarked(int caret, int copies)
{
    Editor& ed = m_editor;
    // Refused before anything changes, so the older undo step stays.
    if (ed.refuseAtLineLimit())
        return 0;
    // The step Undo takes back is the program as it was before the marks.
    ListSnapshot before = ed.snapshot();
    for (ListItem& item : before.items)
        item.marked = false;
    before.state.selectionMode = SelectionMode::SingleAfterCopy;
    before.state.selectedCount = 0;
    before.state.listIndex = std::clamp(m_returnLine, 1, ed.rowCount());
    before.state.caretIndex = before.state.listIndex;
    ed.takeUndo(UndoKind::CopiedLines, std::move(before));

    int copied = 0;
    bool failed = false;
    for (int pass = 0; pass < copies && !failed; ++pass) {
        int r = 1;
        while (r <= ed.rowCount()) {
            if (!ed.m_program.item(r).marked) {
                ++r;
                continue;
            }
            if (!blnCopyLine(r, caret)) {
                failed = true;
                break;
            }
            ++copied;
            const bool inFront = caret + 1 <= r;
            ++caret;
            r += inFront ? 2 : 1;
        }
    }
    ed.m_modified = true;
    m_undoWasEnabled = true;
    m_redoWasEnabled = false;
    return copied;
}

bool CopyWorkflow::blnCopyLine(int source, int caret)
{
    const TraceScope trace(m_editor.m_trace, "modQuillon", "blnCopyLine");
    Editor& ed = m_editor;
    if (ed.refuseAtLineLimit())
        return false;
    const ColumnNumbers& c = ed.profile().columns;
    const int number = lineNumberOf(ed.row(caret).column(c.n)) + 1;
    shiftLineNumbers(ed.m_program, ed.machine(), caret + 1, 1);
    ProgramRow buffer = ed.row(source);
    buffer.setColumn(c.mark, QStringLiteral(">"));
    buffer.setColumn(c.n, strFormatNumber(QString::number(number), 3, false));
    ed.m_selfSelecting = true;
    ed.m_program.ListInsertItem(caret + 1, buffer);
    ed.m_selfSelecting = false;
    ed.rowsChanged();
    return true;
}

void CopyWorkflow::cancel()
{
    if (!active())
        return;
    Editor& ed = m_editor;
    ListControl& list = ed.m_program;
    ed.m_selfSelecting = true;
    list.ListClearSelection();
    list.ListSetMode(SelectionMode::SingleAfterCopy);
    list.ListGotFocus();
    list.ListRefresh();
    ed.m_selfSelecting = false;
    ed.enableCommand(Command::GcodeList, true);
    ed.enableCommand(Command::McodeList, ed.machine() != MachineType::Mark2);
    setStage(CopyStage::Off, QString());
    setNextEnabled(false);
    ed.m_flags.copyMode = false;
    ed.m_view.commandState(true);
    ed.enableCommand(Command::Delete, ed.rowCount() >= 2);
    ed.enableCommand(Command::Insert, !ed.m_flags.newLinePending);
    ed.enableCommand(Command::Undo, m_undoWasEnabled);
    ed.enableCommand(Command::Redo, m_redoWasEnabled);
    const int back = std::clamp(m_returnLine, 1, std::max(1, ed.rowCount()));
    if (ed.rowCount() > 0) {
        ed.m_shownRow = 0;
        list.ListSetIndex(back);
    }
}

void CopyWorkflow::insertChanged(const QString& text)
{
    QString value = text;
    bool ok = false;
    const long long n = text.toLongLong(&ok);
    if (ok && n > lastLineNumber())
        value = QString::number(lastLineNumber());
    if (value != text)
        m_editor.m_view.setCopyEntries(value, m_copiesText);
    m_insertText = value;
    setNextEnabled(!value.isEmpty());
}

void CopyWorkflow::copiesChanged(const QString& text)
{
    m_copiesText = text;
    setNextEnabled(!text.isEmpty());
}

}  // namespace quillon

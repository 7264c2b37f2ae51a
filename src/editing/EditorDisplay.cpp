// The editor's display of the current row: the form's fields, captions and
// code, and the recently used G codes.
#include "Editor.h"

#include "editing/ParameterRules.h"
#include "model/NumberFormat.h"

#include <algorithm>

namespace quillon {

namespace {

// Blanks a field shows when its column is empty: X, Y, Z, F, H.
constexpr int kEmptyFieldBlanks[] = {5, 5, 6, 3, 3};

}  // namespace

// --- display ------------------------------------------------------------------------

void Editor::DisplayFields(bool refill)
{
    const TraceScope trace(m_trace, "modQuillon", "DisplayFields");
    m_flags.displayBusy = true;
    if (rowCount() == 0) {
        m_flags.displayBusy = false;
        return;
    }
    if (currentRow() == 0) {
        m_selfSelecting = true;
        m_program.ListSelect(1);
        m_program.ListRefresh();
        m_selfSelecting = false;
    }
    const int r = currentRow() > 0 ? currentRow() : 1;
    // Another line becoming current ends the line edit, whichever way it
    // became current, so one Undo never reaches back over two lines.
    if (r != m_shownRow)
        m_flags.fieldEditPending = false;
    m_shownRow = r;
    reportShownRow();
    const ColumnNumbers& c = profile().columns;
    const ProgramRow& rw = row(r);
    const QString lineNumber = strClean(rw.column(c.n));
    QString code = strClean(rw.column(c.g));
    if (!code.startsWith(QLatin1Char('M')))
        code.prepend(QLatin1Char('G'));
    const CodeEntry* entry = m_tables.findCode(code);

    const QString fourth = entry ? entry->slotLetters[3] : QString();
    if (!fourth.isEmpty() && fourth != QLatin1String("F") && fourth != QLatin1String("f")
        && fourth != QLatin1String("k")) {
        setLabel(FormLabel::Fpar, fourth);
        showLabel(FormLabel::Fpar, true);
    } else {
        showLabel(FormLabel::Fpar, false);
    }
    setLabel(FormLabel::LineNumber, lineNumber);

    if (entry) {
        setLabel(FormLabel::Code, entry->code);
        setLabel(FormLabel::CodeFrame, entry->description);
        for (FormLabel l : {FormLabel::LineHead, FormLabel::LineNumber, FormLabel::CodeHead, FormLabel::Code})
            showLabel(l, true);
        if (refill) {
            m_flags.refusedField = 0;
            for (int slot = 1; slot <= 5; ++slot) {
                const int column = slotColumn(slot);
                if (column == 0)
                    continue;
                const QString value = strClean(rw.column(column));
                m_flags.programChange = true;
                setField(paramField(slot - 1),
                         value.isEmpty() ? QString(kEmptyFieldBlanks[slot - 1], QLatin1Char(' ')) : value);
                m_flags.programChange = false;
            }
        }
        // Only a refill replaces the comment: after a value was stored, what
        // the user typed into the comment stays until the line is finished.
        if (refill) {
            m_flags.programChange = true;
            setField(FormField::Comment, rw.column(c.comment));
            m_flags.programChange = false;
        }
        for (int k = 0; k < 5; ++k)
            SetParam(entry->slotLetters[static_cast<std::size_t>(k)], k);
    } else {
        for (int k = 0; k < 5; ++k) {
            showField(paramField(k), false);
            showLabel(paramLabel(k), false);
        }
        setLabel(FormLabel::Code, QString());
        setLabel(FormLabel::CodeFrame, QString());
        m_flags.programChange = true;
        setField(FormField::Comment, QString());
        m_flags.programChange = false;
    }

    if (labelText(FormLabel::Code).isEmpty()) {
        setCodeYellow(true);
        enableField(FormField::Comment, false);
        m_view.setCodeFramePrompt(true);
        setLabel(FormLabel::CodeFrame, m_machine == MachineType::Mark2
                                           ? QStringLiteral("Bitte G-Code auswählen")
                                           : QStringLiteral("Bitte G-Code oder M-Code auswählen"));
    } else {
        m_view.setCodeFramePrompt(false);
        setCodeYellow(false);
        enableField(FormField::Comment, true);
    }

    const bool hasCode = !rw.column(c.g).trimmed().isEmpty();
    enableCommand(Command::Insert,
                  rowCount() <= profile().lineLimit && hasCode && !m_flags.newLinePending);
    enableCommand(Command::Delete, rowCount() >= 2);
    m_flags.displayBusy = false;
}

void Editor::DisplayCode(int topRow, int r)
{
    const TraceScope trace(m_trace, "modQuillon", "DisplayCode");
    if (r < 1 || r > rowCount())
        return;
    m_selfSelecting = true;
    m_program.ListSetTop(topRow);
    if (currentRow() != r)
        m_program.ListSelect(r);
    m_program.ListMoveCaret(r, false);
    const int top = m_program.state().topIndex;
    const int visible = m_program.state().visibleRows;
    if (r < top)
        m_program.ListSetTop(r);
    else if (visible > 0 && r > top + visible - 1)
        m_program.ListSetTop(r - visible + 1);
    m_program.ListRedrawAll();
    m_selfSelecting = false;
    DisplayFields(true);
}

void Editor::SetParam(const QString& letter, int index)
{
    const TraceScope trace(m_trace, "modQuillon", "SetParam");
    const FormField f = paramField(index);
    FieldState& field = m_fields[static_cast<std::size_t>(index)];
    const bool enabled = !letter.isEmpty();
    if (enabled) {
        field.letter = letter;
        setLabel(paramLabel(index), strParamCaption(letter));
    }
    enableField(f, enabled);
    showLabel(paramLabel(index), enabled);
    showField(f, enabled);
}

void Editor::AddMRU(int index)
{
    const TraceScope trace(m_trace, "modQuillon", "AddMRU");
    if (index < 1 || index > m_gcodes.count())
        return;
    const ProgramRow chosen = m_gcodes.item(index).cells;
    const QString code = chosen.column(1);
    const int head = std::min(4, m_gcodes.count());
    int blue = 0;
    for (int i = 1; i <= head; ++i) {
        const ListItem& item = m_gcodes.item(i);
        if (item.colour != kListBlue)
            continue;
        if (item.column(1) == code)
            return;
        ++blue;
    }
    if (blue < 4) {
        int position = blue + 1;
        for (int i = 1; i <= blue; ++i) {
            if (m_gcodes.item(i).column(1) > code) {
                position = i;
                break;
            }
        }
        m_gcodes.ListInsertItem(position, chosen, kListBlue);
    } else {
        int position = 4;
        for (int i = 1; i <= 4; ++i) {
            if (!(m_gcodes.item(i).column(1) < code)) {
                position = i;
                break;
            }
        }
        ListItem& item = m_gcodes.item(position);
        item.cells = chosen;
        item.repaint = true;
    }
    m_gcodes.ListRefresh();
}

}  // namespace quillon

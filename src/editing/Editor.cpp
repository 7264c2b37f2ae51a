#include "Editor.h"

#include "editing/ParameterRules.h"
#include "model/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

const QString kUndoTips[] = {
    QString(),
    QStringLiteral("Wiederherstellen der editierten Zeile"),
    QStringLiteral("Wiederherstellen der gelöschten Zeile"),
    QStringLiteral("Entfernen der eingefügten Zeile"),
    QStringLiteral("Wiederherstellen des ursprünglichen G-Codes"),
};
const QString kRedoTips[] = {
    QString(),
    QStringLiteral("Wiederholen der Änderung in der Zeile"),
    QStringLiteral("Löschen der wiederhergestellten Zeile"),
    QStringLiteral("Wiederherstellen der eingefügten Zeile"),
    QStringLiteral("Wiederholen der Änderung in der G-Codes"),
};
const QString kUndoDesignTip = QStringLiteral("aktuelle Programmzeile wiederherstellen");
const QString kRedoDesignTip = QStringLiteral("Wiederherstellen der ursprünglichen Werte");

// Blanks a field shows when its column is empty: X, Y, Z, F, H.
constexpr int kEmptyFieldBlanks[] = {5, 5, 6, 3, 3};
// Blanks an inserted line leaves in the fields.
constexpr int kInsertFieldBlanks[] = {5, 5, 6, 3, 3};

int lineNumberOf(const QString& text)
{
    return static_cast<int>(std::lround(leadingNumber(text)));
}

}  // namespace

Editor::Editor(EditorView& view, MachineType machine, bool woodworker, Units units)
    : m_view(view), m_machine(machine)
{
    m_tables.GetCommands(machine, woodworker);
    m_program.addObserver(this);
    m_gcodes.addObserver(this);
    m_mcodes.addObserver(this);
    m_tooltips[idx(Command::Undo)] = kUndoDesignTip;
    m_tooltips[idx(Command::Redo)] = kRedoDesignTip;
    m_fields[idx(FormField::Comment)].visible = true;
    m_fields[idx(FormField::Notes)].visible = true;
    m_fields[idx(FormField::Notes)].enabled = true;
    SetUnitMode(units);
}

Editor::~Editor()
{
    m_program.removeObserver(this);
    m_gcodes.removeObserver(this);
    m_mcodes.removeObserver(this);
}

void Editor::loadCodeLists()
{
    for (const CodeEntry& e : m_tables.codes()) {
        ProgramRow texts;
        texts.setColumn(1, e.code);
        texts.setColumn(2, e.description);
        (e.isGCode() ? m_gcodes : m_mcodes).ListAddItem(texts);
    }
}

Program Editor::program() const
{
    Program p;
    p.description = m_description;
    p.units = m_units;
    p.rows.reserve(static_cast<std::size_t>(rowCount()));
    for (const ListItem& item : m_program.items())
        p.rows.push_back(item.cells);
    return p;
}

// --- small setters that keep the form model and the window in step ----------

void Editor::setField(FormField f, const QString& text)
{
    m_fields[idx(f)].text = text;
    m_view.setFieldText(f, text);
}

void Editor::showField(FormField f, bool visible)
{
    m_fields[idx(f)].visible = visible;
    m_view.setFieldVisible(f, visible);
}

void Editor::enableField(FormField f, bool enabled)
{
    m_fields[idx(f)].enabled = enabled;
    m_view.setFieldEnabled(f, enabled);
}

void Editor::setLabel(FormLabel l, const QString& text)
{
    m_labels[idx(l)].text = text;
    m_view.setLabelText(l, text);
}

void Editor::showLabel(FormLabel l, bool visible)
{
    m_labels[idx(l)].visible = visible;
    m_view.setLabelVisible(l, visible);
}

void Editor::enableCommand(Command c, bool enabled)
{
    m_commands[idx(c)] = enabled;
    m_view.setCommandEnabled(c, enabled);
}

void Editor::setToolTip(Command c, const QString& tip)
{
    m_tooltips[idx(c)] = tip;
    m_view.setCommandToolTip(c, tip);
}

void Editor::setCodeYellow(bool yellow)
{
    m_codeYellow = yellow;
    m_view.setCodeLabelYellow(yellow);
}

void Editor::focusFirstParam(bool orComment)
{
    for (int k = 0; k < 5; ++k) {
        const FieldState& f = m_fields[static_cast<std::size_t>(k)];
        if (f.visible && f.enabled) {
            m_view.focusField(paramField(k));
            return;
        }
    }
    if (orComment) {
        enableField(FormField::Comment, true);
        m_view.focusField(FormField::Comment);
    }
}

int Editor::slotColumn(int slot) const
{
    return profile().columns.forSlot(slot);
}

QString Editor::gColumnForm(const QString& code)
{
    return code.startsWith(QLatin1Char('G')) ? QLatin1Char(' ') + code.right(2) : code;
}

// --- program replacement --------------------------------------------------------

bool Editor::NewFile()
{
    if (m_modified) {
        const int answer = m_view.intStdMsgBox(
            QStringLiteral("Die aktuelle Datei ist nicht gespeichert\r\n"
                           "Sind Sie sicher das Sie neu starten wollen?"),
            292, QStringLiteral("Änderungen nicht gespeichert"));
        if (answer != 6)
            return false;
    }
    m_program.ListClear();
    m_shownRow = 0;
    m_insertedLine = -1;
    setLabel(FormLabel::LineNumber, QStringLiteral(" -1"));
    setDescription(QString());
    setCodeYellow(true);
    showLabel(FormLabel::Code, true);
    showLabel(FormLabel::CodeHead, true);
    enableField(FormField::Comment, false);
    m_modified = false;
    m_view.setCaption(profile().title + QStringLiteral(" (unbenannt)"));
    enableCommand(Command::Delete, false);
    discardUndo();
    m_flags.fieldEditPending = false;
    m_flags.newLinePending = false;
    m_flags.refusedField = 0;
    enableCommand(Command::GcodeList, true);
    enableCommand(Command::McodeList, m_machine != MachineType::Mark2);
    cmdInsert_Click();
    // The first line of a new program is part of starting it, not a change.
    m_modified = false;
    rowsChanged();
    reportShownRow();
    return true;
}

void Editor::replaceProgram(const Program& program, bool modified, const QString& caption)
{
    m_program.ListClear();
    m_shownRow = 0;
    m_insertedLine = -1;
    m_flags.fieldEditPending = false;
    m_flags.newLinePending = false;
    m_flags.refusedField = 0;
    setDescription(program.description);
    for (const ProgramRow& row : program.rows)
        m_program.ListAddItem(row);
    SetUnitMode(program.units);
    discardUndo();
    enableCommand(Command::Delete, rowCount() >= 2);
    enableCommand(Command::GcodeList, true);
    enableCommand(Command::McodeList, m_machine != MachineType::Mark2);
    if (rowCount() > 0)
        m_program.ListSetIndex(1);
    m_modified = modified;
    m_view.setCaption(caption);
    rowsChanged();
    reportShownRow();
}

void Editor::appendRow(const ProgramRow& row)
{
    m_program.ListAddItem(row);
    rowsChanged();
}

void Editor::SetUnitMode(Units units)
{
    m_units = units;
    setLabel(FormLabel::Units, units == Units::Imperial ? QStringLiteral("Imperiale Meßeinheiten")
                                                         : QStringLiteral("Metrisches Meßsystem"));
    m_view.setUnits(units);
    rowsChanged();
}

void Editor::discardUndo()
{
    m_undo = {};
    m_redo = {};
    m_redoTaken = false;
    m_undoKind = UndoKind::None;
    enableCommand(Command::Undo, false);
    enableCommand(Command::Redo, false);
    setToolTip(Command::Undo, kUndoDesignTip);
    setToolTip(Command::Redo, kRedoDesignTip);
}

// --- display ------------------------------------------------------------------------

void Editor::DisplayFields(bool refill)
{
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
        m_flags.programChange = true;
        setField(FormField::Comment, rw.column(c.comment));
        m_flags.programChange = false;
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

// --- list notifications --------------------------------------------------------------

void Editor::listSelectionReported(const ListControl& list)
{
    if (m_selfSelecting)
        return;
    if (&list == &m_program) {
        programListChanged();
    } else if (&list == &m_gcodes) {
        clearCodeSelection(m_mcodes);
        CodeChange(m_gcodes);
    } else if (&list == &m_mcodes) {
        clearCodeSelection(m_gcodes);
        CodeChange(m_mcodes);
    }
}

void Editor::codeListGotFocus(ListId list)
{
    if (list == ListId::Gcode)
        clearCodeSelection(m_mcodes);
    else if (list == ListId::Mcode)
        clearCodeSelection(m_gcodes);
}

void Editor::clearCodeSelection(ListControl& list)
{
    // Clearing flags every entry for repainting; a list with nothing chosen
    // is left alone so that moving through the program stays cheap.
    if (list.state().listIndex == 0 && list.state().selectedCount == 0)
        return;
    m_selfSelecting = true;
    list.ListClearSelection();
    list.ListRefresh();
    m_selfSelecting = false;
}

void Editor::programListChanged()
{
    if (m_flags.copyMode)
        return;
    enableCommand(Command::GcodeList, true);
    enableCommand(Command::McodeList, m_machine != MachineType::Mark2);
    clearCodeSelection(m_gcodes);
    clearCodeSelection(m_mcodes);
    if (currentRow() == 0 && m_shownRow >= 1 && m_shownRow <= rowCount()) {
        // A click on the shown row deselects it; it stays the line being edited.
        m_selfSelecting = true;
        m_program.ListSelect(m_shownRow);
        m_program.ListRefresh();
        m_selfSelecting = false;
    }
    DisplayFields(true);
    m_flags.fieldEditPending = false;
    focusFirstParam(false);
    enableCommand(Command::Delete, rowCount() > 1);
}

// --- parameter fields --------------------------------------------------------------------

void Editor::paramGotFocus(int index)
{
    m_view.selectFieldText(paramField(index), 0, 99);
    m_flags.programChange = false;
}

void Editor::paramEdited(int index, const QString& text)
{
    const FormField f = paramField(index);
    m_fields[idx(f)].text = text;
    if (!m_flags.fieldEditPending && !m_flags.programChange) {
        SetUndo(UndoKind::EditedLine);
        m_flags.programChange = true;
        const QString trimmed = text.trimmed();
        if (!trimmed.isEmpty()) {
            if (trimmed != text)
                setField(f, trimmed);
        } else if (!m_flags.deleteKey) {
            setField(f, QStringLiteral("   "));
        }
        m_flags.fieldEditPending = true;
    }
    m_flags.programChange = false;
    m_flags.deleteKey = false;
}

void Editor::paramDeletePressed(int /*index*/)
{
    m_flags.deleteKey = true;
}

void Editor::paramEnterPressed(int index)
{
    for (int k = index + 1; k < 5; ++k) {
        const FieldState& f = m_fields[static_cast<std::size_t>(k)];
        if (f.visible && f.enabled) {
            m_view.focusField(paramField(k));
            return;
        }
    }
    if (fieldVisible(FormField::Comment) && fieldEnabled(FormField::Comment))
        m_view.focusField(FormField::Comment);
    else
        m_view.focusProgramList();
}

void Editor::paramLostFocus(int index)
{
    // A field the form itself hides or disables while it is being filled loses
    // its focus then; that is no user leaving it.
    if (m_flags.receiving || m_flags.displayBusy || m_flags.updateBusy)
        return;
    if ((m_flags.refusedField == 0 || m_flags.refusedField == index + 1) && !m_flags.undoBusy
        && !m_flags.programChange && fieldVisible(paramField(index))) {
        m_flags.programChange = true;
        if (blnCheckRange(index)) {
            m_flags.refusedField = 0;
            if (!m_flags.copyMode)
                UpdateLine(index + 2);
        } else {
            m_flags.refusedField = index + 1;
        }
    }
    m_flags.programChange = false;
    if (m_flags.fieldEditPending && !m_flags.newLinePending)
        enableCommand(Command::Undo, true);
}

bool Editor::blnCheckRange(int index)
{
    const FieldState& field = m_fields[static_cast<std::size_t>(index)];
    const RangeVerdict verdict =
        checkParamRange(m_tables, field.letter, m_units, paramFieldValue(field.text));
    if (verdict.accepted)
        return true;
    m_view.intStdMsgBox(verdict.message, 48, rangeMessageTitle(m_units));
    m_view.selectFieldText(paramField(index), 0, 9);
    if (field.visible && field.enabled)
        m_view.focusField(paramField(index));
    return false;
}

bool Editor::blnAlarm()
{
    if (m_machine != MachineType::Mark4 || currentRow() < 1)
        return false;
    const std::optional<QString> message = hAlarmMessage(m_machine, row(currentRow()));
    if (!message)
        return false;
    m_view.intStdMsgBox(*message, 48, QString());
    m_view.startFocusTimer();
    return true;
}

void Editor::tmrSetFocus_Timer()
{
    m_view.selectFieldText(FormField::Param4, 0, 99);
    m_view.focusField(FormField::Param4);
}

// --- comment and description ------------------------------------------------------------

void Editor::commentGotFocus()
{
    m_view.selectFieldText(FormField::Comment, 0, 99);
    m_flags.programChange = false;
}

void Editor::commentEdited(const QString& text)
{
    m_fields[idx(FormField::Comment)].text = text;
    if (!m_flags.fieldEditPending && !m_flags.programChange) {
        SetUndo(UndoKind::EditedLine);
        m_flags.programChange = true;
        if (!text.isEmpty() && text.trimmed().isEmpty())
            setField(FormField::Comment, QString(10, QLatin1Char(' ')));
        else if (text.startsWith(QLatin1String("   ")))
            setField(FormField::Comment, text.trimmed());
        m_flags.fieldEditPending = true;
    }
    m_flags.programChange = false;
}

bool Editor::commentEnterPressed()
{
    if (labelText(FormLabel::Code).isEmpty() || m_flags.programChange)
        return true;
    // Every visible value is checked again before the line is stored: a value
    // that never left its field (or that the units switch put out of range)
    // must not reach the row.
    for (int k = 0; k < 5; ++k) {
        if (!fieldVisible(paramField(k)))
            continue;
        m_flags.programChange = true;
        const bool accepted = blnCheckRange(k);
        m_flags.programChange = false;
        if (!accepted) {
            m_flags.refusedField = k + 1;
            return true;
        }
    }
    m_flags.refusedField = 0;

    m_flags.programChange = true;
    UpdateLine(0);
    clearCodeSelection(m_gcodes);
    if (m_machine != MachineType::Mark2)
        clearCodeSelection(m_mcodes);

    if (m_flags.newLinePending) {
        const int r = currentRow();
        const QString g = r >= 1 ? row(r).column(profile().columns.g) : QString();
        if (g != QLatin1String("M30") && g != QLatin1String(" 22") && r == rowCount()) {
            m_flags.fieldEditPending = false;
            cmdInsert_Click();
        } else {
            enableCommand(Command::Insert, false);
            enableCommand(Command::Delete, false);
            enableCommand(Command::GcodeList, false);
            enableCommand(Command::McodeList, false);
            for (FormLabel l : {FormLabel::CodeHead, FormLabel::Code})
                showLabel(l, false);
            for (int k = 0; k < 5; ++k) {
                showLabel(paramLabel(k), false);
                showField(paramField(k), false);
            }
            setField(FormField::Comment, QString());
            enableField(FormField::Comment, false);
            showLabel(FormLabel::Fpar, false);
            m_selfSelecting = true;
            m_program.ListClearSelection();
            m_program.ListRefresh();
            m_selfSelecting = false;
            m_flags.newLinePending = false;
        }
    }
    m_flags.programChange = false;
    if (m_flags.fieldEditPending)
        enableCommand(Command::Undo, true);
    return true;
}

namespace {

QString withCrLf(const QString& text)
{
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return result;
}

// The description as its text box shows it: every line break alike.
QString asShown(const QString& text)
{
    return QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

}  // namespace

void Editor::setDescription(const QString& text)
{
    // Kept as read, lone CR or LF included, so that saving unedited writes it back unchanged.
    m_description = text;
    setField(FormField::Notes, m_description);
    rowsChanged();
}

void Editor::notesEdited(const QString& text)
{
    m_fields[idx(FormField::Notes)].text = text;
    if (asShown(m_description) != asShown(text)) {
        m_description = withCrLf(text);
        // The description is saved with the program; an edit to it is unsaved work.
        m_modified = true;
        rowsChanged();
    }
}

void Editor::lineUp()
{
    const int caret = m_program.state().caretIndex;
    if (caret >= 2)
        DisplayCode(m_program.state().topIndex, caret - 1);
}

void Editor::lineDown()
{
    const int caret = m_program.state().caretIndex;
    if (caret >= 1 && caret < rowCount())
        DisplayCode(m_program.state().topIndex, caret + 1);
}

// --- line update -----------------------------------------------------------------------------

void Editor::UpdateLine(int column)
{
    if (m_flags.displayBusy || m_flags.updateBusy)
        return;
    const int r = currentRow();
    if (r < 1)
        return;
    m_flags.updateBusy = true;
    const ColumnNumbers& c = profile().columns;
    ListItem& item = m_program.item(r);
    ProgramRow& rw = item.cells;
    const QString code = labelText(FormLabel::Code);
    const CodeEntry* entry = m_tables.findCode(code);
    bool changed = false;

    if (column == 1) {
        rw.setColumn(c.g, gColumnForm(code));
        for (int slot = 1; slot <= 5; ++slot) {
            const int width = slotColumnWidth(m_machine, slot);
            if (width > 0)
                rw.setColumn(slotColumn(slot), QString(width, QLatin1Char(' ')));
        }
        rw.setColumn(c.comment, QString());
        changed = true;
    } else if (entry) {
        for (int slot = 1; slot <= 5; ++slot) {
            const QString& letter = entry->slotLetters[static_cast<std::size_t>(slot - 1)];
            if (letter.isEmpty() || (column != 0 && column != slot + 1))
                continue;
            if (slotColumnWidth(m_machine, slot) == 0)
                continue;  // the lathes have no Y column
            // The value is the whole number the range check accepted, so a
            // pasted "12.7" cannot round past a limit on its way into the row.
            const QString text = strSlotText(m_machine, slot, letter,
                                             paramFieldValue(m_fields[static_cast<std::size_t>(slot - 1)].text));
            if (rw.column(slotColumn(slot)) != text) {
                rw.setColumn(slotColumn(slot), text);
                changed = true;
            }
        }
        if (column == 0) {
            const QString comment = fieldText(FormField::Comment).trimmed();
            if (rw.column(c.comment) != comment) {
                rw.setColumn(c.comment, comment);
                changed = true;
            }
        }
    }

    if (changed) {
        m_modified = true;
        item.repaint = true;
        rowsChanged();
        m_program.ListRefresh();
        DisplayFields(false);
    }
    m_flags.updateBusy = false;
}

void Editor::CodeChange(ListControl& list)
{
    const int selected = list.state().listIndex;
    if (selected < 1 || currentRow() < 1)
        return;
    const ProgramRow chosen = list.item(selected).cells;
    const QString code = chosen.column(1);
    if (code == labelText(FormLabel::Code))
        return;
    if (!m_flags.fieldEditPending && !m_flags.newLinePending)
        SetUndo(UndoKind::ChangedCode);
    setLabel(FormLabel::Code, code);
    setLabel(FormLabel::CodeFrame, chosen.column(2));

    const ColumnNumbers& c = profile().columns;
    const QString gForm = gColumnForm(code);
    for (int r = currentRow() - 1; r >= 1; --r) {
        const ProgramRow& earlier = row(r);
        if (earlier.column(c.g) != gForm)
            continue;
        for (int slot = 1; slot <= 5; ++slot) {
            if (slotColumnWidth(m_machine, slot) == 0)
                continue;
            m_flags.programChange = true;
            setField(paramField(slot - 1), strClean(earlier.column(slotColumn(slot))));
            m_flags.programChange = false;
        }
        break;
    }
    m_flags.programChange = true;
    setField(FormField::Comment, QString());
    m_flags.programChange = false;
    UpdateLine(1);
    // The fields now belong to another code; a refusal of the old one must not
    // keep the new values from being checked and stored.
    m_flags.refusedField = 0;

    if (lineNumberOf(labelText(FormLabel::LineNumber)) == m_insertedLine) {
        setCodeYellow(false);
        enableField(FormField::Comment, true);
    }
    if (&list == &m_gcodes)
        AddMRU(list.state().listIndex);
    focusFirstParam(true);
}

// --- insertion ------------------------------------------------------------------------------------

void Editor::cmdInsert_Click()
{
    enableCommand(Command::Insert, false);
    if (blnAlarm())
        return;
    SetUndo(UndoKind::InsertedLine);
    const int number = lineNumberOf(labelText(FormLabel::LineNumber)) + 1;
    const QString text = strFormatNumber(QString::number(number), 3, false);
    m_flags.newLinePending = true;
    m_flags.programChange = true;
    for (int k = 0; k < 5; ++k)
        setField(paramField(k), QString(kInsertFieldBlanks[k], QLatin1Char(' ')));
    setField(FormField::Comment, QString());
    m_flags.programChange = false;
    if (blnInsertLine(text)) {
        setCodeYellow(true);
        setLabel(FormLabel::LineNumber, strClean(text));
        enableField(FormField::Comment, false);
        m_insertedLine = number;
        m_modified = true;
    }
}

bool Editor::blnInsertLine(const QString& number)
{
    if (rowCount() >= profile().lineLimit) {
        m_view.intStdMsgBox(QStringLiteral("Der maximalwert für diesen Parameter ist"), 48,
                            QStringLiteral("Zeilen Limit"));
        enableCommand(Command::Insert, false);
        return false;
    }
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
    for (int r = p; r <= rowCount(); ++r) {
        ListItem& item = m_program.item(r);
        const int n = lineNumberOf(item.column(c.n)) + 1;
        item.setColumn(c.n, strFormatNumber(QString::number(n), 3, false));
        item.repaint = true;
    }
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
        for (int r = current; r <= rowCount(); ++r) {
            ListItem& item = m_program.item(r);
            const int n = lineNumberOf(item.column(c.n)) - 1;
            item.setColumn(c.n, strFormatNumber(QString::number(n), 3, false));
            item.repaint = true;
        }
        DisplayCode(top, newCurrent);
    }
    enableCommand(Command::Insert, true);
    enableCommand(Command::Delete, rowCount() >= 2);
    rowsChanged();
}

// --- copying ---------------------------------------------------------------------------------------

void Editor::setCopyStage(CopyStage stage, const QString& instructions)
{
    m_copyStage = stage;
    m_view.setCopyStage(stage, instructions);
}

void Editor::setCopyEntries(const QString& insert, const QString& copies)
{
    m_insertText = insert;
    m_copiesText = copies;
    m_view.setCopyEntries(insert, copies);
    setNextEnabled(!insert.isEmpty() && !copies.isEmpty());
}

void Editor::setNextEnabled(bool enabled)
{
    m_nextEnabled = enabled;
    m_view.setNextEnabled(enabled);
}

int Editor::lastLineNumber() const
{
    return rowCount() > 0 ? lineNumberOf(row(rowCount()).column(profile().columns.n)) : 0;
}

void Editor::CopyLines()
{
    if (m_flags.copyMode || rowCount() == 0)
        return;
    m_flags.copyMode = true;
    m_view.commandState(false);
    enableCommand(Command::Insert, false);
    enableCommand(Command::Delete, false);
    setCopyStage(CopyStage::Marking,
                 QStringLiteral("Markieren Sie jede Programmzeilen die Sie kopieren wollen:\r\n"
                                "a) benutzen Sie die Maus um auf eine beliebige Programmzeile zu clicken\r\n"
                                "b) benutzen Sie die Up/Down Cursor Tasten um zur gewünschten "
                                "Programmzeile zu gelangen, drücken die 'Space' Taste zum markieren.\r\n"
                                "Markierte Programmzeilen sind gelb hervorgehoben\r\n"
                                "Clicken Sie auf die Zeile um die 'Markierung' zu löschen "
                                "(oder gehen Sie zu der Programmzeile und drücken Sie die 'SPACE' Taste)."));
    setNextEnabled(true);
    enableCommand(Command::GcodeList, false);
    enableCommand(Command::McodeList, false);
    m_copyReturnLine = m_program.state().caretIndex;
    m_selfSelecting = true;
    m_program.ListClearSelection();
    m_program.ListSetMode(SelectionMode::MultiMark);
    m_program.ListRefresh();
    m_program.ListLostFocus();
    m_selfSelecting = false;
}

void Editor::cmdNext_Click()
{
    if (!m_flags.copyMode)
        return;
    if (m_copyStage == CopyStage::Marking) {
        setCopyStage(CopyStage::Entering,
                     QStringLiteral("Geben Sie in den zwei Feldern unten\r\n"
                                    "a) die Nummer der Zeile ab der die Kopie eingefügt werden soll und\r\n"
                                    "b) Wie viele Kopien der markierten Programmzeile Sie erstellen wollen\r\n"
                                    "Clicken Sie auf 'Next' um das Kopieren auszuführen"));
        setCopyEntries(QString::number(lastLineNumber()), QStringLiteral("1"));
        return;
    }
    m_selfSelecting = true;
    m_program.ListGotFocus();
    m_selfSelecting = false;
    // A program numbered 10, 20, 30 would put the position past its rows;
    // the position is kept to a row that exists.
    int caret = std::clamp(m_insertText.toInt() + 1, 1, std::max(1, rowCount()));
    m_copyReturnLine = caret;
    // More copies than the line limit can never fit; the count is capped there.
    const int copies = std::min(m_copiesText.toLongLong(), static_cast<long long>(profile().lineLimit));
    bool failed = false;
    for (int pass = 0; pass < copies && !failed; ++pass) {
        int r = 1;
        while (r <= rowCount()) {
            if (!m_program.item(r).marked) {
                ++r;
                continue;
            }
            if (!blnCopyLine(r, caret)) {
                failed = true;
                break;
            }
            const bool inFront = caret + 1 <= r;
            ++caret;
            r += inFront ? 2 : 1;
        }
    }
    if (copies > 0)
        m_modified = true;
    cmdCancel_Click();
}

bool Editor::blnCopyLine(int source, int caret)
{
    if (rowCount() >= profile().lineLimit) {
        m_view.intStdMsgBox(QStringLiteral("Der maximalwert für diesen Parameter ist"), 48,
                            QStringLiteral("Zeilen Limit"));
        enableCommand(Command::Insert, false);
        return false;
    }
    const ColumnNumbers& c = profile().columns;
    const int number = lineNumberOf(row(caret).column(c.n)) + 1;
    for (int r = caret + 1; r <= rowCount(); ++r) {
        ListItem& item = m_program.item(r);
        const int n = lineNumberOf(item.column(c.n)) + 1;
        item.setColumn(c.n, strFormatNumber(QString::number(n), 3, false));
        item.repaint = true;
    }
    ProgramRow buffer = row(source);
    buffer.setColumn(c.mark, QStringLiteral(">"));
    buffer.setColumn(c.n, strFormatNumber(QString::number(number), 3, false));
    m_selfSelecting = true;
    m_program.ListInsertItem(caret + 1, buffer);
    m_selfSelecting = false;
    rowsChanged();
    return true;
}

void Editor::cmdCancel_Click()
{
    if (!m_flags.copyMode)
        return;
    m_selfSelecting = true;
    m_program.ListClearSelection();
    m_program.ListSetMode(SelectionMode::SingleAfterCopy);
    m_program.ListGotFocus();
    m_program.ListRefresh();
    m_selfSelecting = false;
    enableCommand(Command::GcodeList, true);
    enableCommand(Command::McodeList, m_machine != MachineType::Mark2);
    setCopyStage(CopyStage::Off, QString());
    setNextEnabled(false);
    m_flags.copyMode = false;
    m_view.commandState(true);
    enableCommand(Command::Delete, rowCount() >= 2);
    enableCommand(Command::Insert, !m_flags.newLinePending);
    const int back = std::clamp(m_copyReturnLine, 1, std::max(1, rowCount()));
    if (rowCount() > 0) {
        m_shownRow = 0;
        m_program.ListSetIndex(back);
    }
}

void Editor::txtInsertChanged(const QString& text)
{
    QString value = text;
    bool ok = false;
    const long long n = text.toLongLong(&ok);
    if (ok && n > lastLineNumber())
        value = QString::number(lastLineNumber());
    if (value != text)
        m_view.setCopyEntries(value, m_copiesText);
    m_insertText = value;
    setNextEnabled(!value.isEmpty());
}

void Editor::txtCopiesChanged(const QString& text)
{
    m_copiesText = text;
    setNextEnabled(!text.isEmpty());
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
    m_selfSelecting = true;
    m_program.restore(snap.items, state);
    m_selfSelecting = false;
    rowsChanged();
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
    if (rowCount() == 0) {
        m_redoTaken = false;
        return;
    }
    m_undo = snapshot();
    m_undoKind = kind;
    const int k = static_cast<int>(kind);
    if (k >= 1 && k <= 4) {
        setToolTip(Command::Undo, kUndoTips[k]);
        setToolTip(Command::Redo, kRedoTips[k]);
    }
    enableCommand(Command::Undo, false);
    enableCommand(Command::Redo, false);
    m_redoTaken = false;
}

void Editor::cmdUndo_Click()
{
    if (m_undoKind == UndoKind::None)
        return;
    m_flags.undoBusy = true;
    if (!m_redoTaken) {
        m_redo = snapshot();
        m_redoTaken = true;
    }
    restoreSnapshot(m_undo);
    const int c = m_undo.state.listIndex;
    m_selfSelecting = true;
    m_program.ListClearSelection();
    m_selfSelecting = false;
    if (c >= 1 && c <= rowCount())
        DisplayCode(m_undo.state.topIndex, c);
    enableCommand(Command::Undo, false);
    enableCommand(Command::Redo, true);
    if (c >= 1 && c <= rowCount() && row(c).column(profile().columns.mark) != QLatin1String("+"))
        enableCommand(Command::Insert, true);
    enableCommand(Command::Delete, rowCount() >= 2);
    m_flags.newLinePending = false;
    m_flags.undoBusy = false;
    m_flags.fieldEditPending = false;
}

void Editor::cmdRedo_Click()
{
    if (!m_redoTaken)
        return;
    m_flags.undoBusy = true;
    restoreSnapshot(m_redo);
    const int c = m_redo.state.listIndex;
    m_selfSelecting = true;
    m_program.ListClearSelection();
    m_selfSelecting = false;
    if (c >= 1 && c <= rowCount())
        DisplayCode(m_redo.state.topIndex, c);
    m_flags.fieldEditPending = false;
    m_flags.undoBusy = false;
    enableCommand(Command::Redo, false);
    enableCommand(Command::Undo, true);
    enableCommand(Command::Insert, true);
    enableCommand(Command::Delete, rowCount() >= 2);
    if (m_undoKind == UndoKind::InsertedLine) {
        enableCommand(Command::Insert, false);
        enableCommand(Command::Delete, false);
        m_flags.newLinePending = true;
        if (labelText(FormLabel::Code).isEmpty()) {
            setCodeYellow(true);
            enableField(FormField::Comment, false);
        }
    }
    enableCommand(Command::GcodeList, true);
    enableCommand(Command::McodeList, m_machine != MachineType::Mark2);
}

}  // namespace quillon

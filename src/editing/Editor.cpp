#include "Editor.h"

#include "editing/LineNumbers.h"
#include "editing/ParameterRules.h"
#include "model/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace quillon {

Editor::Editor(EditorView& view, MachineType machine, bool woodworker, Units units)
    : m_view(view), m_machine(machine)
{
    m_tables.GetCommands(machine, woodworker);
    m_program.addObserver(this);
    m_gcodes.addObserver(this);
    m_mcodes.addObserver(this);
    m_tooltips[idx(Command::Undo)] = UndoSnapshots::kUndoDesignTip;
    m_tooltips[idx(Command::Redo)] = UndoSnapshots::kRedoDesignTip;
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
    const TraceScope trace(m_trace, "modQuillon", "SetUnitMode");
    m_units = units;
    setLabel(FormLabel::Units, units == Units::Imperial ? QStringLiteral("Imperiale Meßeinheiten")
                                                         : QStringLiteral("Metrisches Meßsystem"));
    m_view.setUnits(units);
    rowsChanged();
}

void Editor::discardUndo()
{
    m_undo.clear();
    enableCommand(Command::Undo, false);
    enableCommand(Command::Redo, false);
    setToolTip(Command::Undo, UndoSnapshots::kUndoDesignTip);
    setToolTip(Command::Redo, UndoSnapshots::kRedoDesignTip);
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
    const TraceScope trace(m_trace, "modQuillon", "blnCheckRange");
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
    const TraceScope trace(m_trace, "modQuillon", "blnAlarm");
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
            // The new line waits for its code: the keys go to the G list, not
            // to whatever widget the disabled comment hands its focus on to.
            m_view.focusCodeList(ListId::Gcode);
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
            m_view.focusProgramList();
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

void Editor::codeListKey(ListId id, ListKey key)
{
    if (m_flags.copyMode || id == ListId::Program)
        return;
    ListControl& list = id == ListId::Gcode ? m_gcodes : m_mcodes;
    const int n = list.count();
    if (n == 0)
        return;
    const ListState& st = list.state();
    const int caret = st.caretIndex >= 1 ? st.caretIndex : std::max(1, st.listIndex);
    const int page = std::max(1, st.visibleRows - 1);
    switch (key) {
    case ListKey::Up: lineUp(); return;
    case ListKey::Down: lineDown(); return;
    case ListKey::Left: list.ListMoveCaret(std::max(1, caret - 1), false); return;
    case ListKey::Right: list.ListMoveCaret(std::min(n, caret + 1), false); return;
    case ListKey::PageUp: list.ListMoveCaret(std::max(1, caret - page), false); return;
    case ListKey::PageDown: list.ListMoveCaret(std::min(n, caret + page), false); return;
    case ListKey::Home: list.ListMoveCaret(1, false); return;
    case ListKey::End: list.ListMoveCaret(n, false); return;
    case ListKey::Space:
    case ListKey::Enter:
        if (list.item(caret).enabled)
            list.ListSetIndex(caret);
        return;
    case ListKey::Other: return;
    }
}

// --- line update -----------------------------------------------------------------------------

void Editor::UpdateLine(int column)
{
    const TraceScope trace(m_trace, "modQuillon", "UpdateLine");
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
    const TraceScope trace(m_trace, "modQuillon", "CodeChange");
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

}  // namespace quillon

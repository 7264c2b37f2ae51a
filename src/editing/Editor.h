#pragma once

#include "editing/CopyWorkflow.h"
#include "editing/EditorView.h"
#include "editing/ListControl.h"
#include "editing/UndoSnapshots.h"
#include "model/CodeTables.h"
#include "model/MachineProfile.h"
#include "model/Program.h"
#include "model/ProgramLine.h"

#include <QString>
#include <array>
#include <vector>

namespace quillon {

// The editor's flags, readable as one record so tests and the window can see
// exactly what state a line edit is in.
struct EditorFlags {
    bool programChange = false;     // the program itself is writing a field
    bool fieldEditPending = false;  // the shown line has been changed and snapshotted
    bool newLinePending = false;    // the shown line was just inserted and is unfinished
    bool copyMode = false;          // lines are being copied; accepted values are not stored
    bool displayBusy = false;       // DisplayFields is filling the form
    bool undoBusy = false;          // Undo or Redo is writing the form
    bool updateBusy = false;        // UpdateLine is running
    bool deleteKey = false;         // Delete was pressed in a parameter field
    bool receiving = false;         // a program is arriving over the serial line
    int refusedField = 0;           // index + 1 of the field whose value was refused
};

// The line editor: owns the program rows (the items of the program list), the
// G and M code lists, the line form's contents, the editing flags, one level
// of undo and redo and the current units. A window (or a test) drives it with
// the event methods below and renders what it is told through EditorView.
class Editor : private ListObserver, public RowSink {
public:
    Editor(EditorView& view, MachineType machine, bool woodworker, Units units);
    // Where the editor's procedures write their trace entries.
    void setTrace(TraceSink* trace) { m_trace = trace; }
    TraceSink* tracer() override { return m_trace; }
    ~Editor() override;
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // --- lists -----------------------------------------------------------
    // Fills the G and M lists from the code table. The window defines the
    // columns and initialises the lists first (which empties them).
    void loadCodeLists();
    ListControl& programList() { return m_program; }
    ListControl& gcodeList() { return m_gcodes; }
    ListControl& mcodeList() { return m_mcodes; }
    const ListControl& programList() const { return m_program; }
    const ListControl& gcodeList() const { return m_gcodes; }
    const ListControl& mcodeList() const { return m_mcodes; }

    // --- program -----------------------------------------------------------
    MachineType machine() const { return m_machine; }
    const MachineProfile& profile() const { return machineProfile(m_machine); }
    const CodeTables& tables() const { return m_tables; }
    int rowCount() const { return m_program.count(); }
    const ProgramRow& row(int index) const { return m_program.item(index).cells; }
    int currentRow() const { return m_program.state().listIndex; }
    // The row the form shows (1-based, 0 for none). It stays when a click
    // deselects it in the list, and after the last line has been committed.
    int shownRow() const { return m_shownRow; }
    Program program() const;
    bool modified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    void setCaptionText(const QString& caption) { m_view.setCaption(caption); }
    Units units() const { return m_units; }
    // The program description with CR LF between its lines, as files keep it.
    const QString& description() const { return m_description; }
    // Puts a description read from a file or received into the editor.
    void setDescription(const QString& text);
    // Set while a program arrives over the serial line: leaving a field checks nothing.
    void setReceiving(bool receiving) { m_flags.receiving = receiving; }

    // Starts an unnamed program with one new line waiting for its code. With
    // unsaved changes it asks first; false when the user keeps them.
    bool NewFile();
    // Puts a whole program in place of the current one (a file read or a
    // reception): the first row is shown, both undo snapshots are dropped so
    // Undo cannot bring back rows of the program replaced, and the caption is
    // set. Asks nothing; callers guard unsaved work first.
    void replaceProgram(const Program& program, bool modified, const QString& caption);
    // RowSink: rows and unit markers of a program being read.
    void appendRow(const ProgramRow& row) override;
    void SetUnitMode(Units units) override;
    // Both undo snapshots are dropped and the two commands disabled, so that
    // Undo can never bring back rows of a program that was replaced.
    void discardUndo();

    // --- form ---------------------------------------------------------------
    const QString& fieldText(FormField f) const { return m_fields[idx(f)].text; }
    bool fieldVisible(FormField f) const { return m_fields[idx(f)].visible; }
    bool fieldEnabled(FormField f) const { return m_fields[idx(f)].enabled; }
    const QString& fieldLetter(int param) const { return m_fields[static_cast<std::size_t>(param)].letter; }
    const QString& labelText(FormLabel l) const { return m_labels[idx(l)].text; }
    bool labelVisible(FormLabel l) const { return m_labels[idx(l)].visible; }
    bool commandEnabled(Command c) const { return m_commands[idx(c)]; }
    const QString& toolTip(Command c) const { return m_tooltips[idx(c)]; }
    bool codeLabelYellow() const { return m_codeYellow; }
    const EditorFlags& flags() const { return m_flags; }
    UndoKind undoKind() const { return m_undo.kind(); }

    // --- display --------------------------------------------------------------
    void DisplayFields(bool refill);
    void DisplayCode(int topRow, int row);
    void SetParam(const QString& letter, int index);
    void AddMRU(int index);

    // --- user events from the window -------------------------------------------
    void paramGotFocus(int index);
    void paramEdited(int index, const QString& text);  // textEdited: the user's own change
    void paramDeletePressed(int index);
    void paramEnterPressed(int index);
    void paramLostFocus(int index);
    void commentGotFocus();
    void commentEdited(const QString& text);
    // Enter in the comment; true when the key was consumed.
    bool commentEnterPressed();
    void notesEdited(const QString& text);
    // Up/Down outside the description field.
    void lineUp();
    void lineDown();
    // A navigation key on a code list. Up and Down move the program line as
    // everywhere in the window; the other keys move the list's caret without
    // choosing; Space and Enter choose the code under the caret.
    void codeListKey(ListId list, ListKey key);
    void tmrSetFocus_Timer();
    // A code list took the keyboard focus: the other list's selection goes,
    // so that at most one code list shows a chosen code.
    void codeListGotFocus(ListId list);

    // --- commands ----------------------------------------------------------------
    void cmdInsert_Click();
    void cmdDelete_Click();
    // The copy workflow: CopyLines starts marking, the first Next asks for
    // position and count, the second copies; Cancel ends it either way.
    void CopyLines() { m_copy.start(); }
    void cmdNext_Click() { m_copy.next(); }
    void cmdCancel_Click() { m_copy.cancel(); }
    // The user changed an entry box of the copy panel.
    void txtInsertChanged(const QString& text) { m_copy.insertChanged(text); }
    void txtCopiesChanged(const QString& text) { m_copy.copiesChanged(text); }
    // A key pressed anywhere in the window while lines are being marked.
    void copyKey(ListKey key) { m_copy.key(key); }
    CopyStage copyStage() const { return m_copy.stage(); }
    const QString& insertText() const { return m_copy.insertText(); }
    const QString& copiesText() const { return m_copy.copiesText(); }
    bool nextEnabled() const { return m_copy.nextEnabled(); }
    void cmdUndo_Click();
    void cmdRedo_Click();
    bool blnCheckRange(int index);
    bool blnAlarm();
    void UpdateLine(int column);
    void CodeChange(ListControl& list);

private:
    friend class CopyWorkflow;
    struct FieldState {
        QString text;
        QString letter;  // the field's Tag: the slot letter it edits
        bool visible = false;
        bool enabled = false;
    };
    struct LabelState {
        QString text;
        bool visible = true;
    };
    template <typename E>
    static std::size_t idx(E e) { return static_cast<std::size_t>(e); }

    // ListObserver: the three lists report their selections here.
    void listSelectionReported(const ListControl& list) override;
    void programListChanged();
    // Tells the view that the program changed / which row the form shows.
    void rowsChanged() { m_view.programChanged(); }
    void reportShownRow();

    void setField(FormField f, const QString& text);
    void showField(FormField f, bool visible);
    void enableField(FormField f, bool enabled);
    void setLabel(FormLabel l, const QString& text);
    void showLabel(FormLabel l, bool visible);
    void enableCommand(Command c, bool enabled);
    void setToolTip(Command c, const QString& tip);
    void setCodeYellow(bool yellow);
    void focusFirstParam(bool orComment);

    void SetUndo(UndoKind kind);
    void takeUndo(UndoKind kind, ListSnapshot before);
    ListSnapshot snapshot() const;
    // Puts a snapshot's rows in place and shows its current row (or, when it
    // had none, the row the caret was on), so that a row is always current.
    void restoreSnapshot(const ListSnapshot& snap);
    // True (after the "Zeilen Limit" message) when no line may be added.
    bool refuseAtLineLimit();
    // True (after its message) when `added` more lines would number one past 999.
    bool refusePastHighestNumber(int added);
    bool blnInsertLine(const QString& number);
    void DeleteLine();
    void clearCodeSelection(ListControl& list);
    int slotColumn(int slot) const;
    static QString gColumnForm(const QString& code);

    EditorView& m_view;
    TraceSink* m_trace = nullptr;
    MachineType m_machine;
    CodeTables m_tables;
    ListControl m_program;
    ListControl m_gcodes;
    ListControl m_mcodes;
    Units m_units = Units::Metric;
    QString m_description;
    bool m_modified = false;

    std::array<FieldState, kFormFieldCount> m_fields;
    std::array<LabelState, kFormLabelCount> m_labels;
    std::array<bool, kCommandCount> m_commands{};
    std::array<QString, kCommandCount> m_tooltips;
    bool m_codeYellow = false;

    EditorFlags m_flags;
    int m_insertedLine = -1;  // number of the line inserted last
    int m_shownRow = 0;       // row last shown, re-shown when a click deselects it
    int m_reportedRow = -1;   // the shown row the view was last told of
    bool m_selfSelecting = false;

    UndoSnapshots m_undo;
    CopyWorkflow m_copy{*this};
};

}  // namespace quillon

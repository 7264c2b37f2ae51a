#pragma once

#include "model/Units.h"

#include <QString>

namespace quillon {

enum class ListId { Program, Gcode, Mcode };

// The entry fields of the line form and the program description.
enum class FormField { Param0, Param1, Param2, Param3, Param4, Comment, Notes };
inline constexpr int kFormFieldCount = 7;

inline FormField paramField(int index) { return static_cast<FormField>(index); }

// Labels the editor writes: the line number and its heading, the code and
// its heading, the five parameter letters, the letter beside the F column,
// the caption of the code frame (description or prompt) and the units.
enum class FormLabel {
    LineHead, LineNumber, CodeHead, Code,
    Param0, Param1, Param2, Param3, Param4,
    Fpar, CodeFrame, Units,
};
inline constexpr int kFormLabelCount = 12;

inline FormLabel paramLabel(int index)
{
    return static_cast<FormLabel>(static_cast<int>(FormLabel::Param0) + index);
}

// Commands the editor enables and disables. Each stands for a button and the
// menu item that presses it (Insert = cmdInsert and mnuEInsert, ...); the
// code lists count as commands too, since they are switched the same way.
enum class Command { Insert, Delete, Undo, Redo, GcodeList, McodeList };
inline constexpr int kCommandCount = 6;


// Where the copy workflow stands: off, marking lines (instructions, Next and
// Cancel shown), or entering position and count (the entry panel shown too).
enum class CopyStage { Off, Marking, Entering };

// Everything the editor asks of its window. The window renders; the rules
// stay in the editor. Writes made through setFieldText are the program's
// own and must not come back as user edits.
class EditorView {
public:
    virtual ~EditorView() = default;

    virtual void setLabelText(FormLabel label, const QString& text) = 0;
    virtual void setLabelVisible(FormLabel label, bool visible) = 0;
    virtual void setFieldText(FormField field, const QString& text) = 0;
    virtual void setFieldVisible(FormField field, bool visible) = 0;
    virtual void setFieldEnabled(FormField field, bool enabled) = 0;
    virtual void selectFieldText(FormField field, int start, int length) = 0;
    virtual void focusField(FormField field) = 0;
    virtual void focusProgramList() = 0;
    // The G or M code list takes the keyboard focus.
    virtual void focusCodeList(ListId /*list*/) {}
    virtual void setCommandEnabled(Command command, bool enabled) = 0;
    virtual void setCommandToolTip(Command command, const QString& tip) = 0;
    // Yellow code label while the line has no code, white otherwise.
    virtual void setCodeLabelYellow(bool yellow) = 0;
    // The code frame's text: dark green for the prompt, blue for a description.
    virtual void setCodeFramePrompt(bool prompt) = 0;
    virtual void setUnits(Units units) = 0;
    virtual void setCaption(const QString& caption) = 0;
    // Starts the one-shot focus timer that ends in Editor::tmrSetFocus_Timer.
    virtual void startFocusTimer() = 0;
    // The standard message box: style 16, 48, 64 or 292; answers 1, 6 or 7.
    virtual int intStdMsgBox(const QString& message, int style, const QString& title) = 0;
    // The copy panel: its stage with the instructions, the two entry boxes
    // (written by the program, not user edits) and the Next button.
    virtual void setCopyStage(CopyStage /*stage*/, const QString& /*instructions*/) {}
    virtual void setCopyEntries(const QString& /*insert*/, const QString& /*copies*/) {}
    virtual void setNextEnabled(bool /*enabled*/) {}
    // The window's commands as a whole (toolbar and menus), off while copying.
    virtual void commandState(bool /*enabled*/) {}
    // The rows, the description or the units have changed, so anything drawn
    // from the program is out of date. Comes in bursts (a file read reports
    // every row); a view that redraws should gather them.
    virtual void programChanged() {}
    // The row shown in the form is now `row` (1-based, 0 when there is none).
    virtual void currentRowChanged(int /*row*/) {}
};

}  // namespace quillon

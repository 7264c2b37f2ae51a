#pragma once

#include "model/Units.h"

#include <QString>

namespace quillon {

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

enum class ListId { Program, Gcode, Mcode };

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
};

}  // namespace quillon

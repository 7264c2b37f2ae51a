#pragma once

#include <QString>

namespace quillon {

// The classic message box styles the program uses (icon plus buttons).
namespace MsgStyle {
inline constexpr int Critical = 16;     // critical icon, OK
inline constexpr int Exclamation = 48;  // exclamation icon, OK
inline constexpr int Information = 64;  // information icon, OK
inline constexpr int Question = 292;    // question icon, Yes and No, No the default
}  // namespace MsgStyle

// The button that closed the box.
namespace MsgResult {
inline constexpr int Ok = 1;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace MsgResult

// Every question and notice goes through one of these. The window layer
// implements it with a modal box; tests implement it with a recorder.
class MessageSink {
public:
    virtual ~MessageSink() = default;

    // Shows the box and returns the MsgResult of the button that closed it.
    // An empty title stands for the application title (see messageBoxTitle).
    virtual int intStdMsgBox(const QString& message, int style, const QString& title) = 0;

    void StdMsgBox(const QString& message, int style, const QString& title) { intStdMsgBox(message, style, title); }
};

// The one question that guards unsaved work: "Die aktuelle Datei ist nicht
// gespeichert", CR LF and the command's own question, titled "Änderungen
// nicht gespeichert", Yes and No with No the default. True only for Yes.
bool blnAskUnsavedWork(MessageSink& sink, const QString& question);

// The title a box really shows: an empty one becomes the application title.
QString messageBoxTitle(const QString& title);

}  // namespace quillon

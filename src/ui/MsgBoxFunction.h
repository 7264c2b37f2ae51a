#pragma once

#include <QString>
#include <functional>

namespace quillon {

// The standard message box as the transfer dialogs use it: message, classic
// style number (16, 48, 64, 292), title; answers the button (6 = Yes).
// The window binds it to its MessageSink.
using MsgBoxFunction = std::function<int(const QString& message, int style, const QString& title)>;

}  // namespace quillon

#pragma once

#include "shell/MessageSink.h"

namespace quillon {

// The standard message box on screen: the four classic styles as modal
// QMessageBoxes over the active window, answering 1 (OK), 6 (Yes) or 7 (No).
class StdMessageBox : public MessageSink {
public:
    int intStdMsgBox(const QString& message, int style, const QString& title) override;
};

}  // namespace quillon

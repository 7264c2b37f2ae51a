#pragma once

#include "shell/MillText.h"

class QWidget;

namespace quillon {

// Applies strMillText to every label of a dialog (send and receive on the mill).
void MillText(QWidget* form);

}  // namespace quillon

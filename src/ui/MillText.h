#pragma once

#include <QString>

class QWidget;

namespace quillon {

// "drehmaschine" in any letter case becomes "Fräsmaschine" where it starts
// with an upper-case letter and "fräsmaschine" otherwise.
QString strMillText(const QString& caption);

// Applies strMillText to every label of a dialog (send and receive on the mill).
void MillText(QWidget* form);

}  // namespace quillon

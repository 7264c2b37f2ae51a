#pragma once

#include <QString>

namespace quillon {

// A caption of the send or receive dialog adapted to the mill: every
// "drehmaschine", found without regard to case, becomes "Fräsmaschine" when
// its first letter is upper case (code below 96) and "fräsmaschine" otherwise.
// The dialog applies it to each of its labels when the machine is the F1.
QString strMillText(const QString& caption);

}  // namespace quillon

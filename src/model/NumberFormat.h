#pragma once

#include <QString>
#include <stdexcept>

namespace quillon {

// Raised when a value cannot form a field (magnitude above 32767 or more
// digits than the width holds). Editing keeps values inside the range tables,
// so reaching this is a program error.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Value to fixed-width field: the magnitude of the leading number of `value`
// (halves rounded to even) right-aligned in `width` with at least two digits;
// a signed field carries "-" or " " in its first position.
QString strFormatNumber(const QString& value, int width, bool blnSigned);

// Field to bare value: blanks removed, and a leading address letter dropped
// (any first character above "9" except "M").
QString strClean(const QString& field);

// The leading numeric part of a text, as the original's Val() reads it:
// blanks are skipped, an optional sign, digits and one decimal point;
// anything unreadable gives 0.
double leadingNumber(const QString& text);

}  // namespace quillon

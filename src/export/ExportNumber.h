#pragma once

#include <QString>

namespace quillon {

// A single-precision value with a fixed number of decimals and a point as
// separator, whatever the locale. The value is first taken to the seven
// significant digits a float holds, so 0.4345 (stored as 0.43449998) is
// written as it was computed; halves then round away from zero. A result
// that rounds to zero carries no minus sign.
QString strExportNumber(float value, int decimals);

}  // namespace quillon

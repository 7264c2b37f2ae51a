#pragma once

#include "editing/ListControl.h"
#include "model/MachineType.h"

#include <QString>

namespace quillon {

// The number field holds three characters, so no line may be numbered past this.
inline constexpr int kHighestLineNumber = 999;

// The number a row's N column holds ("  5", " 05", "100").
int lineNumberOf(const QString& nColumn);

// The highest line number of the program's rows, -1 for no rows.
int highestLineNumber(const ListControl& list, MachineType machine);

// Adds `delta` to the number of every row from `from` to the last, and lets
// every call (G25) and jump (G27) that named one of those lines name it under
// its new number, so a renumbering never sends a call to another line. A
// target whose line is gone (a deleted line) is left as it is for the program
// check to report.
void shiftLineNumbers(ListControl& list, MachineType machine, int from, int delta);

// The message given when an insertion or copy would number a line past 999.
QString lineNumberLimitMessage();

}  // namespace quillon

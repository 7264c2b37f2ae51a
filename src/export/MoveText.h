#pragma once

#include "CycleMoves.h"
#include "ExportUnits.h"
#include "ToolMove.h"

#include <QString>
#include <vector>

namespace quillon {

// One numbered line of the simulator dialect, e.g. "N40 G1 X20.00 Z-5.00 F100".
// An arc's radius stands directly in front of its feed: "R5.00F100".
QString strMoveLine(int lineNumber, const ToolMove& move, const ExportUnits& units);

// The moves as lines joined by CR LF (none after the last), the counter
// raised by 10 before each line.
QString strMoveLines(int& counter, const std::vector<ToolMove>& moves, const ExportUnits& units);

// The drilling cycles as text, from the tool's position in `start`.
QString strDrilling(int& counter, float zt, int code, const CycleStart& start, const ExportUnits& units);
QString strChipBreakageG73(int& counter, float zt, const CycleStart& start, const ExportUnits& units);
QString strDrillDeepG83(int& counter, float zt, const CycleStart& start, const ExportUnits& units);

}  // namespace quillon

#pragma once

#include "ToolMove.h"

#include <vector>

namespace quillon {

// Where a drilling cycle starts: the tool's X (the cycle row's own X does not
// move it), the Z it starts from and returns to, and the feed. The mill drills
// along Z the same way, at its Y.
struct CycleStart {
    float x = 0.0f;
    float z = 0.0f;
    float feed = 0.0f;
    float y = 0.0f;
};

// The plain moves a drilling cycle stands for. All step sizes
// and depths are single precision, as the machine computes them.
std::vector<ToolMove> drillingMoves(const CycleStart& start, float zt, int code);  // 81, 82, 85, 89
std::vector<ToolMove> chipBreakageG73Moves(const CycleStart& start, float zt, bool inch);
std::vector<ToolMove> drillDeepG83Moves(const CycleStart& start, float zt, bool inch);

}  // namespace quillon

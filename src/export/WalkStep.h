#pragma once

#include "LineRecord.h"
#include "ToolMove.h"

#include <vector>

namespace quillon {

// What one record of the walk does.
struct WalkStep {
    enum class Kind {
        Nothing,     // modes, position settings, codes the simulator does not need
        Moves,       // one or more tool moves
        ToolChange,  // M06 (G26 on the Mark 2)
        End,         // program end: the walk stops
    };
    Kind kind = Kind::Nothing;
    const LineRecord* record = nullptr;
    std::vector<ToolMove> moves;
    // An arc whose radius came from the circle parameters (M99) after it;
    // that record is consumed with the arc.
    bool radiusFromCircleParameters = false;
};

}  // namespace quillon

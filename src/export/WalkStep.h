#pragma once

#include "LineRecord.h"
#include "ToolMove.h"

#include <optional>
#include <vector>

namespace quillon {

// The circle parameters (M99) an arc was given: the distances from the arc's
// start to its centre along X, Y and Z, in output units, without sign (the
// machine finds the side itself). On the lathe i is a radius distance and j
// stays 0.
struct CircleParameters {
    float i = 0.0f;
    float j = 0.0f;
    float k = 0.0f;

    bool operator==(const CircleParameters&) const = default;
};

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
    std::optional<CircleParameters> circle;
    // Where the tool stood before the record: the first move starts here.
    float startX = 0.0f;
    float startY = 0.0f;
    float startZ = 0.0f;
};

}  // namespace quillon

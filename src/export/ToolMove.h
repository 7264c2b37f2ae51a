#pragma once

#include <optional>

namespace quillon {

// One move of the tool as the simulator's dialect states it, in output
// units with X as a diameter on the lathe. Y is the mill's; on the lathe it
// stays 0.
struct ToolMove {
    int code = 0;                 // G number: 0 rapid, 1 feed, 2/3 arcs, 4 dwell, 33 thread, 78/84/86/88 cycles
    float x = 0.0f;
    float z = 0.0f;
    float y = 0.0f;
    std::optional<float> feed;    // F in the feed units
    std::optional<float> pitch;   // F of the thread cycle, in coordinate units
    std::optional<float> h;       // H of the turning cycles
    std::optional<float> radius;  // arcs
    float dwell = 0.0f;           // code 4 only (X of the dwell line)

    bool operator==(const ToolMove&) const = default;
};

}  // namespace quillon

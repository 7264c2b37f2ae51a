#include "CycleMoves.h"

namespace quillon {

namespace {

ToolMove feedTo(const CycleStart& start, float z)
{
    ToolMove m;
    m.code = 1;
    m.x = start.x;
    m.y = start.y;
    m.z = z;
    m.feed = start.feed;
    return m;
}

ToolMove rapidTo(const CycleStart& start, float z)
{
    ToolMove m;
    m.code = 0;
    m.x = start.x;
    m.y = start.y;
    m.z = z;
    return m;
}

// No file can number more lines than this many pecks make; a start far from
// the target stops here instead of filling memory, and the export then ends
// on its line limit.
constexpr int kMostPecks = 3300;

// The loop test rounds the sum to single precision before comparing, so an
// extended-precision intermediate can never add a peck.
bool anotherPeck(float s, float zt, float d, int pecks)
{
    const float sum = s + zt;
    return sum < d && pecks < kMostPecks;
}

}  // namespace

std::vector<ToolMove> drillingMoves(const CycleStart& start, float zt, int code)
{
    std::vector<ToolMove> moves;
    moves.push_back(feedTo(start, zt));
    if (code == 82 || code == 89) {
        ToolMove dwell;
        dwell.code = 4;
        dwell.dwell = 0.5f;
        moves.push_back(dwell);
    }
    ToolMove back = rapidTo(start, start.z);
    if (code == 85 || code == 89)
        back.code = 1;  // reaming leaves the hole at feed, but the line names no F
    moves.push_back(back);
    return moves;
}

std::vector<ToolMove> chipBreakageG73Moves(const CycleStart& start, float zt, bool inch)
{
    std::vector<ToolMove> moves;
    const float s = inch ? 0.079f : 2.0f;
    float d = start.z;
    for (int pecks = 0; anotherPeck(s, zt, d, pecks); ++pecks) {
        d = d - s;
        moves.push_back(feedTo(start, d));
        d = d + s / 10.0f;
        moves.push_back(rapidTo(start, d));
    }
    moves.push_back(feedTo(start, zt));
    moves.push_back(rapidTo(start, start.z));
    return moves;
}

std::vector<ToolMove> drillDeepG83Moves(const CycleStart& start, float zt, bool inch)
{
    std::vector<ToolMove> moves;
    const float s = inch ? 0.236f : 6.0f;
    const float c = inch ? 0.217f : 5.5f;
    float d = start.z;
    int k = 0;
    while (anotherPeck(s, zt, d, k)) {
        d = d - s;
        moves.push_back(feedTo(start, d));
        moves.push_back(rapidTo(start, start.z));
        ++k;
        d = start.z - float(k) * c;
        moves.push_back(rapidTo(start, d));
    }
    moves.push_back(feedTo(start, zt));
    moves.push_back(rapidTo(start, start.z));
    return moves;
}

}  // namespace quillon

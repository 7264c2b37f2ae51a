#include "FuzzChecks.h"

namespace quillon::fuzz {

const std::vector<FuzzTarget>& fuzzTargets()
{
    static const std::vector<FuzzTarget> targets = {
        {"decode_f1", checkDecodeF1},
        {"decode_mark2", checkDecodeMark2},
        {"decode_mark4", checkDecodeMark4},
        {"export", checkExport},
        {"receive", checkReceive},
        {"toolpath", checkToolpath},
    };
    return targets;
}

}  // namespace quillon::fuzz

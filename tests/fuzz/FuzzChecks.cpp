#include "FuzzChecks.h"

#include "export/ProgramWalk.h"

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

bool walkIsShort(const ExtractedProgram& records)
{
    constexpr long kFuzzStepBudget = 5000;
    ProgramWalk walk(records);
    long steps = 0;
    while (walk.next())
        if (++steps > kFuzzStepBudget)
            return false;
    return true;
}

}  // namespace quillon::fuzz

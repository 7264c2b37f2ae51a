#include "ProgramCheck.h"

#include "preview/Material.h"
#include "preview/Toolpath.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace quillon {

namespace {

// In the order a row's warnings are listed.
enum class Warning { NoDimensionMode, RapidInMaterial, FeedWithSpindleOff };

QString warningText(Warning w)
{
    switch (w) {
    case Warning::NoDimensionMode:
        return QStringLiteral("Keine Maßangabe (G90/G91) vor der ersten Bewegung: die Werte gelten inkrementell");
    case Warning::RapidInMaterial:
        return QStringLiteral("Eilgang im Material");
    case Warning::FeedWithSpindleOff:
        return QStringLiteral("Vorschub bei stehender Spindel");
    }
    return {};
}

// A feed move is any move of the step that is neither a rapid nor a dwell:
// G01 to G03, the thread and the cycles (a drilling cycle's feed parts).
bool feeds(const WalkStep& step)
{
    return std::any_of(step.moves.begin(), step.moves.end(), [](const ToolMove& m) { return m.code != 0 && m.code != 4; });
}

}  // namespace

std::vector<Finding> programWarnings(const Program& program, MachineType machine, const MaterialSetup& material)
{
    std::set<std::pair<int, Warning>> found;
    // The Mark 2 has no spindle codes: its spindle is switched by hand.
    const bool spindleCodes = machine == MachineType::Mark4 || machine == MachineType::F1;
    bool spindleOn = false;
    bool modeSet = false;
    bool moved = false;
    const Toolpath path = buildToolpath(program, machine, [&](const WalkStep& step, const Toolpath&, std::size_t) {
        const LineRecord& r = *step.record;
        if (r.isM() && (r.code == 3 || r.code == 4))
            spindleOn = true;
        else if (r.isM() && r.code == 5)
            spindleOn = false;
        else if (!r.isM() && (r.code == 90 || r.code == 91))
            modeSet = true;
        const bool moves = std::any_of(step.moves.begin(), step.moves.end(), [](const ToolMove& m) { return m.code != 4; });
        if (step.kind != WalkStep::Kind::Moves || !moves)
            return;
        // A move without values goes nowhere in either mode.
        const bool values = !r.xDigits.isEmpty() || !r.yDigits.isEmpty() || !r.zDigits.isEmpty();
        if (!moved && !modeSet && values)
            found.insert({r.row, Warning::NoDimensionMode});
        moved = moved || values;
        if (spindleCodes && !spindleOn && feeds(step))
            found.insert({r.row, Warning::FeedWithSpindleOff});
    });

    MaterialRun run(path, material);
    do {
        if (run.nextRapidEntersMaterial())
            found.insert({path.moves[run.applied()].row, Warning::RapidInMaterial});
    } while (run.applyNext());

    std::vector<Finding> warnings;
    for (const auto& [row, w] : found)
        warnings.push_back({row, findingRowName(program, machine, row), warningText(w), Finding::Severity::Warning});
    return warnings;
}

}  // namespace quillon

// The toolpath of arbitrary program texts. The first input byte chooses the
// machine (0 mill, 1 Mark 2, 2 Mark 4, by its value modulo 3); the rest is
// the text, read as a file is read. Whatever the rows hold, the drawing is
// made, ends, and every move is a finite one that names a row of the program.
#include "FuzzChecks.h"

#include "export/ExtractCode.h"
#include "files/Cp1252.h"
#include "files/ProgramText.h"
#include "preview/Toolpath.h"

#include <cmath>

namespace quillon::fuzz {

namespace {

bool finite(const ToolPoint& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// Turning and pocket cycles draw at most six moves for one numbered line.
constexpr std::size_t kMostMoves = 6 * 3273;

}  // namespace

std::string checkToolpath(const QByteArray& input, CheckRun run)
{
    if (input.isEmpty())
        return std::string();
    static constexpr MachineType kMachines[] = {MachineType::F1, MachineType::Mark2, MachineType::Mark4};
    const MachineType machine = kMachines[static_cast<unsigned char>(input[0]) % 3];
    const Program program = blnDecodeBuffer(decodeCp1252(input.mid(1)), machine, Units::Metric).program;
    if (run == CheckRun::Fuzzing && !walkIsShort(extractProgramRows(program, machine)))
        return std::string();

    const Toolpath path = buildToolpath(program, machine);
    if (buildToolpath(program, machine) != path)
        return "a second drawing of the same program differs";
    if (path.machine != machine)
        return "the drawing names another machine";
    if (path.moves.size() > kMostMoves)
        return "more moves than the export could number";
    if (path.stopMessage.isEmpty() && path.stopRow != -1)
        return "a stop row without a stop message";
    const int rows = int(program.rows.size());
    if (path.stopRow < -1 || path.stopRow >= rows)
        return "the stop row is not a row of the program";
    if (machine != MachineType::F1 && path.billetDiameter && !(*path.billetDiameter > 0.0))
        return "a billet diameter that is not positive";
    for (const ToolpathMove& m : path.moves) {
        if (m.row < 0 || m.row >= rows)
            return "a move names no row of the program";
        if (!finite(m.from) || !finite(m.to) || !finite(m.centre) || !std::isfinite(m.radius) || m.radius < 0.0)
            return "a move that is not finite";
        if (machine != MachineType::F1 && (m.from.y != 0.0 || m.to.y != 0.0))
            return "a lathe move leaves the XZ plane";
        if (m.kind == MoveKind::Cycle && m.label.isEmpty())
            return "a cycle without its label";
    }
    return std::string();
}

}  // namespace quillon::fuzz

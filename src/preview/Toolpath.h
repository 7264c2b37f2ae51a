#pragma once

#include "export/WalkStep.h"
#include "model/MachineType.h"
#include "model/Program.h"

#include <QString>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace quillon {

// A point of the tool in program units (mm or inch). On the lathe x is the
// radius (distance from the spindle axis) and y stays 0.
struct ToolPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    bool operator==(const ToolPoint&) const = default;
};

enum class MoveKind {
    Rapid,  // G00 and the rapid parts of expanded drilling cycles
    Feed,   // straight feed moves, threads and the feed parts of expanded cycles
    Arc,    // G02/G03
    Cycle,  // a turning, grooving, facing, thread or pocket cycle, drawn as the contour it works to
};

// One drawn move. Every move knows the program row it came from, so the
// view can highlight the current row's moves and select a row from a click.
struct ToolpathMove {
    MoveKind kind = MoveKind::Feed;
    int row = -1;    // 0-based index into Program::rows
    int code = 0;    // the G number of the row that made it (81 for a drilling pass, ...)
    ToolPoint from;
    ToolPoint to;
    // Arcs only: centre, radius and turning sense in the plane they lie in
    // (lathe: Z right, X up; mill: X right, Y up).
    ToolPoint centre;
    double radius = 0.0;
    bool clockwise = false;
    // Cycles only: a short text drawn beside the contour, e.g. "G84".
    QString label;
    // Mill: the cutter radius of the last tool change (the radius of its
    // M06), 0 before the first. Always 0 on the lathe.
    double toolRadius = 0.0;

    bool operator==(const ToolpathMove&) const = default;
};

// The whole drawing of one program.
struct Toolpath {
    MachineType machine = MachineType::None;
    bool inch = false;
    std::vector<ToolpathMove> moves;
    // Lathe: the billet diameter when the description names it.
    std::optional<double> billetDiameter;
    // Set when the walk could not finish the program: why, and the row it
    // stopped on (-1 when no single row is to blame). What came before it is
    // still in `moves`.
    QString stopMessage;
    int stopRow = -1;

    bool operator==(const Toolpath&) const = default;
};

// The cutter radius a mill's M06 row names, in program units; 0 when it names none.
double millCutterRadius(const LineRecord& m06, bool inch);

// Walks `program` the way the machine runs it (the same walk the export uses)
// and returns every move it makes. Never fails: a program the walk cannot
// finish gives the moves up to the stop and the reason.
Toolpath buildToolpath(const Program& program, MachineType machine);

// The same, telling `observer` of every step of the walk as it goes, after
// the step's moves (if any) were added: they are path.moves[firstMove] on.
// Steps that move nothing (spindle codes, G90, tool changes) are told too.
using WalkStepObserver = std::function<void(const WalkStep& step, const Toolpath& path, std::size_t firstMove)>;
Toolpath buildToolpath(const Program& program, MachineType machine, const WalkStepObserver& observer);

}  // namespace quillon

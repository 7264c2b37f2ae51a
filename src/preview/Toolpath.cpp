#include "Toolpath.h"

#include "export/ExportMessages.h"
#include "export/ExtractCode.h"
#include "export/ProgramWalk.h"
#include "model/NumberFormat.h"

#include <QRegularExpression>
#include <QStringList>

#include <cmath>
#include <numbers>

// How the walk's steps become drawn moves:
// - The walk starts as the export's does: incremental mode, the lathe tool at
//   X 25 Z 10 (X 1 Z 0.4 in inch), the mill tool at the origin.
// - G02 turns clockwise and G03 counter-clockwise as the plane is drawn
//   (lathe Z right, X up; mill X right, Y up). A mill arc that also moves in
//   Z keeps its centre at the start's Z.
// - A turning, grooving, facing or thread cycle (G84, G86, G88, G78) and the
//   mill's pocket (G72) are drawn as several Cycle moves, each carrying the
//   row, the code and the label; the tool ends where it started.
// - Dwells move nothing and draw nothing; tool changes, radius corrections
//   and spindle codes draw nothing either.

namespace quillon {

double millCutterRadius(const LineRecord& m06, bool inch)
{
    // The M06 names the radius in its first column (the X digits).
    const double radius = leadingNumber(m06.xDigits) / (inch ? double(ExportUnits::imperial().coordinateDivisor)
                                                             : double(ExportUnits::metric().coordinateDivisor));
    return std::isfinite(radius) ? std::fabs(radius) : 0.0;
}

namespace {

// The export numbers its lines in steps of 10 from N40 and gives up beyond
// N32767; the drawing ends where the export would, so that a jump loop that
// makes moves stops as one that makes none does.
constexpr int kMostOutputLines = (32767 - 30) / 10;

// A point in the plane arcs lie in: lathe Z right and X (radius) up, mill X
// right and Y up.
struct PlanePoint {
    double h = 0.0;
    double v = 0.0;
};

double distance(PlanePoint a, PlanePoint b)
{
    return std::hypot(a.h - b.h, a.v - b.v);
}

// How far the tool turns about `centre` going from `from` to `to` in the
// given sense, 0 to 2 pi.
double sweep(PlanePoint centre, PlanePoint from, PlanePoint to, bool clockwise)
{
    const double a0 = std::atan2(from.v - centre.v, from.h - centre.h);
    const double a1 = std::atan2(to.v - centre.v, to.h - centre.h);
    double counter = std::fmod(a1 - a0, 2.0 * std::numbers::pi);
    if (counter < 0.0)
        counter += 2.0 * std::numbers::pi;
    if (!clockwise)
        return counter;
    return counter == 0.0 ? 0.0 : 2.0 * std::numbers::pi - counter;
}

class PathBuilder {
public:
    PathBuilder(Toolpath& path, bool mill)
        : m_path(path)
        , m_mill(mill)
    {
    }

    // A point of the walk (lathe X a diameter) as the drawing has it.
    ToolPoint point(float x, float y, float z) const
    {
        return m_mill ? ToolPoint{double(x), double(y), double(z)} : ToolPoint{double(x) / 2.0, 0.0, double(z)};
    }

    void addStep(const WalkStep& step)
    {
        const LineRecord& r = *step.record;
        ToolPoint at = point(step.startX, step.startY, step.startZ);
        for (const ToolMove& m : step.moves) {
            if (m.code == 4)
                continue;  // a dwell does not move the tool
            const ToolPoint to = point(m.x, m.y, m.z);
            switch (r.code) {
            case 78: case 84: case 86: case 88:
                addTurningCycle(r, at, to);
                continue;  // the tool ends where it started
            case 72:
                addPocket(r, at, to);
                continue;
            default:
                break;
            }
            ToolpathMove move = plainMove(r, m.code == 0 ? MoveKind::Rapid : MoveKind::Feed, at, to);
            if (m.code == 2 || m.code == 3) {
                move.kind = MoveKind::Arc;
                placeArc(move, m.radius.value_or(0.0f), step.circle);
            }
            m_path.moves.push_back(move);
            at = to;
        }
    }

    // The lathe's tool change names no width.
    void changeTool(const WalkStep& step, const ExportUnits& units)
    {
        if (m_mill && step.record)
            m_toolRadius = millCutterRadius(*step.record, units.inch);
    }

private:
    ToolpathMove plainMove(const LineRecord& r, MoveKind kind, ToolPoint from, ToolPoint to) const
    {
        ToolpathMove move;
        move.toolRadius = m_toolRadius;
        move.kind = kind;
        move.row = r.row;
        move.code = r.code;
        move.from = from;
        move.to = to;
        return move;
    }

    void addCycleCorners(const LineRecord& r, std::initializer_list<ToolPoint> corners)
    {
        const QString label = QStringLiteral("G%1").arg(r.code, 2, 10, QLatin1Char('0'));
        const ToolPoint* previous = nullptr;
        for (const ToolPoint& corner : corners) {
            if (previous) {
                ToolpathMove move = plainMove(r, MoveKind::Cycle, *previous, corner);
                move.label = label;
                m_path.moves.push_back(move);
            }
            previous = &corner;
        }
    }

    // Turning, grooving, facing and thread cycles work the rectangle between
    // the start point and the target: in along X first, except the facing
    // cycle, which goes in along Z.
    void addTurningCycle(const LineRecord& r, ToolPoint start, ToolPoint target)
    {
        const ToolPoint alongX{target.x, 0.0, start.z};
        const ToolPoint alongZ{start.x, 0.0, target.z};
        if (r.code == 88)
            addCycleCorners(r, {start, alongZ, target, alongX, start});
        else
            addCycleCorners(r, {start, alongX, target, alongZ, start});
    }

    // The pocket as its outline at depth: down to Z, round the rectangle
    // between the start point and X Y, back up.
    void addPocket(const LineRecord& r, ToolPoint start, ToolPoint target)
    {
        const double depth = target.z;
        const ToolPoint down{start.x, start.y, depth};
        addCycleCorners(r, {start, down, ToolPoint{target.x, start.y, depth}, ToolPoint{target.x, target.y, depth},
                            ToolPoint{start.x, target.y, depth}, down, start});
    }

    PlanePoint plane(ToolPoint p) const { return m_mill ? PlanePoint{p.x, p.y} : PlanePoint{p.z, p.x}; }

    ToolPoint fromPlane(PlanePoint p, const ToolPoint& level) const
    {
        return m_mill ? ToolPoint{p.h, p.v, level.z} : ToolPoint{p.v, 0.0, p.h};
    }

    void placeArc(ToolpathMove& move, float walkRadius, const std::optional<CircleParameters>& circle) const
    {
        move.clockwise = move.code == 2;
        const PlanePoint from = plane(move.from);
        const PlanePoint to = plane(move.to);
        const double chord = distance(from, to);
        PlanePoint centre;
        double radius = 0.0;
        if (circle) {
            // The parameters give the centre's distances from the start, not
            // its side: take the side that puts the end on the circle, and of
            // equally good ones the shorter way round.
            const double dh = m_mill ? circle->i : circle->k;
            const double dv = m_mill ? circle->j : circle->i;
            radius = std::hypot(dh, dv);
            double bestMiss = 0.0;
            double bestSweep = 0.0;
            bool first = true;
            for (const double sh : {1.0, -1.0}) {
                for (const double sv : {1.0, -1.0}) {
                    const PlanePoint c{from.h + sh * dh, from.v + sv * dv};
                    const double miss = std::fabs(distance(c, to) - radius);
                    const double turn = sweep(c, from, to, move.clockwise);
                    const double tolerance = 1e-6 * (1.0 + radius);
                    if (first || miss < bestMiss - tolerance
                        || (std::fabs(miss - bestMiss) <= tolerance && turn < bestSweep)) {
                        centre = c;
                        bestMiss = miss;
                        bestSweep = turn;
                        first = false;
                    }
                }
            }
        } else {
            // The radius alone: the centre lies on the chord's perpendicular,
            // on the side that makes the shorter arc in the arc's sense.
            radius = std::isfinite(walkRadius) ? std::fabs(double(walkRadius)) : 0.0;
            const PlanePoint middle{(from.h + to.h) / 2.0, (from.v + to.v) / 2.0};
            if (chord > 0.0 && 2.0 * radius > chord) {
                const double offset = std::sqrt(radius * radius - chord * chord / 4.0);
                // Unit normal to the right of the way from start to end.
                const double nh = (to.v - from.v) / chord;
                const double nv = -(to.h - from.h) / chord;
                const double side = move.clockwise ? 1.0 : -1.0;
                centre = PlanePoint{middle.h + side * offset * nh, middle.v + side * offset * nv};
            } else if (chord == 0.0) {
                // Start and end coincide: a full circle, its centre one
                // radius along the plane's first axis.
                centre = PlanePoint{from.h + radius, from.v};
            } else {
                centre = middle;
            }
        }
        // An end beyond the circle's reach: the smallest arc that gets there.
        if (2.0 * radius < chord) {
            radius = chord / 2.0;
            centre = PlanePoint{(from.h + to.h) / 2.0, (from.v + to.v) / 2.0};
        }
        move.centre = fromPlane(centre, move.from);
        move.radius = radius;
    }

    Toolpath& m_path;
    bool m_mill;
    double m_toolRadius = 0.0;
};

int outputLines(const WalkStep& step)
{
    switch (step.kind) {
    case WalkStep::Kind::Moves:
        return int(step.moves.size());
    case WalkStep::Kind::ToolChange:
        return 2;  // the tool and the speed
    default:
        return 0;
    }
}

// The billet the export takes as named: a description line that holds DIAM
// and BILLET in capitals.
std::optional<double> billetDiameterOf(const QString& description)
{
    static const QRegularExpression number(QStringLiteral("\\d+(?:[.,]\\d+)?"));
    for (const QString& line : description.split(QStringLiteral("\r\n"))) {
        const QString upper = line.toUpper();
        const qsizetype diam = upper.indexOf(QLatin1String("DIAM"));
        if (diam < 0 || !upper.contains(QLatin1String("BILLET")))
            continue;
        // "Billet diam. 40 mm": the number after the word, else the first.
        QRegularExpressionMatch m = number.match(line, diam);
        if (!m.hasMatch())
            m = number.match(line);
        if (!m.hasMatch())
            continue;
        const double value = m.captured().replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
        if (value > 0.0 && std::isfinite(value))
            return value;
    }
    return std::nullopt;
}

}  // namespace

Toolpath buildToolpath(const Program& program, MachineType machine)
{
    return buildToolpath(program, machine, WalkStepObserver());
}

Toolpath buildToolpath(const Program& program, MachineType machine, const WalkStepObserver& observer)
{
    Toolpath path;
    path.machine = machine;
    path.inch = program.units == Units::Imperial;
    if (machine != MachineType::F1 && !isLathe(machine))
        return path;

    const ExtractedProgram records = extractProgramRows(program, machine);
    path.inch = records.units.inch;
    if (isLathe(machine))
        path.billetDiameter = billetDiameterOf(program.description);

    ProgramWalk walk(records);
    PathBuilder builder(path, walk.mill());
    int lines = 0;
    while (const std::optional<WalkStep> step = walk.next()) {
        lines += outputLines(*step);
        if (lines > kMostOutputLines) {
            path.stopMessage = withoutNoFileNote(lineLimitMessage());
            path.stopRow = walk.lastJumpRow() >= 0 ? walk.lastJumpRow() : step->record->row;
            return path;
        }
        const std::size_t firstMove = path.moves.size();
        if (step->kind == WalkStep::Kind::Moves)
            builder.addStep(*step);
        else if (step->kind == WalkStep::Kind::ToolChange)
            builder.changeTool(*step, records.units);
        if (observer)
            observer(*step, path, firstMove);
    }
    if (walk.fault() != ProgramWalk::Fault::None) {
        path.stopMessage = withoutNoFileNote(walk.faultMessage());
        path.stopRow = walk.faultRow();
    }
    return path;
}

}  // namespace quillon

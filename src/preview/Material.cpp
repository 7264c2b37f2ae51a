#include "Material.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quillon {

namespace {

// Coordinates come from the walk's single precision; closer than this they
// are the same place, and a cut shorter than this along Z covers no cell.
constexpr double kSame = 1e-4;
// How far a rapid may dip into material before it counts: a tool running
// along a surface it has just cut must stay silent.
constexpr double kGrace = 1e-3;

bool drillingCycle(int code)
{
    switch (code) {
    case 73: case 81: case 82: case 83: case 85: case 89:
        return true;
    default:
        return false;
    }
}

// An arc as the straight pieces the material is cut with: points from its
// start to its end, in the plane it lies in (lathe Z and X, mill X and Y;
// the mill's Z runs evenly from start to end).
std::vector<ToolPoint> arcPoints(const ToolpathMove& m, bool mill, double cell)
{
    auto h = [mill](const ToolPoint& p) { return mill ? p.x : p.z; };
    auto v = [mill](const ToolPoint& p) { return mill ? p.y : p.x; };
    const double a0 = std::atan2(v(m.from) - v(m.centre), h(m.from) - h(m.centre));
    const double a1 = std::atan2(v(m.to) - v(m.centre), h(m.to) - h(m.centre));
    constexpr double full = 2.0 * std::numbers::pi;
    double counter = std::fmod(a1 - a0, full);
    if (counter < 0.0)
        counter += full;
    double turn = m.clockwise ? (counter == 0.0 ? 0.0 : full - counter) : counter;
    const bool closed = std::hypot(h(m.to) - h(m.from), v(m.to) - v(m.from)) < kSame;
    if (closed && m.radius > kSame)
        turn = full;
    // Pieces short enough that none strays from the arc by more than a
    // quarter cell: finer would only cost time.
    const double tolerance = cell / 4.0;
    const double step = m.radius > tolerance ? 2.0 * std::acos(1.0 - tolerance / m.radius) : turn;
    const int pieces = std::clamp(int(std::ceil(turn / std::max(step, 1e-3))), 4, 720);
    std::vector<ToolPoint> points{m.from};
    for (int i = 1; i < pieces; ++i) {
        const double t = double(i) / pieces;
        const double a = m.clockwise ? a0 - t * turn : a0 + t * turn;
        const double ph = h(m.centre) + m.radius * std::cos(a);
        const double pv = v(m.centre) + m.radius * std::sin(a);
        const double z = m.from.z + t * (m.to.z - m.from.z);
        points.push_back(mill ? ToolPoint{ph, pv, z} : ToolPoint{pv, 0.0, ph});
    }
    points.push_back(m.to);
    return points;
}

}  // namespace

MaterialSetup defaultMaterialSetup(bool inch)
{
    if (inch)
        return {0.8, 3.2, 2.4, 0.8};
    return {};
}

// ---- lathe ----

LatheStock::LatheStock(double diameter, double zLeft, double zRight, double cellWidth)
    : m_radius(std::max(0.0, diameter / 2.0))
    , m_zLeft(std::min(zLeft, zRight))
    , m_zRight(std::max(zLeft, zRight))
{
    const double length = m_zRight - m_zLeft;
    // Whole cells from end to end, so that round positions fall on cell edges.
    const int cells = length > kSame && cellWidth > 0.0 ? std::clamp(int(std::lround(length / cellWidth)), 1, 200000) : 1;
    m_cell = length > kSame ? length / cells : 1.0;
    if (!(length > kSame))
        m_zRight = m_zLeft + m_cell;
    m_outer.assign(std::size_t(cells), m_radius);
    m_bore.assign(std::size_t(cells), 0.0);
}

int LatheStock::cellAt(double z) const
{
    return int(std::floor((z - m_zLeft) / m_cell));
}

std::vector<StockSpan> LatheStock::spans() const
{
    std::vector<StockSpan> out;
    for (std::size_t i = 0; i < m_outer.size(); ++i) {
        const double z0 = cellLeft(int(i));
        const double z1 = i + 1 == m_outer.size() ? m_zRight : cellLeft(int(i) + 1);
        if (!out.empty() && out.back().outer == m_outer[i] && out.back().bore == m_bore[i])
            out.back().z1 = z1;
        else
            out.push_back({z0, z1, m_outer[i], m_bore[i]});
    }
    return out;
}

double LatheStock::outerAt(double z) const
{
    const int c = cellAt(z);
    return c >= 0 && c < int(m_outer.size()) ? m_outer[std::size_t(c)] : 0.0;
}

double LatheStock::boreAt(double z) const
{
    const int c = cellAt(z);
    return c >= 0 && c < int(m_bore.size()) ? m_bore[std::size_t(c)] : 0.0;
}

namespace {

// The cells a tip move touches and the radii it passes through in each: a
// move along Z touches every cell its span overlaps; a move at one Z (a
// plunge) the cell it lies in, or both cells when it runs along their
// common edge.
struct TouchedCell {
    int cell;
    double low;   // the smallest radius the tip has in the cell
    double high;  // the largest
};

}  // namespace

// A plunge along an edge touches both cells beside it, or with
// `freeSideOnly` the one toward the free end, where the tool's body is.
template <typename Cells>
static void touchedCells(const ToolPoint& from, const ToolPoint& to, double zLeft, double cell, int count, Cells visit,
                         bool freeSideOnly = false)
{
    const double zmin = std::min(from.z, to.z);
    const double zmax = std::max(from.z, to.z);
    auto radiusAt = [&](double z) {
        if (std::fabs(to.z - from.z) < kSame)
            return from.x;
        return from.x + (to.x - from.x) * (z - from.z) / (to.z - from.z);
    };
    if (zmax - zmin < kSame) {
        const double low = std::min(from.x, to.x);
        const double high = std::max(from.x, to.x);
        const double at = (zmin - zLeft) / cell;
        const int c = int(std::floor(at));
        const double edge = std::round(at);
        if (std::fabs(at - edge) * cell < kSame) {
            for (const int side : {int(edge) - 1, int(edge)})
                if (side >= 0 && side < count && !(freeSideOnly && side < int(edge)))
                    visit(TouchedCell{side, low, high});
        } else if (c >= 0 && c < count) {
            visit(TouchedCell{c, low, high});
        }
        return;
    }
    const int first = std::max(0, int(std::floor((zmin + kSame - zLeft) / cell)));
    const int last = std::min(count - 1, int(std::floor((zmax - kSame - zLeft) / cell)));
    for (int c = first; c <= last; ++c) {
        const double a = std::max(zmin, zLeft + c * cell);
        const double b = std::min(zmax, zLeft + (c + 1) * cell);
        const double ra = radiusAt(a);
        const double rb = radiusAt(b);
        visit(TouchedCell{c, std::min(ra, rb), std::max(ra, rb)});
    }
}

void LatheStock::cutWithTip(const ToolPoint& from, const ToolPoint& to)
{
    const int count = int(m_outer.size());
    touchedCells(from, to, m_zLeft, m_cell, count, [this](const TouchedCell& t) {
        double& outer = m_outer[std::size_t(t.cell)];
        double& bore = m_bore[std::size_t(t.cell)];
        outer = std::min(outer, std::max(0.0, t.low));
        if (outer <= bore)
            outer = bore = 0.0;
    }, true);
    // Down to the axis: whatever lies toward the free end is cut off.
    if (std::min(from.x, to.x) > kSame)
        return;
    double zPart = std::min(from.z, to.z);
    if (from.x > kSame || to.x > kSame) {
        const ToolPoint& onAxis = from.x <= kSame ? from : to;
        zPart = onAxis.z;
    }
    for (int c = std::max(0, cellAt(zPart + kSame)); c < count; ++c) {
        if (cellLeft(c) + kSame >= zPart) {
            m_outer[std::size_t(c)] = 0.0;
            m_bore[std::size_t(c)] = 0.0;
        }
    }
}

void LatheStock::drill(double zFrom, double zTo, double diameter)
{
    const ToolPoint from{0.0, 0.0, zFrom};
    const ToolPoint to{0.0, 0.0, zTo};
    touchedCells(from, to, m_zLeft, m_cell, int(m_outer.size()), [this, diameter](const TouchedCell& t) {
        double& outer = m_outer[std::size_t(t.cell)];
        double& bore = m_bore[std::size_t(t.cell)];
        bore = std::max(bore, diameter / 2.0);
        if (outer <= bore)
            outer = bore = 0.0;
    });
}

bool LatheStock::entersMaterial(const ToolPoint& from, const ToolPoint& to) const
{
    const bool plunge = std::fabs(to.z - from.z) < kSame;
    int touched = 0;
    int entered = 0;
    touchedCells(from, to, m_zLeft, m_cell, int(m_outer.size()), [&](const TouchedCell& t) {
        ++touched;
        const double outer = m_outer[std::size_t(t.cell)];
        const double bore = m_bore[std::size_t(t.cell)];
        if (t.low < outer - kGrace && t.high > bore + kGrace)
            ++entered;
    });
    // A plunge along the edge between two cells runs along a shoulder's
    // face: it is in material only where both sides have it.
    return plunge ? touched > 0 && entered == touched : entered > 0;
}

// ---- mill ----

MillBlock::MillBlock(double sizeX, double sizeY, double sizeZ, double cell)
    : m_sizeX(std::max(0.0, sizeX))
    , m_sizeY(std::max(0.0, sizeY))
    , m_sizeZ(std::max(0.0, sizeZ))
    , m_cell(cell > 0.0 ? cell : 1.0)
{
    // Never more than some two thousand cells a side, whatever size is typed.
    m_cell = std::max(m_cell, std::max(m_sizeX, m_sizeY) / 2000.0);
    m_columns = std::max(1, int(std::ceil(m_sizeX / m_cell - kSame)));
    m_rows = std::max(1, int(std::ceil(m_sizeY / m_cell - kSame)));
    m_top.assign(std::size_t(m_columns) * std::size_t(m_rows), 0.0);
}

std::optional<double> MillBlock::topAtPoint(double x, double y) const
{
    if (x < 0.0 || y < 0.0 || x > m_sizeX || y > m_sizeY)
        return std::nullopt;
    const int c = std::min(m_columns - 1, int(x / m_cell));
    const int r = std::min(m_rows - 1, int(y / m_cell));
    return topAt(c, r);
}

std::vector<double> MillBlock::sectionAtY(double y) const
{
    std::vector<double> out(std::size_t(m_columns), 0.0);
    if (y < 0.0 || y > m_sizeY)
        return out;
    const int r = std::min(m_rows - 1, int(y / m_cell));
    for (int c = 0; c < m_columns; ++c)
        out[std::size_t(c)] = topAt(c, r);
    return out;
}

std::vector<double> MillBlock::deepestAlongX() const
{
    std::vector<double> out(std::size_t(m_columns), 0.0);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c)
            out[std::size_t(c)] = std::min(out[std::size_t(c)], topAt(c, r));
    return out;
}

// Calls visit(index, lowest Z) for every cell whose centre the cutter covers
// somewhere on its way, with the lowest Z its face has while over it.
template <typename Visit>
void MillBlock::forCellsNear(const ToolPoint& from, const ToolPoint& to, double radius, Visit visit) const
{
    // A cutter of unknown radius still marks the cells its centre crosses.
    const double r = std::max(radius, m_cell / 2.0);
    const int c0 = std::max(0, int(std::floor((std::min(from.x, to.x) - r) / m_cell)));
    const int c1 = std::min(m_columns - 1, int(std::floor((std::max(from.x, to.x) + r) / m_cell)));
    const int r0 = std::max(0, int(std::floor((std::min(from.y, to.y) - r) / m_cell)));
    const int r1 = std::min(m_rows - 1, int(std::floor((std::max(from.y, to.y) + r) / m_cell)));
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double dd = dx * dx + dy * dy;
    for (int row = r0; row <= r1; ++row) {
        const double cy = (row + 0.5) * m_cell;
        // Only the stretch of the way within the radius of this row can
        // reach it: its columns, widened by the radius, are the ones to try.
        double ta = 0.0;
        double tb = 1.0;
        if (std::fabs(dy) > kSame) {
            ta = std::max(0.0, std::min((cy - r - from.y) / dy, (cy + r - from.y) / dy));
            tb = std::min(1.0, std::max((cy - r - from.y) / dy, (cy + r - from.y) / dy));
            if (ta > tb)
                continue;
        }
        const double xa = from.x + ta * dx;
        const double xb = from.x + tb * dx;
        const int first = std::max(c0, int(std::floor((std::min(xa, xb) - r) / m_cell)));
        const int last = std::min(c1, int(std::floor((std::max(xa, xb) + r) / m_cell)));
        for (int col = first; col <= last; ++col) {
            const double cx = (col + 0.5) * m_cell;
            const double px = from.x - cx;
            const double py = from.y - cy;
            double t0 = 0.0;
            double t1 = 1.0;
            if (dd < kSame * kSame) {
                if (px * px + py * py > r * r)
                    continue;
            } else {
                // |p + t d|^2 <= r^2: the stretch of the way the cell is under the cutter.
                const double b = px * dx + py * dy;
                const double c = px * px + py * py - r * r;
                const double disc = b * b - dd * c;
                if (disc < 0.0)
                    continue;
                const double root = std::sqrt(disc);
                t0 = std::max(0.0, (-b - root) / dd);
                t1 = std::min(1.0, (-b + root) / dd);
                if (t0 > t1)
                    continue;
            }
            const double z = std::min(from.z + t0 * (to.z - from.z), from.z + t1 * (to.z - from.z));
            visit(std::size_t(row) * std::size_t(m_columns) + std::size_t(col), z);
        }
    }
}

void MillBlock::sweep(const ToolPoint& from, const ToolPoint& to, double radius)
{
    forCellsNear(from, to, radius, [this](std::size_t i, double z) {
        m_top[i] = std::min(m_top[i], std::max(z, -m_sizeZ));
    });
}

void MillBlock::clearRectangle(const ToolPoint& corner, const ToolPoint& opposite, double depth, double radius)
{
    const double r = std::max(radius, m_cell / 2.0);
    const double x0 = std::min(corner.x, opposite.x);
    const double x1 = std::max(corner.x, opposite.x);
    const double y0 = std::min(corner.y, opposite.y);
    const double y1 = std::max(corner.y, opposite.y);
    const double bottom = std::max(depth, -m_sizeZ);
    const int c0 = std::max(0, int(std::floor((x0 - r) / m_cell)));
    const int c1 = std::min(m_columns - 1, int(std::floor((x1 + r) / m_cell)));
    const int r0 = std::max(0, int(std::floor((y0 - r) / m_cell)));
    const int r1 = std::min(m_rows - 1, int(std::floor((y1 + r) / m_cell)));
    for (int row = r0; row <= r1; ++row) {
        const double cy = (row + 0.5) * m_cell;
        const double oy = std::max({y0 - cy, 0.0, cy - y1});
        for (int col = c0; col <= c1; ++col) {
            const double cx = (col + 0.5) * m_cell;
            const double ox = std::max({x0 - cx, 0.0, cx - x1});
            if (ox * ox + oy * oy <= r * r) {
                double& top = m_top[std::size_t(row) * std::size_t(m_columns) + std::size_t(col)];
                top = std::min(top, bottom);
            }
        }
    }
}

bool MillBlock::entersMaterial(const ToolPoint& from, const ToolPoint& to, double radius) const
{
    bool enters = false;
    forCellsNear(from, to, radius, [&](std::size_t i, double z) {
        if (z < m_top[i] - kGrace && m_top[i] > -m_sizeZ + kGrace)
            enters = true;
    });
    return enters;
}

// ---- the run ----

std::pair<double, double> latheBilletExtent(const Toolpath& path, double diameter)
{
    // The face is at Z 0, where the program's zero lies as a rule; the billet
    // reaches back as far as the cuts go. Only the ends of cuts count, since
    // a cut starts from a clearance point in front of the face.
    double zmin = 0.0;
    double zmax = 0.0;
    for (const ToolpathMove& m : path.moves) {
        if (m.kind == MoveKind::Rapid)
            continue;
        zmin = std::min(zmin, m.to.z);
        zmax = std::max({zmax, m.from.z, m.to.z});
    }
    if (zmin < 0.0)
        return {zmin, 0.0};
    if (zmax > 0.0)  // the zero at the chuck: the work goes toward plus Z
        return {0.0, zmax};
    return {-2.0 * diameter, 0.0};
}

MaterialRun::MaterialRun(const Toolpath& path, const MaterialSetup& setup)
    : m_path(path)
    , m_setup(setup)
{
    reset();
}

void MaterialRun::reset()
{
    m_applied = 0;
    m_pocketCorner = ToolPoint();
    if (isLathe(m_path.machine)) {
        const double diameter = m_path.billetDiameter.value_or(m_setup.billetDiameter);
        const auto [left, right] = latheBilletExtent(m_path, diameter);
        m_stock.emplace(diameter, left, right, m_path.inch ? 0.002 : 0.05);
    } else {
        m_block.emplace(m_setup.blockX, m_setup.blockY, m_setup.blockZ, m_path.inch ? 0.01 : 0.25);
    }
}

bool MaterialRun::applyNext()
{
    if (m_applied >= m_path.moves.size())
        return false;
    apply(m_path.moves[m_applied]);
    ++m_applied;
    return true;
}

void MaterialRun::runTo(std::size_t moves)
{
    moves = std::min(moves, m_path.moves.size());
    if (moves < m_applied)
        reset();
    while (m_applied < moves)
        applyNext();
}

void MaterialRun::apply(const ToolpathMove& move)
{
    const bool mill = !lathe();
    std::vector<ToolPoint> points{move.from, move.to};
    if (move.kind == MoveKind::Arc)
        points = arcPoints(move, mill, mill ? m_block->cell() : m_path.inch ? 0.002 : 0.05);
    if (!mill) {
        if (drillingCycle(move.code))
            return;  // the drill's width is not known: drawn as a line only
        for (std::size_t i = 1; i < points.size(); ++i)
            m_stock->cutWithTip(points[i - 1], points[i]);
        return;
    }
    const double radius = move.toolRadius;
    if (move.code == 72 && move.kind == MoveKind::Cycle) {
        const bool vertical = std::hypot(move.to.x - move.from.x, move.to.y - move.from.y) < kSame;
        if (vertical) {
            m_pocketCorner = move.to;
        } else {
            // The pocket is cleared as its outline goes round: each corner
            // reached widens the cleared rectangle from where it went down.
            m_block->clearRectangle(m_pocketCorner, move.to, move.to.z, radius);
        }
    }
    for (std::size_t i = 1; i < points.size(); ++i)
        m_block->sweep(points[i - 1], points[i], radius);
}

bool MaterialRun::nextRapidEntersMaterial() const
{
    if (m_applied >= m_path.moves.size())
        return false;
    const ToolpathMove& m = m_path.moves[m_applied];
    if (m.kind != MoveKind::Rapid || drillingCycle(m.code))
        return false;
    return lathe() ? m_stock->entersMaterial(m.from, m.to) : m_block->entersMaterial(m.from, m.to, m.toolRadius);
}

}  // namespace quillon

#pragma once

#include "Toolpath.h"

#include <cstddef>
#include <optional>
#include <vector>

// The material a test run takes off: the lathe billet as a stock profile in Z,
// the mill block as a grid of top heights. Both are plain data the pane
// shades; a MaterialRun applies the moves of a tool path to them one by one,
// so the pane can show the material at any step and the warnings analysis
// can ask whether a rapid move goes through material that is still there.
//
// All lengths are in the program's units (mm or inch), in the tool path's
// coordinates: lathe x is the radius and z runs along the axis, the free end
// of the billet toward plus Z; mill x, y, z as programmed, the block's top at
// Z 0.

namespace quillon {

// What the user sets in the pane (remembered in the settings).
struct MaterialSetup {
    // Lathe: the billet diameter when the description names none (a line
    // with DIAM and BILLET, as the export reads it; that one wins).
    double billetDiameter = 20.0;
    // Mill: the block reaches from X 0 to blockX, Y 0 to blockY and from its
    // top at Z 0 down to -blockZ.
    double blockX = 80.0;
    double blockY = 60.0;
    double blockZ = 20.0;

    bool operator==(const MaterialSetup&) const = default;
};

// Sizes that fit a teaching machine's billets and blocks, in mm or in inch.
MaterialSetup defaultMaterialSetup(bool inch);

// One piece of the lathe stock, between z0 and z1 (z0 < z1): the material
// there reaches from the radius `bore` (0: solid, no hole) out to `outer`.
// Where outer <= bore nothing is left.
struct StockSpan {
    double z0 = 0.0;
    double z1 = 0.0;
    double outer = 0.0;
    double bore = 0.0;

    bool operator==(const StockSpan&) const = default;
};

// The lathe billet, seen as its half section above the axis. It is held in
// cells of equal width along Z, each with one outer radius and one bore
// radius; a cut changes the cells whose width its Z span overlaps.
class LatheStock {
public:
    // A solid billet of `diameter` from zLeft (the chuck side) to zRight (its
    // free end), in cells of about `cellWidth`.
    LatheStock(double diameter, double zLeft, double zRight, double cellWidth);

    double billetRadius() const { return m_radius; }
    double zLeft() const { return m_zLeft; }
    double zRight() const { return m_zRight; }

    // What is left, from zLeft to zRight, neighbouring cells with equal radii
    // merged into one span. The removed part is the rest of the billet's
    // rectangle (zLeft..zRight, 0..billetRadius).
    std::vector<StockSpan> spans() const;
    // The radii at z; outer 0 outside the billet.
    double outerAt(double z) const;
    double boreAt(double z) const;

    // The tool tip goes from `from` to `to`: the material outside the tip's
    // radius is removed over the Z span the move covers. A tip that reaches
    // the axis parts off everything between it and the free end (a facing
    // cut down to X 0 takes the whole end off).
    void cutWithTip(const ToolPoint& from, const ToolPoint& to);
    // A drill of `diameter` on the axis from zFrom to zTo removes a bore.
    void drill(double zFrom, double zTo, double diameter);

    // Whether the tip going straight from `from` to `to` passes through
    // material still there. Running along its surface does not count.
    bool entersMaterial(const ToolPoint& from, const ToolPoint& to) const;

private:
    int cellAt(double z) const;
    double cellLeft(int cell) const { return m_zLeft + cell * m_cell; }

    double m_radius = 0.0;
    double m_zLeft = 0.0;
    double m_zRight = 0.0;
    double m_cell = 1.0;
    std::vector<double> m_outer;
    std::vector<double> m_bore;
};

// The mill block seen from above: a grid of square cells, each with the
// height of the material's top there (0 untouched, -sizeZ cut through).
// Cell (column, row) covers X column*cell .. (column+1)*cell and Y row*cell
// .. (row+1)*cell; a cutter clears a cell when the cell's centre lies within
// its radius of the cutter's path.
class MillBlock {
public:
    MillBlock(double sizeX, double sizeY, double sizeZ, double cell);

    double sizeX() const { return m_sizeX; }
    double sizeY() const { return m_sizeY; }
    double sizeZ() const { return m_sizeZ; }
    double cell() const { return m_cell; }
    int columns() const { return m_columns; }
    int rows() const { return m_rows; }

    // The material's top in a cell: 0 where untouched, down to -sizeZ. The
    // depth the pane shades is its negative.
    double topAt(int column, int row) const { return m_top[std::size_t(row) * std::size_t(m_columns) + std::size_t(column)]; }
    // The top at a point; nullopt outside the block.
    std::optional<double> topAtPoint(double x, double y) const;
    // The side view: the material's top along X in the section at `y`, one
    // value per column (the block's outline when y lies outside it).
    std::vector<double> sectionAtY(double y) const;
    // The side view seen through the block: the deepest top of each column.
    std::vector<double> deepestAlongX() const;

    // A cutter of `radius` whose centre goes from `from` to `to`, its face at
    // the path's Z: every cell it covers is cut down to that Z.
    void sweep(const ToolPoint& from, const ToolPoint& to, double radius);
    // The cutter's centre covers the rectangle between two corners (a pocket)
    // at `depth`: clears the rectangle widened by the radius, corners round.
    void clearRectangle(const ToolPoint& corner, const ToolPoint& opposite, double depth, double radius);

    // Whether a cutter of `radius` going from `from` to `to` passes below the
    // top of material still there. Running along the surface does not count.
    bool entersMaterial(const ToolPoint& from, const ToolPoint& to, double radius) const;

private:
    template <typename Visit>
    void forCellsNear(const ToolPoint& from, const ToolPoint& to, double radius, Visit visit) const;

    double m_sizeX = 0.0;
    double m_sizeY = 0.0;
    double m_sizeZ = 0.0;
    double m_cell = 1.0;
    int m_columns = 0;
    int m_rows = 0;
    std::vector<double> m_top;
};

// The lathe billet's extent in Z for a tool path, as the drawing shows it:
// the face at Z 0 and back as far as the cuts go (a program with its zero at
// the chuck works toward plus Z instead). first = zLeft, second = zRight.
std::pair<double, double> latheBilletExtent(const Toolpath& path, double diameter);

// The material of one tool path and the moves applied to it so far. The
// tool path must outlive the run. How a move acts:
// - lathe: plain moves, arcs and the turning, facing, grooving and thread
//   cycles cut with the tool tip; the drilling cycles on the axis cut
//   nothing (the program does not say the drill's width; the pane draws them
//   as lines).
// - mill: every move sweeps the cutter radius of the last M06 (the move's
//   toolRadius); the pocket cycle clears its whole rectangle at depth.
class MaterialRun {
public:
    MaterialRun(const Toolpath& path, const MaterialSetup& setup);

    bool lathe() const { return m_stock.has_value(); }
    // The lathe billet (lathe() only) and the mill block (otherwise).
    const LatheStock& stock() const { return *m_stock; }
    const MillBlock& block() const { return *m_block; }

    // How many of the path's moves are applied.
    std::size_t applied() const { return m_applied; }
    // Applies the next move; false when every move is applied.
    bool applyNext();
    // The material after the first `moves` moves: goes on from here, or
    // starts again from the untouched material when going back.
    void runTo(std::size_t moves);

    // Whether the next move (the path's move applied()) is a rapid that goes
    // through material still there. The rapid parts of drilling cycles go
    // back through their own hole and never count.
    bool nextRapidEntersMaterial() const;

private:
    void reset();
    void apply(const ToolpathMove& move);

    const Toolpath& m_path;
    MaterialSetup m_setup;
    std::optional<LatheStock> m_stock;
    std::optional<MillBlock> m_block;
    std::size_t m_applied = 0;
    ToolPoint m_pocketCorner;  // where the pocket being cut went down
};

}  // namespace quillon

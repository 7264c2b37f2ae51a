// The material a test run takes off, against geometry worked out by hand.
#include "preview/Material.h"

#include "export/ProgramBuilder.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillon;
using namespace quillon::testing;

namespace {

// Runs the whole path; the rows whose rapid went through material.
std::vector<int> runAll(MaterialRun& run, const Toolpath& path)
{
    std::vector<int> rapids;
    do {
        if (run.nextRapidEntersMaterial())
            rapids.push_back(path.moves[run.applied()].row);
    } while (run.applyNext());
    return rapids;
}

}  // namespace

TEST(Material, LatheFacingRoughingAndRapidsOnADiam20Billet)
{
    ProgramBuilder p(MachineType::Mark4, Units::Metric, QStringLiteral("Billet Diam 20"));
    p.row("G90").row("M03")
        .row("G00", {.x = 2200, .z = -50})
        .row("G01", {.x = 0, .z = -50, .f = 100})           // facing to the axis at Z-0.5: the end comes off
        .row("G00", {.x = 2200, .z = 100})
        .row("G84", {.x = 1600, .z = -1500, .f = 100, .h = 50})  // roughing to radius 8 from Z1 to Z-15
        .row("G00", {.x = 1700, .z = -1000})                 // over the cut part only: no material
        .row("G00", {.x = 1700, .z = -2000})                 // into the untouched billet beyond Z-15
        .row("G01", {.x = 1700, .z = -3000})
        .row("M30");
    const Toolpath path = buildToolpath(p.program, MachineType::Mark4);
    MaterialRun run(path, MaterialSetup{});
    ASSERT_TRUE(run.lathe());
    EXPECT_EQ(run.stock().billetRadius(), 10.0);
    EXPECT_EQ(runAll(run, path), std::vector<int>{7});
    // By hand: Z-30..-15 at radius 8.5 (the rapid and the last cut), Z-15..-0.5
    // at radius 8 (the cycle), nothing from the facing cut at Z-0.5 to the face.
    std::vector<StockSpan> spans = run.stock().spans();
    for (StockSpan& s : spans)
        s = {std::round(s.z0 * 1e6) / 1e6, std::round(s.z1 * 1e6) / 1e6, s.outer, s.bore};
    EXPECT_EQ(spans, (std::vector<StockSpan>{{-30, -15, 8.5, 0}, {-15, -0.5, 8, 0}, {-0.5, 0, 0, 0}}));
    // Going back starts again from the untouched billet; the rapid of row 7
    // is then still ahead and goes through material.
    run.runTo(4);
    EXPECT_EQ(run.stock().outerAt(-10.0), 10.0);
    EXPECT_EQ(run.stock().outerAt(-0.2), 0.0);
    run.runTo(path.moves.size() - 2);
    EXPECT_TRUE(run.nextRapidEntersMaterial());
    // Down the faced end's edge at Z-0.5 touches material on one side only.
    EXPECT_FALSE(run.stock().entersMaterial({12, 0, -0.5}, {5, 0, -0.5}));
    EXPECT_TRUE(run.stock().entersMaterial({12, 0, -0.6}, {5, 0, -0.6}));
    LatheStock bored(20, -30, 0, 0.05);
    bored.drill(1, -20, 6);
    EXPECT_EQ(std::vector({bored.boreAt(-19.9), bored.boreAt(-20.1)}), std::vector({3.0, 0.0}));
}

TEST(Material, MillSlotAndPocketClearTheirWidthsAtDepth)
{
    ProgramBuilder p(MachineType::F1);
    p.row("G90").row("M03")
        .row("M06", {.x = 500, .y = 1000, .z = 0, .t = 1})                  // cutter radius 5
        .row("G00", {.x = 1000, .y = 5000, .z = 200})
        .row("G01", {.x = 1000, .y = 5000, .z = -200, .f = 100})
        .row("G01", {.x = 5000, .y = 5000, .z = -200})                      // slot Y 45..55 at Z-2
        .row("G00", {.x = 5000, .y = 5000, .z = 200})
        .row("M06", {.x = 300, .y = 1000, .z = 0, .t = 2})                  // cutter radius 3
        .row("G00", {.x = 2500, .y = 2000, .z = 200})
        .row("G72", {.x = 4500, .y = 4000, .z = -300, .f = 100})            // pocket X 22..48, Y 17..43 at Z-3
        .row("G00", {.x = 3500, .y = 3000, .z = -250})                      // down into the pocket: free
        .row("G00", {.x = 7000, .y = 3000, .z = -250})                      // out through its wall
        .row("M30");
    const Toolpath path = buildToolpath(p.program, MachineType::F1);
    MaterialRun run(path, MaterialSetup{});
    ASSERT_FALSE(run.lathe());
    EXPECT_EQ(runAll(run, path), std::vector<int>{11});
    const MillBlock& b = run.block();
    const struct { double x, y, top; } points[] = {
        {30, 55.1, 0}, {30, 54.9, -2}, {30, 45.1, -2}, {30, 44.9, 0}, {5.1, 50, -2}, {4.9, 50, 0}, {55.1, 50, 0},
        {35, 17.1, -3}, {35, 16.9, 0}, {22.1, 30, -3}, {21.9, 30, 0}, {47.9, 20, -3}, {48.1, 20, 0},
        {22.3, 17.3, 0},  // the cutter leaves the pocket's corners round
        {60, 30, -2.5},   // the rapid out through the wall cut it too
    };
    for (const auto& pt : points)
        EXPECT_EQ(b.topAtPoint(pt.x, pt.y), std::optional<double>(pt.top)) << pt.x << " " << pt.y;
    EXPECT_EQ(b.topAtPoint(81, 10), std::nullopt);
    EXPECT_EQ(b.sectionAtY(50)[std::size_t(30 / b.cell())], -2.0);
}

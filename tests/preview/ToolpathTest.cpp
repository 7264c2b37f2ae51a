#include "preview/Toolpath.h"

#include "export/CycleMoves.h"
#include "export/ExportMessages.h"
#include "export/ExtractCode.h"
#include "files/Cp1252.h"
#include "files/ProgramText.h"

#include "PreviewProgram.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <algorithm>
#include <chrono>

using namespace quillon;
using namespace quillon::testing;

namespace {

constexpr double kTol = 1e-4;

void expectPoint(const ToolPoint& p, double x, double y, double z, const char* what)
{
    EXPECT_NEAR(p.x, x, kTol) << what;
    EXPECT_NEAR(p.y, y, kTol) << what;
    EXPECT_NEAR(p.z, z, kTol) << what;
}

int countKind(const Toolpath& path, MoveKind kind)
{
    int n = 0;
    for (const ToolpathMove& m : path.moves)
        n += m.kind == kind ? 1 : 0;
    return n;
}

// Consecutive moves join up: the drawing has no gaps the program does not have.
void expectJoined(const Toolpath& path)
{
    for (std::size_t i = 1; i < path.moves.size(); ++i)
        EXPECT_EQ(path.moves[i].from, path.moves[i - 1].to) << "move " << i;
}

}  // namespace

TEST(ToolpathLathe, MovesAndArcsInRadiusWithTheirRows)
{
    PreviewProgram p(MachineType::Mark4, Units::Metric, QStringLiteral("Welle\r\nRohteil Billet Diam. 40 mm"));
    p.row("G90")
        .row("G00", {.x = 2000, .z = 200})
        .row("G01", {.x = 2000, .z = -1000, .f = 100})
        .row("G01", {.x = 3000, .z = -1000})
        .row("G02", {.x = 4000, .z = -1500, .f = 80})  // quarter circle, radius from the Z travel
        .row("G03", {.x = 5400, .z = -2200})
        .row("M99", {.i = 300, .k = 400})
        .row("M30")
        .row("G00", {.x = 0, .z = 0});  // after the end: not drawn
    const Toolpath path = buildToolpath(p.program, MachineType::Mark4);

    EXPECT_EQ(path.machine, MachineType::Mark4);
    EXPECT_FALSE(path.inch);
    EXPECT_EQ(path.billetDiameter, std::optional<double>(40.0));
    EXPECT_TRUE(path.stopMessage.isEmpty());
    EXPECT_EQ(path.stopRow, -1);
    ASSERT_EQ(path.moves.size(), 5u);
    EXPECT_EQ(countKind(path, MoveKind::Rapid), 1);
    EXPECT_EQ(countKind(path, MoveKind::Feed), 2);
    EXPECT_EQ(countKind(path, MoveKind::Arc), 2);
    expectJoined(path);

    const std::vector<ToolpathMove>& m = path.moves;
    // The walk starts at X 25 Z 10, a radius of 12.5.
    expectPoint(m[0].from, 12.5, 0, 10, "start");
    expectPoint(m[0].to, 10, 0, 2, "rapid");
    expectPoint(m[1].to, 10, 0, -10, "feed 1");
    expectPoint(m[2].to, 15, 0, -10, "feed 2");
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(m[i].row, i + 1);
        EXPECT_EQ(m[i].code, i < 3 ? (i == 0 ? 0 : 1) : i - 1);
    }

    expectPoint(m[3].to, 20, 0, -15, "G02 end");
    expectPoint(m[3].centre, 20, 0, -10, "G02 centre");
    EXPECT_NEAR(m[3].radius, 5.0, kTol);
    EXPECT_TRUE(m[3].clockwise);

    // M99 I3 K4: radius 5, the centre on the side that puts the end on the circle.
    expectPoint(m[4].to, 27, 0, -22, "G03 end");
    expectPoint(m[4].centre, 23, 0, -19, "G03 centre");
    EXPECT_NEAR(m[4].radius, 5.0, kTol);
    EXPECT_FALSE(m[4].clockwise);
}

TEST(ToolpathLathe, IncrementalG92AndInchOnTheMark2)
{
    PreviewProgram p(MachineType::Mark2, Units::Imperial, QStringLiteral("no diameter named"));
    p.row("G00", {.x = -100, .z = -200})  // incremental: X is a radius step
        .row("G92", {.x = 0, .z = 0})
        .row("G01", {.x = 250, .z = -500, .f = 20})
        .row("G90")
        .row("G00", {.x = 1000, .z = 100})
        .row("G22");
    const Toolpath path = buildToolpath(p.program, MachineType::Mark2);

    EXPECT_TRUE(path.inch);
    EXPECT_FALSE(path.billetDiameter.has_value());
    ASSERT_EQ(path.moves.size(), 3u);
    // Inch start X 1 Z 0.4.
    expectPoint(path.moves[0].from, 0.5, 0, 0.4, "start");
    expectPoint(path.moves[0].to, 0.4, 0, 0.2, "incremental rapid");
    // G92 makes the tool's place the origin; no move is drawn for it.
    expectPoint(path.moves[1].from, 0, 0, 0, "after G92");
    expectPoint(path.moves[1].to, 0.25, 0, -0.5, "incremental feed");
    EXPECT_EQ(path.moves[1].kind, MoveKind::Feed);
    EXPECT_EQ(path.moves[1].row, 2);
    expectPoint(path.moves[2].from, 0.25, 0, -0.5, "before absolute");
    expectPoint(path.moves[2].to, 0.5, 0, 0.1, "absolute rapid");
    EXPECT_EQ(path.moves[2].row, 4);
}

TEST(ToolpathLathe, DeepDrillingIsExpandedAsTheExportExpandsIt)
{
    PreviewProgram p(MachineType::Mark4);
    p.row("G90").row("G00", {.x = 0, .z = 200}).row("G83", {.z = -2000, .f = 100}).row("G00", {.x = 2000, .z = 500});
    const Toolpath path = buildToolpath(p.program, MachineType::Mark4);

    const std::vector<ToolMove> expected = drillDeepG83Moves(CycleStart{0.0f, 2.0f, 100.0f}, -20.0f, false);
    ASSERT_EQ(expected.size(), 11u);  // three pecks, each fed, retracted and re-approached, then the last cut
    ASSERT_EQ(path.moves.size(), 1 + expected.size() + 1);
    const std::vector<double> zs = {-4, 2, -3.5, -9.5, 2, -9, -15, 2, -14.5, -20, 2};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const ToolpathMove& m = path.moves[i + 1];
        EXPECT_EQ(m.kind, expected[i].code == 0 ? MoveKind::Rapid : MoveKind::Feed) << i;
        EXPECT_EQ(m.code, 83);
        EXPECT_EQ(m.row, 2);
        EXPECT_NEAR(m.to.z, double(expected[i].z), kTol) << i;
        EXPECT_NEAR(m.to.z, zs[i], kTol) << i;
        EXPECT_NEAR(m.to.x, 0.0, kTol);
    }
    expectJoined(path);
    // The cycle leaves the tool where it started.
    expectPoint(path.moves.back().from, 0, 0, 2, "after G83");
}

TEST(ToolpathLathe, CyclesAreDrawnAsTheRectangleTheyWork)
{
    PreviewProgram p(MachineType::Mark4);
    p.row("G90")
        .row("G00", {.x = 3000, .z = 200})
        .row("G84", {.x = 2000, .z = -3000, .f = 100, .h = 50})
        .row("G88", {.x = 1000, .z = -100, .f = 100, .h = 20})
        .row("G01", {.x = 3000, .z = -500, .f = 50});
    const Toolpath path = buildToolpath(p.program, MachineType::Mark4);

    ASSERT_EQ(path.moves.size(), 1u + 4u + 4u + 1u);
    expectJoined(path);
    // G84 goes in along X, along Z to the target, out and back.
    const double g84[][2] = {{10, 2}, {10, -30}, {15, -30}, {15, 2}};
    for (int i = 0; i < 4; ++i) {
        const ToolpathMove& m = path.moves[1 + i];
        EXPECT_EQ(m.kind, MoveKind::Cycle);
        EXPECT_EQ(m.label, QStringLiteral("G84"));
        EXPECT_EQ(m.row, 2);
        expectPoint(m.to, g84[i][0], 0, g84[i][1], "G84 corner");
    }
    // The facing cycle goes in along Z first.
    expectPoint(path.moves[5].to, 15, 0, -1, "G88 first corner");
    expectPoint(path.moves[6].to, 5, 0, -1, "G88 target");
    EXPECT_EQ(path.moves[5].label, QStringLiteral("G88"));
    EXPECT_EQ(path.moves[9].kind, MoveKind::Feed);
    expectPoint(path.moves[9].from, 15, 0, 2, "the tool stays at the cycle start");
}

TEST(ToolpathLathe, CallsJumpsAndReturnsAreFollowedWithTheirRows)
{
    PreviewProgram p(MachineType::Mark4);
    p.row("G90")
        .row("G25", {.l = 6})                      // 1: call N06
        .row("G27", {.l = 4})                      // 2: jump over row 3
        .row("G00", {.x = 0, .z = 0})              // 3: skipped
        .row("G00", {.x = 1000, .z = 100})         // 4
        .row("M30")                                // 5
        .row("G01", {.x = 2000, .z = -500, .f = 100})  // 6: subroutine
        .row("G01", {.x = 2000, .z = -1000})       // 7
        .row("M17");                               // 8
    const Toolpath path = buildToolpath(p.program, MachineType::Mark4);

    EXPECT_TRUE(path.stopMessage.isEmpty());
    ASSERT_EQ(path.moves.size(), 3u);
    EXPECT_EQ(path.moves[0].row, 6);
    EXPECT_EQ(path.moves[1].row, 7);
    EXPECT_EQ(path.moves[2].row, 4);
    expectPoint(path.moves[2].to, 5, 0, 1, "after the return");
    expectJoined(path);
}

TEST(ToolpathLathe, FaultsKeepTheMovesBeforeThem)
{
    {
        PreviewProgram p(MachineType::Mark4);
        p.row("G90").row("G00", {.x = 1000, .z = 0}).row("G27", {.l = 50}).row("G00", {.x = 0, .z = 0});
        const Toolpath path = buildToolpath(p.program, MachineType::Mark4);
        ASSERT_EQ(path.moves.size(), 1u);
        EXPECT_EQ(path.stopRow, 2);
        LineRecord jump;
        jump.text = ExtractCode(strFileOutBuff(p.program, MachineType::Mark4), MachineType::Mark4).records[2].text;
        EXPECT_EQ(path.stopMessage, missingJumpTargetMessage(jump));
        EXPECT_TRUE(path.stopMessage.startsWith(QStringLiteral("Die Ziel Zeile für den Sprungbefehl")));
    }
    {
        PreviewProgram p(MachineType::Mark4);
        p.row("G00", {.x = 0, .z = -100}).row("M17");
        const Toolpath path = buildToolpath(p.program, MachineType::Mark4);
        EXPECT_EQ(path.moves.size(), 1u);
        EXPECT_EQ(path.stopRow, 1);
        EXPECT_TRUE(path.stopMessage.startsWith(QStringLiteral("Der Rücksprungbefehl hat keinen")));
    }
    {
        // An arc with no Z travel and no circle parameters has no radius.
        PreviewProgram p(MachineType::Mark2);
        p.row("G01", {.x = -100, .z = -100, .f = 50}).row("G02", {.x = -200, .z = 0, .f = 50}).row("G01", {.x = 0, .z = -100});
        const Toolpath path = buildToolpath(p.program, MachineType::Mark2);
        EXPECT_EQ(path.moves.size(), 1u);
        EXPECT_EQ(path.stopRow, 1);
        EXPECT_TRUE(path.stopMessage.startsWith(QStringLiteral("Es ist ein Problem mit dem Bogen")));
    }
}

TEST(ToolpathLathe, EndlessJumpLoopsStop)
{
    {
        // A loop that moves stops where the export runs out of line numbers.
        PreviewProgram p(MachineType::Mark4);
        p.row("G90").row("G00", {.x = 1000, .z = 0}).row("G01", {.x = 1000, .z = -100, .f = 50}).row("G27", {.l = 1});
        const Toolpath path = buildToolpath(p.program, MachineType::Mark4);
        EXPECT_EQ(path.stopMessage, lineLimitMessage());
        EXPECT_EQ(path.stopRow, 3);
        EXPECT_GT(path.moves.size(), 3000u);
        EXPECT_LE(path.moves.size(), 3273u);
    }
    {
        // One that does not move runs into the walk's step limit.
        PreviewProgram p(MachineType::Mark2);
        p.row("G00", {.x = 0, .z = -100}).row("G21").row("G27", {.l = 1});
        const auto begin = std::chrono::steady_clock::now();
        const Toolpath path = buildToolpath(p.program, MachineType::Mark2);
        const auto took = std::chrono::steady_clock::now() - begin;
        EXPECT_EQ(path.stopMessage, lineLimitMessage());
        EXPECT_EQ(path.stopRow, 2);
        EXPECT_EQ(path.moves.size(), 1u);
        std::printf("endless loop without moves: %lld ms\n",
                    (long long)std::chrono::duration_cast<std::chrono::milliseconds>(took).count());
    }
}

TEST(ToolpathLathe, RowsStayInPlaceAroundABrokenComment)
{
    // A line break typed into a comment would split the row in the text.
    PreviewProgram p(MachineType::Mark4);
    p.row("G90", {.comment = QStringLiteral("eins\r\n    2 01 G00")}).row("G00", {.x = 1000, .z = 0});
    const Toolpath path = buildToolpath(p.program, MachineType::Mark4);
    ASSERT_EQ(path.moves.size(), 1u);
    EXPECT_EQ(path.moves[0].row, 1);
    EXPECT_EQ(path.moves[0].kind, MoveKind::Rapid);
}

TEST(ToolpathMill, MovesArcsCyclesAndPocketInThreeAxes)
{
    PreviewProgram p(MachineType::F1);
    p.row("G90")
        .row("G00", {.x = 1000, .y = 500, .z = 200})          // 1
        .row("G01", {.z = -100, .f = 100})                     // 2
        .row("G01", {.x = 3000})                               // 3
        .row("G02", {.x = 4000, .y = -500, .f = 80})           // 4: quarter circle, radius from the X travel
        .row("G03", {.x = 2000, .y = 1500})                    // 5
        .row("M99", {.i = 2000, .j = 0})                       // 6
        .row("G91")                                            // 7
        .row("G00", {.z = 300})                                // 8
        .row("G81", {.z = -500, .f = 50})                      // 9
        .row("G72", {.x = 1000, .y = 800, .z = -200, .f = 50})  // 10
        .row("G01", {.x = -500, .y = -500})                    // 11
        .row("M30");
    const Toolpath path = buildToolpath(p.program, MachineType::F1);

    EXPECT_EQ(path.machine, MachineType::F1);
    EXPECT_FALSE(path.billetDiameter.has_value());
    EXPECT_TRUE(path.stopMessage.isEmpty()) << path.stopMessage.toStdString();
    ASSERT_EQ(path.moves.size(), 2u + 2u + 2u + 2u + 6u + 1u);
    expectJoined(path);
    const std::vector<ToolpathMove>& m = path.moves;
    // The mill starts at the origin.
    expectPoint(m[0].from, 0, 0, 0, "start");
    expectPoint(m[0].to, 10, 5, 2, "rapid");
    EXPECT_EQ(m[0].kind, MoveKind::Rapid);
    expectPoint(m[1].to, 10, 5, -1, "plunge");
    expectPoint(m[2].to, 30, 5, -1, "feed");
    EXPECT_EQ(m[2].row, 3);

    EXPECT_EQ(m[3].kind, MoveKind::Arc);
    EXPECT_TRUE(m[3].clockwise);
    expectPoint(m[3].to, 40, -5, -1, "G02 end");
    expectPoint(m[3].centre, 30, -5, -1, "G02 centre");
    EXPECT_NEAR(m[3].radius, 10, kTol);

    EXPECT_FALSE(m[4].clockwise);
    EXPECT_EQ(m[4].row, 5);
    expectPoint(m[4].centre, 20, -5, -1, "G03 centre from I J");
    EXPECT_NEAR(m[4].radius, 20, kTol);

    expectPoint(m[5].to, 20, 15, 2, "incremental rapid");
    EXPECT_EQ(m[5].row, 8);
    // G81 drills down along Z at the tool's X Y and comes back.
    EXPECT_EQ(m[6].kind, MoveKind::Feed);
    EXPECT_EQ(m[6].code, 81);
    expectPoint(m[6].to, 20, 15, -3, "drilled");
    EXPECT_EQ(m[7].kind, MoveKind::Rapid);
    expectPoint(m[7].to, 20, 15, 2, "back up");

    // The pocket: down, round the rectangle at depth, up again.
    const double pocket[][3] = {{20, 15, 0}, {30, 15, 0}, {30, 23, 0}, {20, 23, 0}, {20, 15, 0}, {20, 15, 2}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(m[8 + i].kind, MoveKind::Cycle);
        EXPECT_EQ(m[8 + i].label, QStringLiteral("G72"));
        EXPECT_EQ(m[8 + i].row, 10);
        expectPoint(m[8 + i].to, pocket[i][0], pocket[i][1], pocket[i][2], "pocket");
    }
    expectPoint(m[14].to, 15, 10, 2, "incremental feed after the pocket");
}

TEST(ToolpathMill, InchG92CallsAndCodesTheMillDoesNotKnow)
{
    PreviewProgram p(MachineType::F1, Units::Imperial, QStringLiteral("Billet diam 40"));
    p.row("G92", {.x = 1000, .y = -500, .z = 0})  // incremental start: G92 takes the values as they are
        .row("G25", {.l = 5})
        .row("G84", {.x = 100, .z = -100, .f = 10})  // a lathe cycle in a mill row does nothing
        .row("G83", {.z = -500, .f = 10})
        .row("M30")
        .row("G01", {.x = 250, .y = 250, .f = 10})  // 5: subroutine
        .row("M17");
    const Toolpath path = buildToolpath(p.program, MachineType::F1);

    EXPECT_TRUE(path.inch);
    EXPECT_FALSE(path.billetDiameter.has_value());  // the mill has no billet
    ASSERT_GE(path.moves.size(), 2u);
    expectPoint(path.moves[0].from, 1, -0.5, 0, "after G92");
    expectPoint(path.moves[0].to, 1.25, -0.25, 0, "subroutine move");
    EXPECT_EQ(path.moves[0].row, 5);
    // The inch deep-hole cycle pecks 0.236 at a time.
    const std::vector<ToolMove> pecks = drillDeepG83Moves(CycleStart{1.25f, 0.0f, 1.0f, -0.25f}, -0.5f, true);
    ASSERT_EQ(path.moves.size(), 1 + pecks.size());
    for (std::size_t i = 0; i < pecks.size(); ++i) {
        EXPECT_EQ(path.moves[1 + i].row, 3);
        EXPECT_EQ(path.moves[1 + i].code, 83);
        expectPoint(path.moves[1 + i].to, 1.25, -0.25, double(pecks[i].z), "peck");
    }
}

namespace {

Program sampleProgram(const char* name, MachineType machine)
{
    QFile file(QDir(qEnvironmentVariable("QUILLON_TEST_DATA")).filePath(QString::fromLatin1(name)));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    const DecodeResult r = blnDecodeBuffer(decodeCp1252(file.readAll()), machine, Units::Metric);
    EXPECT_TRUE(r.accepted) << name;
    return r.program;
}

std::vector<const ToolpathMove*> movesOfRow(const Toolpath& path, int row)
{
    std::vector<const ToolpathMove*> found;
    for (const ToolpathMove& m : path.moves)
        if (m.row == row)
            found.push_back(&m);
    return found;
}

}  // namespace

// The shipped sample programs, checked against their drawing worked out by
// hand: fillets with their circle parameters, the cycles, the subroutine.
TEST(ToolpathSamples, ShaftContourWithFilletsDrillAndGroove)
{
    const Toolpath path = buildToolpath(sampleProgram("mark4-kontur.cnc", MachineType::Mark4), MachineType::Mark4);
    EXPECT_EQ(path.stopMessage, QString());
    ASSERT_TRUE(path.billetDiameter);
    EXPECT_NEAR(*path.billetDiameter, 32.0, kTol);
    expectJoined(path);

    // N08 G03 from radius 10 at Z -15 to radius 13 at Z -18 round (Z -18, radius 10).
    auto arc = movesOfRow(path, 8);
    ASSERT_EQ(arc.size(), 1u);
    EXPECT_EQ(arc[0]->kind, MoveKind::Arc);
    expectPoint(arc[0]->from, 10, 0, -15, "G03 start");
    expectPoint(arc[0]->to, 13, 0, -18, "G03 end");
    expectPoint(arc[0]->centre, 10, 0, -18, "G03 centre");
    EXPECT_NEAR(arc[0]->radius, 3.0, kTol);
    EXPECT_FALSE(arc[0]->clockwise);
    // N11 G02 from radius 13 at Z -30 to radius 16 at Z -33 round (Z -30, radius 16).
    arc = movesOfRow(path, 11);
    ASSERT_EQ(arc.size(), 1u);
    expectPoint(arc[0]->centre, 16, 0, -30, "G02 centre");
    EXPECT_TRUE(arc[0]->clockwise);

    EXPECT_EQ(movesOfRow(path, 3).front()->label, QStringLiteral("G84"));
    // The groove is a subroutine after the program end: drawn once, through the call.
    const auto groove = movesOfRow(path, 21);
    ASSERT_FALSE(groove.empty());
    EXPECT_EQ(groove.front()->label, QStringLiteral("G86"));
    // The deep hole runs on the axis down to Z -20 and no further.
    const auto drill = movesOfRow(path, 16);
    ASSERT_GT(drill.size(), 2u);
    double deepest = 0.0;
    for (const ToolpathMove* m : drill) {
        EXPECT_NEAR(m->to.x, 0.0, kTol);
        deepest = std::min(deepest, m->to.z);
    }
    EXPECT_NEAR(deepest, -20.0, kTol);
}

TEST(ToolpathSamples, PlateContourPocketAndHoles)
{
    const Toolpath path = buildToolpath(sampleProgram("f1-platte.cnc", MachineType::F1), MachineType::F1);
    EXPECT_EQ(path.stopMessage, QString());
    expectJoined(path);

    // Both rounded corners turn counter-clockwise about the corner's centre, 2 mm deep.
    const struct { int row; double cx, cy; } corners[] = {{6, 60, 20}, {9, 60, 40}};
    for (const auto& c : corners) {
        const auto arc = movesOfRow(path, c.row);
        ASSERT_EQ(arc.size(), 1u) << c.row;
        EXPECT_EQ(arc[0]->kind, MoveKind::Arc);
        EXPECT_NEAR(arc[0]->centre.x, c.cx, kTol) << c.row;
        EXPECT_NEAR(arc[0]->centre.y, c.cy, kTol) << c.row;
        EXPECT_NEAR(arc[0]->radius, 10.0, kTol) << c.row;
        EXPECT_FALSE(arc[0]->clockwise) << c.row;
        EXPECT_NEAR(arc[0]->to.z, -2.0, kTol) << c.row;
    }
    // The pocket stays inside its corners and reaches its depth.
    const auto pocket = movesOfRow(path, 15);
    ASSERT_FALSE(pocket.empty());
    for (const ToolpathMove* m : pocket) {
        EXPECT_EQ(m->kind, MoveKind::Cycle);
        EXPECT_GE(m->to.x, 25.0 - kTol);
        EXPECT_LE(m->to.x, 45.0 + kTol);
        EXPECT_GE(m->to.y, 20.0 - kTol);
        EXPECT_LE(m->to.y, 40.0 + kTol);
    }
    // Each hole is drilled where the tool stands, to its own depth.
    const struct { int row; double x, y, depth; } holes[] = {{18, 55, 20, -5}, {20, 55, 40, -8}};
    for (const auto& h : holes) {
        const auto passes = movesOfRow(path, h.row);
        ASSERT_FALSE(passes.empty()) << h.row;
        double deepest = 0.0;
        for (const ToolpathMove* m : passes) {
            EXPECT_NEAR(m->to.x, h.x, kTol) << h.row;
            EXPECT_NEAR(m->to.y, h.y, kTol) << h.row;
            deepest = std::min(deepest, m->to.z);
        }
        EXPECT_NEAR(deepest, h.depth, kTol) << h.row;
    }
}

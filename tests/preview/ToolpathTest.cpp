// The walk over a program and the toolpath drawn from it, for every machine.
#include "preview/Toolpath.h"

#include "export/ExtractCode.h"
#include "export/ProgramWalk.h"
#include "files/ProgramText.h"

#include "QtPrinters.h"
#include "export/ProgramBuilder.h"

#include <QStringList>
#include <gtest/gtest.h>

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

// Consecutive moves join up: the drawing has no gaps the program does not have.
void expectJoined(const Toolpath& path)
{
    for (std::size_t i = 1; i < path.moves.size(); ++i)
        EXPECT_EQ(path.moves[i].from, path.moves[i - 1].to) << "move " << i;
}

// One move as a row of a table: its kind, the row that made it, where it ends.
struct Move {
    MoveKind kind;
    int row;
    double x, y, z;
};

void expectMoves(const Toolpath& path, std::size_t first, std::initializer_list<Move> expected)
{
    ASSERT_GE(path.moves.size(), first + expected.size());
    for (const Move& e : expected) {
        const ToolpathMove& m = path.moves[first];
        SCOPED_TRACE(first++);
        EXPECT_EQ(m.kind, e.kind);
        EXPECT_EQ(m.row, e.row);
        expectPoint(m.to, e.x, e.y, e.z, "end");
    }
}

using K = MoveKind;

}  // namespace

TEST(ToolpathLathe, MovesAndArcsInRadiusWithTheirRows)
{
    ProgramBuilder p(MachineType::Mark4, Units::Metric, QStringLiteral("Welle\r\nRohteil Billet Diam. 40 mm"));
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
    EXPECT_FALSE(path.inch);
    EXPECT_EQ(path.billetDiameter, std::optional<double>(40.0));
    ASSERT_EQ(path.moves.size(), 5u);
    expectJoined(path);
    expectMoves(path, 0, {{K::Rapid, 1, 10, 0, 2}, {K::Feed, 2, 10, 0, -10}, {K::Feed, 3, 15, 0, -10}, {K::Arc, 4, 20, 0, -15}, {K::Arc, 5, 27, 0, -22}});
    const std::vector<ToolpathMove>& m = path.moves;
    // The walk starts at X 25 Z 10, a radius of 12.5.
    expectPoint(m[0].from, 12.5, 0, 10, "start");
    expectPoint(m[3].centre, 20, 0, -10, "G02 centre");
    EXPECT_NEAR(m[3].radius, 5.0, kTol);
    EXPECT_TRUE(m[3].clockwise);
    // M99 I3 K4: radius 5, the centre on the side that puts the end on the circle.
    expectPoint(m[4].centre, 23, 0, -19, "G03 centre");
    EXPECT_NEAR(m[4].radius, 5.0, kTol);
    EXPECT_FALSE(m[4].clockwise);
}

TEST(ToolpathLathe, IncrementalG92AndInchOnTheMark2)
{
    ProgramBuilder p(MachineType::Mark2, Units::Imperial, QStringLiteral("no diameter named"));
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
    expectPoint(path.moves[0].from, 0.5, 0, 0.4, "inch start X 1 Z 0.4");
    // G92 makes the tool's place the origin; no move is drawn for it.
    expectPoint(path.moves[1].from, 0, 0, 0, "after G92");
    expectMoves(path, 0, {{K::Rapid, 0, 0.4, 0, 0.2}, {K::Feed, 2, 0.25, 0, -0.5}, {K::Rapid, 4, 0.5, 0, 0.1}});
}

TEST(ToolpathLathe, CyclesAreExpandedOrDrawnAsTheRectangleTheyWork)
{
    ProgramBuilder p(MachineType::Mark4);
    p.row("G90")
        .row("G00", {.x = 0, .z = 200})
        .row("G83", {.z = -2000, .f = 100})  // 2: three pecks, each fed, retracted and re-approached, then the last cut
        .row("G00", {.x = 3000, .z = 200})
        .row("G84", {.x = 2000, .z = -3000, .f = 100, .h = 50})
        .row("G88", {.x = 1000, .z = -100, .f = 100, .h = 20})
        .row("G01", {.x = 3000, .z = -500, .f = 50});
    const Toolpath path = buildToolpath(p.program, MachineType::Mark4);
    ASSERT_EQ(path.moves.size(), 1u + 11u + 1u + 4u + 4u + 1u);
    expectJoined(path);
    const double zs[] = {-4, 2, -3.5, -9.5, 2, -9, -15, 2, -14.5, -20, 2};
    for (std::size_t i = 0; i < 11; ++i) {
        const ToolpathMove& m = path.moves[1 + i];
        EXPECT_EQ(m.kind, i % 3 == 0 ? MoveKind::Feed : MoveKind::Rapid) << i;
        EXPECT_EQ(m.row, 2);
        expectPoint(m.to, 0, 0, zs[i], "peck");
    }
    // G84 goes in along X, along Z to the target, out and back.
    expectMoves(path, 13, {{K::Cycle, 4, 10, 0, 2}, {K::Cycle, 4, 10, 0, -30}, {K::Cycle, 4, 15, 0, -30}, {K::Cycle, 4, 15, 0, 2}});
    // The facing cycle goes in along Z first.
    expectMoves(path, 17, {{K::Cycle, 5, 15, 0, -1}, {K::Cycle, 5, 5, 0, -1}});
    EXPECT_EQ(path.moves[21].kind, MoveKind::Feed);
    expectPoint(path.moves[21].from, 15, 0, 2, "the tool stays at the cycle start");
}

TEST(ToolpathLathe, CallsJumpsAndReturnsAreFollowedWithTheirRows)
{
    ProgramBuilder p(MachineType::Mark4);
    p.row("G90", {.comment = QStringLiteral("eins\r\n    2 01 G00")})  // a line break typed into a comment
        .row("G25", {.l = 6})                          // 1: call N06
        .row("G27", {.l = 4})                          // 2: jump over row 3
        .row("G00", {.x = 0, .z = 0})                  // 3: skipped
        .row("G00", {.x = 1000, .z = 100})             // 4
        .row("M30")                                    // 5
        .row("G01", {.x = 2000, .z = -500, .f = 100})  // 6: subroutine
        .row("G01", {.x = 2000, .z = -1000})           // 7
        .row("M17");
    const Toolpath path = buildToolpath(p.program, MachineType::Mark4);
    EXPECT_TRUE(path.stopMessage.isEmpty());
    ASSERT_EQ(path.moves.size(), 3u);
    expectMoves(path, 0, {{K::Feed, 6, 10, 0, -5}, {K::Feed, 7, 10, 0, -10}, {K::Rapid, 4, 5, 0, 1}});
    expectJoined(path);

    // A return to the program's last row runs that row before the end.
    ProgramBuilder last(MachineType::Mark4);
    last.row("G27", {.l = 3}).row("G01", {.x = 500, .z = -200, .f = 100}).row("M17").row("G25", {.l = 1}).row("G00", {.x = 0, .z = 0});
    const Toolpath tail = buildToolpath(last.program, MachineType::Mark4);
    ASSERT_EQ(tail.moves.size(), 2u);
    EXPECT_EQ(tail.moves[1].row, 4);
}

TEST(ToolpathLathe, FaultsAndEndlessLoopsKeepTheMovesBeforeThem)
{
    ProgramBuilder jump(MachineType::Mark4), ret(MachineType::Mark4), arc(MachineType::Mark2), moving(MachineType::Mark4), idle(MachineType::Mark2);
    jump.row("G90").row("G00", {.x = 1000, .z = 0}).row("G27", {.l = 50}).row("G00", {.x = 0, .z = 0});
    ret.row("G00", {.x = 0, .z = -100}).row("M17");
    // An arc with no Z travel and no circle parameters has no radius.
    arc.row("G01", {.x = -100, .z = -100, .f = 50}).row("G02", {.x = -200, .z = 0, .f = 50}).row("G01", {.x = 0, .z = -100});
    // A loop that moves stops where the export runs out of line numbers; one
    // that does not move runs into the walk's step limit.
    moving.row("G90").row("G00", {.x = 1000, .z = 0}).row("G01", {.x = 1000, .z = -100, .f = 50}).row("G27", {.l = 1});
    idle.row("G00", {.x = 0, .z = -100}).row("G21").row("G27", {.l = 1});
    const struct {
        ProgramBuilder& program;
        int stopRow;
        std::size_t minMoves, maxMoves;
        const char* message;
    } cases[] = {
        {jump, 2, 1, 1, "Die Ziel Zeile für den Sprungbefehl"},
        {ret, 1, 1, 1, "Der Rücksprungbefehl hat keinen"},
        {arc, 1, 1, 1, "Es ist ein Problem mit dem Bogen"},
        {moving, 3, 3001, 3273, "Das exportierte Programm würde die höchste Zeilennummer 32767 überschreiten."},
        {idle, 2, 1, 1, "Das exportierte Programm würde die höchste Zeilennummer 32767 überschreiten."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const Toolpath path = buildToolpath(c.program.program, c.program.machine());
        EXPECT_EQ(path.stopRow, c.stopRow);
        EXPECT_GE(path.moves.size(), c.minMoves);
        EXPECT_LE(path.moves.size(), c.maxMoves);
        EXPECT_TRUE(path.stopMessage.startsWith(QString::fromUtf8(c.message))) << path.stopMessage.toStdString();
        // The drawing is made whatever the stop: the export's "no file" note is not its to say.
        EXPECT_FALSE(path.stopMessage.contains(QStringLiteral("keine Datei"))) << path.stopMessage.toStdString();
    }
}

TEST(ToolpathMill, MovesArcsCyclesAndPocketInThreeAxes)
{
    ProgramBuilder p(MachineType::F1);
    p.row("G90")
        .row("G00", {.x = 1000, .y = 500, .z = 200})            // 1
        .row("G01", {.z = -100, .f = 100})                       // 2
        .row("G01", {.x = 3000})                                 // 3
        .row("G02", {.x = 4000, .y = -500, .f = 80})             // 4: quarter circle, radius from the X travel
        .row("G03", {.x = 2000, .y = 1500})                      // 5
        .row("M99", {.i = 2000, .j = 0})                         // 6
        .row("G91")                                              // 7
        .row("G00", {.z = 300})                                  // 8
        .row("G81", {.z = -500, .f = 50})                        // 9
        .row("G72", {.x = 1000, .y = 800, .z = -200, .f = 50})  // 10
        .row("G01", {.x = -500, .y = -500})                      // 11
        .row("M30");
    const Toolpath path = buildToolpath(p.program, MachineType::F1);
    EXPECT_TRUE(path.stopMessage.isEmpty()) << path.stopMessage.toStdString();
    ASSERT_EQ(path.moves.size(), 15u);
    expectJoined(path);
    expectPoint(path.moves[0].from, 0, 0, 0, "the mill starts at the origin");
    // G81 drills down along Z at the tool's X Y and comes back; the pocket
    // goes down, round the rectangle at depth, up again.
    expectMoves(path, 0, {{K::Rapid, 1, 10, 5, 2}, {K::Feed, 2, 10, 5, -1}, {K::Feed, 3, 30, 5, -1}, {K::Arc, 4, 40, -5, -1},
                          {K::Arc, 5, 20, 15, -1}, {K::Rapid, 8, 20, 15, 2}, {K::Feed, 9, 20, 15, -3}, {K::Rapid, 9, 20, 15, 2},
                          {K::Cycle, 10, 20, 15, 0}, {K::Cycle, 10, 30, 15, 0}, {K::Cycle, 10, 30, 23, 0}, {K::Cycle, 10, 20, 23, 0},
                          {K::Cycle, 10, 20, 15, 0}, {K::Cycle, 10, 20, 15, 2}, {K::Feed, 11, 15, 10, 2}});
    const std::vector<ToolpathMove>& m = path.moves;
    EXPECT_TRUE(m[3].clockwise);
    expectPoint(m[3].centre, 30, -5, -1, "G02 centre");
    EXPECT_NEAR(m[3].radius, 10, kTol);
    EXPECT_FALSE(m[4].clockwise);
    expectPoint(m[4].centre, 20, -5, -1, "G03 centre from I J");
    EXPECT_NEAR(m[4].radius, 20, kTol);
}

TEST(ToolpathMill, InchPecksAndCodesTheMillDoesNotKnow)
{
    ProgramBuilder p(MachineType::F1, Units::Imperial, QStringLiteral("Billet diam 40"));
    p.row("G92", {.x = 1250, .y = -250, .z = 0})
        .row("G84", {.x = 100, .z = -100, .f = 10})  // a lathe cycle in a mill row does nothing
        .row("G83", {.z = -500, .f = 10})
        .row("M30");
    const Toolpath path = buildToolpath(p.program, MachineType::F1);
    EXPECT_FALSE(path.billetDiameter.has_value());  // the mill has no billet
    ASSERT_EQ(path.moves.size(), 8u);
    // The inch deep-hole cycle pecks 0.236 at a time and re-approaches to 0.019 above.
    const double zs[] = {-0.236, 0, -0.217, -0.453, 0, -0.434, -0.5, 0};
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(path.moves[i].row, 2);
        expectPoint(path.moves[i].to, 1.25, -0.25, zs[i], "peck");
    }
}

TEST(MillWalk, RecordsKeepTheMillColumnsTheirRowsAndTheirFaults)
{
    ProgramBuilder p(MachineType::F1, Units::Imperial, QStringLiteral("Platte"));
    p.row("G00", {.x = -12345, .y = 678, .z = -9, .comment = QStringLiteral("an")})
        .row("G21")
        .row("")  // a row without a code is no record
        .row("M99", {.i = 1500, .j = 250, .k = 30})
        .row("G25", {.l = 7});
    const QString text = strFileOutBuff(p.program, MachineType::F1);
    EXPECT_TRUE(ExtractCode(text, MachineType::F1).records.empty());  // the export reads no mill rows
    const ExtractedProgram read = ExtractCode(text, MachineType::F1, MillRows::Read);
    EXPECT_TRUE(read.units.inch);
    ASSERT_EQ(read.records.size(), 4u);
    const LineRecord& g0 = read.records[0];
    EXPECT_EQ(QStringList({g0.xSign, g0.xDigits, g0.ySign, g0.yDigits, g0.zSign, g0.zDigits}), QStringList({"-", "12345", " ", "678", "-", "09"}));
    EXPECT_EQ(std::vector({g0.row, read.records[1].row, read.records[2].row, read.records[3].row}), std::vector({0, 1, 3, 4}));

    // A quarter circle with no X travel has no radius on the mill.
    ProgramBuilder arc(MachineType::F1);
    arc.row("G02", {.y = 500, .f = 50});
    const ExtractedProgram records = ExtractCode(arc.text(), MachineType::F1, MillRows::Read);
    ProgramWalk walk(records);  // walks the records in place
    EXPECT_FALSE(walk.next());
    EXPECT_EQ(walk.fault(), ProgramWalk::Fault::ZeroRadiusArc);
    EXPECT_EQ(walk.faultRow(), 0);

    // A "%" in the description and a line break in a comment would shift the
    // rows of the written text; the records still name their own rows.
    for (const MachineType machine : {MachineType::F1, MachineType::Mark2, MachineType::Mark4}) {
        ProgramBuilder shifted(machine, Units::Metric, QStringLiteral("50% Vorschub\r\n%"));
        shifted.row("G90", {.comment = QStringLiteral("zwei\r\nZeilen")}).row("G00", {.x = 100, .z = 0}).row("M30");
        const ExtractedProgram rows = extractProgramRows(shifted.program, machine);
        ASSERT_EQ(rows.records.size(), 3u) << machineNumber(machine);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(rows.records[std::size_t(i)].row, i) << machineNumber(machine);
        EXPECT_EQ(rows.records[1].code, 0);
    }
}

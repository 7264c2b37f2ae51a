// The test run steps over the program lines in the order the machine runs them.
#include "preview/TestRun.h"

#include "export/ProgramBuilder.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

TEST(TestRun, StepsLineByLineThroughCallsForwardBackToTheEndAndFollowsEdits)
{
    ProgramBuilder p(MachineType::Mark4);
    p.row("G90")
        .row("G00", {.x = 2000, .z = 200})
        .row("G25", {.l = 5})                                    // runs rows 5 and 6, then row 3
        .row("G84", {.x = 1600, .z = -1000, .f = 100, .h = 50})  // four cycle moves, the tool ends where it began
        .row("M30")
        .row("G01", {.x = 2000, .z = -500, .f = 100})
        .row("M17");
    TestRun run;
    run.load(p.program, MachineType::Mark4);
    // Idle: the whole drawing is done and no row is the run's.
    EXPECT_TRUE(!run.begun() && run.lineCount() == 5 && run.movesDone() == 6 && run.currentRow() == -1);

    // Each line forward: its row, the moves done, the tool (radius, Z) after it.
    struct Line { int row, movesDone; double x, z; };
    const Line lines[] = {{0, 0, 12.5, 10}, {1, 1, 10, 2}, {5, 2, 10, -5}, {3, 6, 10, -5}, {4, 6, 10, -5}};
    for (const Line& e : lines) {
        SCOPED_TRACE(e.row);
        EXPECT_TRUE(run.stepForward());
        EXPECT_EQ(run.currentRow(), e.row);
        EXPECT_EQ(run.movesDone(), e.movesDone);
        EXPECT_EQ(run.toolPosition(), (ToolPoint{e.x, 0, e.z}));
    }
    EXPECT_TRUE(run.atEnd() && !run.stepForward() && run.currentRow() == 4);
    // Back over the cycle to the subprogram's feed, then to the start.
    EXPECT_TRUE(run.stepBack() && run.stepBack());
    EXPECT_TRUE(run.currentRow() == 5 && run.movesDone() == 2);
    run.begin();
    EXPECT_TRUE(run.begun() && run.atStart() && run.movesDone() == 0 && run.currentRow() == -1);
    EXPECT_FALSE(run.stepBack());
    run.runToEnd();
    EXPECT_EQ(run.linesRun(), 5);

    // Rows deleted while the run stands at its end: it stands at the new end.
    p.program.rows.resize(2);
    run.load(p.program, MachineType::Mark4);
    EXPECT_TRUE(run.begun() && run.atEnd() && run.currentRow() == 1 && run.movesDone() == 1);
    run.stop();
    EXPECT_TRUE(!run.begun() && run.currentRow() == -1);
}

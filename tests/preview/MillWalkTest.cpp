// The export's walk over mill programs, which the toolpath and the program
// check use; the export itself still reads no mill rows.
#include "export/ExtractCode.h"
#include "export/ProgramWalk.h"
#include "files/ProgramText.h"

#include "PreviewProgram.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

TEST(MillWalk, RecordsKeepTheMillColumnsAndTheirRows)
{
    PreviewProgram p(MachineType::F1, Units::Imperial, QStringLiteral("Platte"));
    p.row("G00", {.x = -12345, .y = 678, .z = -9, .comment = QStringLiteral("an")})
        .row("G21")
        .row("")                                   // a row without a code is no record
        .row("M99", {.i = 1500, .j = 250, .k = 30})
        .row("G25", {.l = 7});
    const QString text = strFileOutBuff(p.program, MachineType::F1);

    EXPECT_TRUE(ExtractCode(text, MachineType::F1).records.empty());
    const ExtractedProgram read = ExtractCode(text, MachineType::F1, MillRows::Read);
    EXPECT_TRUE(read.units.inch);
    EXPECT_EQ(read.description, QStringLiteral("Platte\r\n"));
    ASSERT_EQ(read.records.size(), 4u);
    const LineRecord& g0 = read.records[0];
    EXPECT_EQ(g0.row, 0);
    EXPECT_EQ(g0.code, 0);
    EXPECT_EQ(g0.xSign, QLatin1Char('-'));
    EXPECT_EQ(g0.xDigits, QStringLiteral("12345"));
    EXPECT_EQ(g0.ySign, QLatin1Char(' '));
    EXPECT_EQ(g0.yDigits, QStringLiteral("678"));
    EXPECT_EQ(g0.zSign, QLatin1Char('-'));
    EXPECT_EQ(g0.zDigits, QStringLiteral("09"));
    EXPECT_EQ(g0.comment, QStringLiteral("an"));
    EXPECT_EQ(read.records[1].row, 1);
    const LineRecord& m99 = read.records[2];
    EXPECT_EQ(m99.row, 3);
    EXPECT_TRUE(m99.isM());
    EXPECT_EQ(m99.xDigits, QStringLiteral("1500"));
    EXPECT_EQ(m99.yDigits, QStringLiteral("250"));
    EXPECT_EQ(m99.zDigits, QStringLiteral("30"));
    EXPECT_EQ(read.records[3].row, 4);
    EXPECT_EQ(read.records[3].fDigits, QStringLiteral("07"));
}

TEST(MillWalk, FaultsNameTheirRow)
{
    {
        PreviewProgram p(MachineType::F1);
        p.row("G00", {.x = 100}).row("M03").row("M17").row("M30");
        const ExtractedProgram read = ExtractCode(strFileOutBuff(p.program, MachineType::F1), MachineType::F1, MillRows::Read);
        ProgramWalk walk(read);
        int steps = 0;
        while (walk.next())
            ++steps;
        EXPECT_EQ(steps, 2);
        EXPECT_EQ(walk.fault(), ProgramWalk::Fault::ReturnWithoutCall);
        EXPECT_EQ(walk.faultRow(), 2);
        EXPECT_NEAR(walk.currentX(), 1.0f, 1e-6f);
    }
    {
        PreviewProgram p(MachineType::F1);
        p.row("G90").row("G25", {.l = 3}).row("M30").row("G27", {.l = 40}).row("M17");
        const ExtractedProgram read = ExtractCode(strFileOutBuff(p.program, MachineType::F1), MachineType::F1, MillRows::Read);
        ProgramWalk walk(read);
        while (walk.next()) {
        }
        EXPECT_EQ(walk.fault(), ProgramWalk::Fault::MissingJumpTarget);
        EXPECT_EQ(walk.faultRow(), 3);
    }
    {
        // A quarter circle with no X travel has no radius on the mill.
        PreviewProgram p(MachineType::F1);
        p.row("G02", {.y = 500, .f = 50});
        const ExtractedProgram read = ExtractCode(strFileOutBuff(p.program, MachineType::F1), MachineType::F1, MillRows::Read);
        ProgramWalk walk(read);
        EXPECT_FALSE(walk.next());
        EXPECT_EQ(walk.fault(), ProgramWalk::Fault::ZeroRadiusArc);
        EXPECT_EQ(walk.faultRow(), 0);
    }
}

TEST(MillWalk, ProgramRowsStayTheirRowsWhateverTheTextWouldDo)
{
    // A "%" in the description and a line break in a comment would shift
    // the rows of the written text; the records still name their own rows.
    for (const MachineType machine : {MachineType::F1, MachineType::Mark2, MachineType::Mark4}) {
        PreviewProgram p(machine, Units::Metric, QStringLiteral("50% Vorschub\r\n%"));
        p.row("G90", {.comment = QStringLiteral("zwei\r\nZeilen")}).row("G00", {.x = 100, .z = 0}).row("M30");
        const ExtractedProgram read = extractProgramRows(p.program, machine);
        ASSERT_EQ(read.records.size(), 3u) << machineNumber(machine);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(read.records[std::size_t(i)].row, i) << machineNumber(machine);
        EXPECT_EQ(read.records[1].code, 0);
    }
}

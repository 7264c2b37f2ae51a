#include "model/MachineProfile.h"
#include "model/ProgramLine.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

QString col(const ParsedLine& p, int number) { return p.row.column(number); }

}  // namespace

TEST(ProgramLine, Mark4LineIsCutAtItsColumns)
{
    const ParsedLine p = parseProgramLine(QStringLiteral("    05 01  1250-   500 100  50 Schlichten"), false,
                                          MachineType::Mark4);
    ASSERT_EQ(p.kind, ParsedLine::Kind::Row);
    const ColumnNumbers& c = machineProfile(MachineType::Mark4).columns;
    EXPECT_EQ(col(p, c.mark), " ");
    EXPECT_EQ(col(p, c.n), " 05");
    EXPECT_EQ(col(p, c.g), " 01");
    EXPECT_EQ(col(p, c.x), "  1250");
    EXPECT_EQ(col(p, c.z), "-   500");
    EXPECT_EQ(col(p, c.f), " 100");
    EXPECT_EQ(col(p, c.h), "  50");
    EXPECT_EQ(col(p, c.comment), "Schlichten");
    EXPECT_EQ(programLineText(p.row, MachineType::Mark4),
              QStringLiteral("    05 01  1250-   500 100  50 Schlichten"));
}

TEST(ProgramLine, Mark2DropsAddressLettersAndWritesThemBack)
{
    const QString line = QStringLiteral("   N05 G01 X 1250 Z-  500 F100 Schlichten");
    const ParsedLine p = parseProgramLine(line, true, MachineType::Mark2);
    const ColumnNumbers& c = machineProfile(MachineType::Mark2).columns;
    EXPECT_EQ(col(p, c.mark), "+");
    EXPECT_EQ(col(p, c.n), " 05");
    EXPECT_EQ(col(p, c.g), " 01");
    EXPECT_EQ(col(p, c.x), "  1250");
    EXPECT_EQ(col(p, c.z), " -  500");
    EXPECT_EQ(col(p, c.f), " 100");
    EXPECT_EQ(col(p, c.comment), "Schlichten");
    EXPECT_EQ(programLineText(p.row, MachineType::Mark2), line);

    // Line numbers above 99 keep their last two digits only.
    ProgramRow row = p.row;
    row.setColumn(c.n, QStringLiteral("123"));
    EXPECT_TRUE(programLineText(row, MachineType::Mark2).startsWith(QStringLiteral("   N23 G01")));
}

TEST(ProgramLine, MillLineAndShortLines)
{
    const QString line = QStringLiteral("    12 01-  500  250   -20 100 Tasche");
    const ParsedLine p = parseProgramLine(line, false, MachineType::F1);
    const ColumnNumbers& c = machineProfile(MachineType::F1).columns;
    EXPECT_EQ(col(p, c.x), "-  500");
    EXPECT_EQ(col(p, c.y), "  250");
    EXPECT_EQ(col(p, c.z), "   -20");
    EXPECT_EQ(col(p, c.f), " 100");
    EXPECT_EQ(programLineText(p.row, MachineType::F1), line);

    const ParsedLine shortLine = parseProgramLine(QStringLiteral("    07 21"), false, MachineType::F1);
    ASSERT_EQ(shortLine.kind, ParsedLine::Kind::Row);
    EXPECT_EQ(col(shortLine, c.g), " 21");
    EXPECT_EQ(col(shortLine, c.x), "");
    EXPECT_EQ(col(shortLine, c.comment), "");

    const ParsedLine empty = parseProgramLine(QString(), false, MachineType::Mark4);
    ASSERT_EQ(empty.kind, ParsedLine::Kind::Row);
    EXPECT_EQ(empty.row.column(2), "");
}

TEST(ProgramLine, UnitAndPercentLines)
{
    struct Case { const char* line; ParsedLine::Kind kind; Units units; };
    const Case cases[] = {
        {"   M", ParsedLine::Kind::UnitSwitch, Units::Metric},
        {"   \"", ParsedLine::Kind::UnitSwitch, Units::Imperial},
        {"M", ParsedLine::Kind::UnitSwitch, Units::Metric},
        {"    M06 comment", ParsedLine::Kind::UnitSwitch, Units::Metric},
        {"%", ParsedLine::Kind::Ignored, Units::Metric},
        {"     M", ParsedLine::Kind::Row, Units::Metric},  // the M is past the first five characters
        {"   05M06", ParsedLine::Kind::Row, Units::Metric},
        // Only blanks are blank: a tab or a no-break space makes a row.
        {"\t  M", ParsedLine::Kind::Row, Units::Metric},
        {" \xA0 \"", ParsedLine::Kind::Row, Units::Metric},
        {"\t%", ParsedLine::Kind::Row, Units::Metric},
    };
    for (const Case& c : cases) {
        const ParsedLine p = parseProgramLine(QString::fromLatin1(c.line), false, MachineType::F1);
        EXPECT_EQ(p.kind, c.kind) << c.line;
        if (c.kind == ParsedLine::Kind::UnitSwitch) {
            EXPECT_EQ(p.units, c.units) << c.line;
        }
    }
}

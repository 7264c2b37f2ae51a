#include "model/ProgramLine.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(ProgramLine, LinesAreCutAtTheirColumnsAndWrittenBackTheSame)
{
    struct Case { MachineType machine; bool fresh; const char* line; const char* columns; };
    const Case cases[] = {
        {MachineType::Mark4, false, "    05 01  1250-   500 100  50 Schlichten",
         " | 05| 01|  1250|-   500| 100|  50|Schlichten"},
        {MachineType::Mark2, true, "   N05 G01 X 1250 Z-  500 F100 Schlichten",
         "+| 05| 01|  1250| -  500| 100|Schlichten"},
        {MachineType::F1, false, "    12 01-  500  250   -20 100 Tasche", " | 12| 01|-  500|  250|   -20| 100|Tasche"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const ParsedLine p = parseProgramLine(QString::fromLatin1(c.line), c.fresh, c.machine);
        ASSERT_EQ(p.kind, ParsedLine::Kind::Row);
        const QString columns = QString::fromLatin1(c.columns);
        for (int i = 1; i <= int(columns.count(QLatin1Char('|'))) + 1; ++i)
            EXPECT_EQ(p.row.column(i), columns.section(QLatin1Char('|'), i - 1, i - 1)) << "column " << i;
        EXPECT_EQ(programLineText(p.row, c.machine), QString::fromLatin1(c.line));
    }

    // The Mark 2 keeps the last two digits of numbers above 99.
    ProgramRow row = parseProgramLine(QStringLiteral("   N05 G01"), false, MachineType::Mark2).row;
    row.setColumn(2, QStringLiteral("123"));
    EXPECT_TRUE(programLineText(row, MachineType::Mark2).startsWith(QStringLiteral("   N23 G01")));
    // Short lines leave the missing columns empty.
    const ParsedLine shortLine = parseProgramLine(QStringLiteral("    07 21"), false, MachineType::F1);
    EXPECT_EQ(shortLine.row.column(3), QStringLiteral(" 21"));
    EXPECT_EQ(shortLine.row.column(4), QString());
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
        {"", ParsedLine::Kind::Row, Units::Metric},
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

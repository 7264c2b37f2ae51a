#include "model/ProgramLine.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace quillon;

TEST(ProgramLine, LinesAreCutAtTheirColumnsAndWrittenBackTheSame)
{
    struct Case { MachineType machine; bool fresh; const char* line; const char* columns; } cases[] = {
        {MachineType::Mark4, false, "    05 01  1250-   500 100  50 Schlichten", " | 05| 01|  1250|-   500| 100|  50|Schlichten"},
        {MachineType::Mark2, true, "   N05 G01 X 1250 Z-  500 F100 Schlichten", "+| 05| 01|  1250| -  500| 100|Schlichten"},
        {MachineType::F1, false, "    12 01-  500  250   -20 100 Tasche", " | 12| 01|-  500|  250|   -20| 100|Tasche"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const ParsedLine p = parseProgramLine(QString::fromLatin1(c.line), c.fresh, c.machine);
        ASSERT_EQ(p.kind, ParsedLine::Kind::Row);
        const QStringList columns = QString::fromLatin1(c.columns).split(QLatin1Char('|'));
        for (int i = 1; i <= int(columns.size()); ++i)
            EXPECT_EQ(p.row.column(i), columns[i - 1]) << "column " << i;
        EXPECT_EQ(programLineText(p.row, c.machine), QString::fromLatin1(c.line));
    }
    // The Mark 2 keeps the last two digits of numbers above 99.
    ProgramRow row = parseProgramLine(QStringLiteral("   N05 G01"), false, MachineType::Mark2).row;
    row.setColumn(2, QStringLiteral("123"));
    EXPECT_TRUE(programLineText(row, MachineType::Mark2).startsWith(QStringLiteral("   N23 G01")));
    // Short lines leave the missing columns empty.
    const ParsedLine shortLine = parseProgramLine(QStringLiteral("    07 21"), false, MachineType::F1);
    EXPECT_EQ(shortLine.row.column(3) + '|' + shortLine.row.column(4), QStringLiteral(" 21|"));
}

TEST(ProgramLine, UnitAndPercentLines)
{
    // What the mill makes of each line: U = unit line (M metric, " inch), R = row, I = ignored.
    const char* cases[][2] = {
        {"   \"", "U\""}, {"    M06 comment", "UM"}, {"%", "I"}, {"", "R"},
        {"     M", "R"},  // the M is past the first five characters
        // Only blanks are blank: a tab or a no-break space makes a row.
        {"\t  M", "R"}, {" \xA0 \"", "R"},
    };
    for (const auto& [line, expected] : cases) {
        const ParsedLine p = parseProgramLine(QString::fromLatin1(line), false, MachineType::F1);
        const std::string got = p.kind == ParsedLine::Kind::UnitSwitch ? (p.units == Units::Metric ? "UM" : "U\"")
                                : p.kind == ParsedLine::Kind::Row      ? "R" : "I";
        EXPECT_EQ(got, expected) << line;
    }
}

#include "files/ProgramText.h"
#include "model/NumberFormat.h"
#include "model/ProgramLine.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

const QString kMillHeader = QStringLiteral("    N` G`  X  `  Y `   Z ` F  ");
const QString kMark4Header = QStringLiteral("    N` G`   X `    Z `  F`  H ");

DecodeResult decode(const QString& text, MachineType machine, Units units = Units::Metric)
{
    return blnDecodeBuffer(text, machine, units);
}

}  // namespace

TEST(ProgramText, FilesAsTheEditorWritesThemComeBackByteForByte)
{
    const std::pair<MachineType, QString> files[] = {
        {MachineType::F1, QStringLiteral("Tasche 40 x 20\r\nAlu, Fräser 6 mm\r\n%\r\n") + kMillHeader + "\r\n"
                              "    00 00-  500  250   100     Anfahren\r\n"
                              "    01 01  1000  250  -150 100 \r\n"
                              "    02M06   300 1200    00  01 Wechsel\r\n"
                              "    03M99I  100J  50K   00     \r\n"
                              "    04M30                      \r\n   M"},
        {MachineType::Mark4, "%\r\n" + kMark4Header + "\r\n"
                                 "    00 84  1250-   500 100  50 Schlichten\r\n"
                                 "    01 33      -  2000K150     \r\n"
                                 "    02M99I  100K  1000         \r\n"
                                 "    03M30                      \r\n   \""},
        {MachineType::Mark2, QStringLiteral("Welle\r\n%\r\n   N00 G00 X 1250 Z   200 F    Start\r\n"
                                            "   N01 G01 X  100 Z-  500 F100 \r\n"
                                            "   N02 G33 X      Z- 2000 F150 Gewinde\r\n"
                                            "   N03 G22 X      Z       F    \r\n   M")},
        // Empty programs: the mill and the Mark 4 keep their column header.
        {MachineType::Mark4, "%\r\n" + kMark4Header + "\r\n   \""},
    };
    for (const auto& [machine, text] : files) {
        SCOPED_TRACE(text.toStdString());
        const DecodeResult r = decode(text, machine);
        ASSERT_TRUE(r.accepted);
        EXPECT_EQ(strFileOutBuff(r.program, machine), text);
    }
}

TEST(ProgramText, TheDescriptionBlock)
{
    Program p;
    p.description = QStringLiteral("  Erste Zeile\r\nZweite  \r\n\r\n  ");
    // Blanks at both ends go first, then trailing line breaks.
    const QString written = strFileOutBuff(p, MachineType::Mark4);
    EXPECT_TRUE(written.startsWith(QStringLiteral("Erste Zeile\r\nZweite  \r\n%\r\n")));
    const DecodeResult r = decode(written, MachineType::Mark4);
    ASSERT_TRUE(r.accepted);
    // The line break before "%" stays with the description it was read with.
    EXPECT_EQ(r.program.description, QStringLiteral("Erste Zeile\r\nZweite  \r\n"));
    EXPECT_EQ(strFileOutBuff(r.program, MachineType::Mark4), written);

    EXPECT_EQ(decode("A%\r\n" + kMark4Header + "\r\n   M", MachineType::Mark4).program.description, QStringLiteral("A"));
    EXPECT_TRUE(decode("%\r\n" + kMark4Header + "\r\n   M", MachineType::Mark4).program.description.isEmpty());
}

TEST(ProgramText, AcceptanceAndRejectionPerMachine)
{
    struct Case { const char* what; QString text; MachineType machine; bool accepted; int rows; };
    const QString millFile = "%\r\n" + kMillHeader + "\r\n    00 00   100   00     00     \r\n   M";
    const QString mark4File = "%\r\n" + kMark4Header + "\r\n    00 00   100     00         \r\n   M";
    const QString mark2File = QStringLiteral("%\r\n   N00 G00 X  100 Z    00 F    \r\n   M");
    const Case cases[] = {
        {"mill file as mill", millFile, MachineType::F1, true, 1},
        {"mark4 under mill: foreign header", mark4File, MachineType::F1, false, 0},
        {"mill under mark2: no N00 line", millFile, MachineType::Mark2, false, 1},
        {"mark2 as mark2", mark2File, MachineType::Mark2, true, 1},
        {"empty program mark2", QStringLiteral("%\r\n   M"), MachineType::Mark2, false, 0},
        {"LF only is one line", QString(millFile).replace("\r\n", "\n"), MachineType::F1, false, 0},
        {"header without trailing blanks", "%\r\n" + kMillHeader.left(28) + "\r\n   M", MachineType::F1, false, 0},
        {"a foreign header after its own", "%\r\n" + kMillHeader + "\r\n" + kMark4Header + "\r\n   M", MachineType::F1, false, 0},
        {"header lines skipped in mark2", "%\r\n" + kMillHeader + "\r\n" + mark2File.mid(3), MachineType::Mark2, true, 1},
        {"no percent at all", kMark4Header + "\r\n    00 21\r\n   M", MachineType::Mark4, true, 1},
    };
    const char* names[] = {"", "F1 Fräsmaschine", "Mark 2 Drehmaschine", "", "Mark 4 Drehmaschine"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DecodeResult r = decode(c.text, c.machine);
        EXPECT_EQ(r.accepted, c.accepted);
        EXPECT_EQ(static_cast<int>(r.program.rows.size()), c.rows);
        if (!c.accepted) {
            EXPECT_EQ(r.message, "Diese Datei kann nicht gelesen werden, Sie enthält kein CNC Programm für " + QString::fromUtf8(names[machineNumber(c.machine)]));
        }
    }
}

TEST(ProgramText, NulsBlankLinesUnitLinesAndTheFileLineOfEachRow)
{
    DecodeResult r = decode(QString(QChar(0)).repeated(100) + "%\r\n" + kMark4Header
                                + "\r\n    00 00   100     00    \r\n\r\n    01 2" + QChar(0) + "1\r\n   \"\r\n", MachineType::Mark4);
    ASSERT_TRUE(r.accepted && r.program.rows.size() == 3u);
    // The blank line is a blank row; the NUL counts for nothing.
    EXPECT_EQ(r.program.rows[1].column(2) + '|' + r.program.rows[2].column(3), QStringLiteral("| 21"));
    EXPECT_TRUE(r.unitsSeen && r.program.units == Units::Imperial);
    // Without a unit line the current units stand; the last unit line wins.
    r = decode("%\r\n" + kMark4Header + "\r\n", MachineType::Mark4, Units::Imperial);
    EXPECT_TRUE(!r.unitsSeen && r.program.units == Units::Imperial);
    r = decode("%\r\n" + kMark4Header + "\r\n   \"\r\n   M", MachineType::Mark4, Units::Imperial);
    EXPECT_EQ(r.program.units, Units::Metric);

    // Description lines, "%", the header and unit lines come before the rows;
    // a lone line feed counts as a line break, NULs count for nothing.
    r = decode(QStringLiteral("Welle\r\nAlu\r\n%\r\n") + kMark4Header + "\r\n   M\r\n    00 00   100     00     erste\nhalb\r\n"
                   + QChar(0) + "\r\n    02M30\r\n   M\r\n",
               MachineType::Mark4);
    ASSERT_TRUE(r.accepted);
    EXPECT_EQ(r.rowLines, (std::vector<int>{6, 8, 9}));
}

TEST(ProgramText, SavingTheSavedTextChangesNoByteForShortBlankAndCutLines)
{
    // Every cut of a full line, for each machine: the first save fills short
    // fields out with blanks, the second writes the first's bytes again.
    struct Machine { MachineType machine; QString start; QString fullLine; } machines[] = {
        {MachineType::F1, kMillHeader + "\r\n    00 22", QStringLiteral("    12 01-  500  250   -20 100 Tasche")},
        {MachineType::Mark4, kMark4Header + "\r\n    00 22", QStringLiteral("    05 01  1250-   500 100  50 Schlichten")},
        {MachineType::Mark2, QStringLiteral("   N00 G22"), QStringLiteral("   N05 G01 X 1250 Z-  500 F100 Schlichten")},
    };
    for (const Machine& m : machines) {
        for (qsizetype cut = 0; cut <= m.fullLine.size(); ++cut) {
            const QString line = m.fullLine.left(cut);
            SCOPED_TRACE(machineNumber(m.machine) + " line \"" + line.toStdString() + "\"");
            const DecodeResult read = decode("%\r\n" + m.start + "\r\n" + line + "\r\n   M", m.machine);
            ASSERT_TRUE(read.accepted && read.program.rows.size() == 2u);
            const QString once = strFileOutBuff(read.program, m.machine);
            const DecodeResult reread = decode(once, m.machine);
            ASSERT_TRUE(reread.accepted && reread.program.rows.size() == 2u);
            EXPECT_EQ(strFileOutBuff(reread.program, m.machine), once);
            for (int column = 2; column <= 8; ++column)
                EXPECT_EQ(strClean(reread.program.rows[1].column(column)), strClean(read.program.rows[1].column(column)))
                    << "column " << column;
        }
    }

    // The full layout the first save gives a short line, written out.
    struct Written { MachineType machine; QString start; const char* line; const char* saved; } written[] = {
        {MachineType::Mark2, QStringLiteral("   N00\r\n"), "   N01 G22", "   N01 G22 X      Z       F    "},
        {MachineType::F1, kMillHeader + "\r\n", "", "                               "},
        {MachineType::Mark4, kMark4Header + "\r\n", "    07 2", "    07 2                       "},
    };
    for (const Written& w : written) {
        const DecodeResult r = decode("%\r\n" + w.start + QString::fromLatin1(w.line) + "\r\n   M", w.machine);
        ASSERT_TRUE(r.accepted) << w.line;
        EXPECT_EQ(programLineText(r.program.rows.back(), w.machine), QString::fromLatin1(w.saved)) << w.line;
    }
}

TEST(ProgramText, ProblemsThatWouldBreakTheRoundTrip)
{
    Program p;
    p.description = QStringLiteral("Rabatt 10% auf Alu");
    EXPECT_FALSE(programTextProblem(p, MachineType::F1).isEmpty());
    p.description.clear();
    p.rows.resize(1);
    p.rows[0].setColumn(8, QStringLiteral("zwei\r\nZeilen"));
    EXPECT_EQ(programTextProblem(p, MachineType::F1), QString::fromUtf8("Ein Kommentar enthält einen Zeilenumbruch."));

    // A lone CR or LF in a comment, as the reader lets through, is written
    // and reads back as the same comment.
    for (const QString& comment : {QStringLiteral("a\nb"), QStringLiteral("ende\r")}) {
        Program lone;
        lone.rows.push_back(parseProgramLine(QStringLiteral("    00 21"), false, MachineType::F1).row);
        lone.rows[0].setColumn(8, comment);
        EXPECT_EQ(programTextProblem(lone, MachineType::F1), QString());
        const DecodeResult back = decode(strFileOutBuff(lone, MachineType::F1), MachineType::F1);
        ASSERT_EQ(back.program.rows.size(), 1u);
        EXPECT_EQ(back.program.rows[0].column(8), comment);
    }

    // Malformed lines whose written form would read back as a header line
    // (the file would be rejected) or as a unit line (the row would vanish);
    // ordinary short and blank rows pass.
    for (const char* malformed : {"ab  N` G`  X  `  Y `   Z ` F  ", "xyzM0 01", ""}) {
        const DecodeResult r = decode("%\r\n" + kMillHeader + "\r\n    00 21\r\n" + malformed + "\r\n   M", MachineType::F1);
        ASSERT_EQ(r.program.rows.size(), 2u);
        EXPECT_EQ(programTextProblem(r.program, MachineType::F1).contains(QStringLiteral("Zeile 2")), *malformed != 0)
            << malformed;
    }
}

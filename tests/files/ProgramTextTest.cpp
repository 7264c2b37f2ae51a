#include "files/ProgramText.h"
#include "model/MachineProfile.h"
#include "model/NumberFormat.h"
#include "model/ProgramLine.h"

#include <QStringList>

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

const QString kMillHeader = QStringLiteral("    N` G`  X  `  Y `   Z ` F  ");
const QString kMark4Header = QStringLiteral("    N` G`   X `    Z `  F`  H ");

QString lines(std::initializer_list<const char*> parts)
{
    QStringList list;
    for (const char* p : parts)
        list << QString::fromUtf8(p);
    return list.join(QStringLiteral("\r\n"));
}

struct Canonical {
    MachineType machine;
    QString text;
};

// A program line from its fields, as the editor lays them out.
std::string fields(std::initializer_list<const char*> parts)
{
    std::string line = "   ";
    for (const char* p : parts)
        line += p;
    return line;
}

// Files as the editor writes them; decoding and writing again must give
// every byte back.
std::vector<Canonical> canonicalFiles()
{
    const std::string mill[] = {
        fields({" 00", " 00", "-  500", "  250", "   100", "    ", " ", "Anfahren"}),
        fields({" 01", " 01", "  1000", "  250", "  -150", " 100", " "}),
        fields({" 02", "M06", "   300", " 1200", "    00", "  01", " ", "Wechsel"}),
        fields({" 03", "M99", "I  100", "J  50", "K   00", "    ", " "}),
        fields({" 04", "M30", "      ", "     ", "      ", "    ", " "}),
    };
    const std::string mark4[] = {
        fields({" 00", " 84", "  1250", "-   500", " 100", "  50", " ", "Schlichten"}),
        fields({" 01", " 33", "      ", "-  2000", "K150", "    ", " "}),
        fields({" 02", "M99", "I  100", "K  1000", "    ", "    ", " "}),
        fields({" 03", "M30", "      ", "       ", "    ", "    ", " "}),
    };
    return {
        {MachineType::F1, lines({"Tasche 40 x 20\r\nAlu, Fräser 6 mm", "%", "    N` G`  X  `  Y `   Z ` F  ",
                                 mill[0].c_str(), mill[1].c_str(), mill[2].c_str(), mill[3].c_str(),
                                 mill[4].c_str(), "   M"})},
        {MachineType::Mark4, lines({"%", "    N` G`   X `    Z `  F`  H ", mark4[0].c_str(), mark4[1].c_str(),
                                    mark4[2].c_str(), mark4[3].c_str(), "   \""})},
        {MachineType::Mark2, lines({"Welle", "%", "   N00 G00 X 1250 Z   200 F    Start",
                                    "   N01 G01 X  100 Z-  500 F100 ",
                                    "   N02 G33 X      Z- 2000 F150 Gewinde",
                                    "   N03 G22 X      Z       F    ", "   M"})},
    };
}

}  // namespace

TEST(ProgramText, CanonicalFilesRoundTripByteForByte)
{
    for (const Canonical& c : canonicalFiles()) {
        const DecodeResult r = blnDecodeBuffer(c.text, c.machine, Units::Metric);
        ASSERT_TRUE(r.accepted) << machineNumber(c.machine);
        EXPECT_EQ(strFileOutBuff(r.program, c.machine), c.text) << machineNumber(c.machine);
    }
}

TEST(ProgramText, HeaderLinesAreExactAndMark2HasNone)
{
    EXPECT_EQ(columnHeaderLine(MachineType::F1), kMillHeader);
    EXPECT_EQ(columnHeaderLine(MachineType::Mark4), kMark4Header);
    EXPECT_EQ(kMillHeader.size(), 30);
    EXPECT_EQ(kMark4Header.size(), 30);
    EXPECT_TRUE(columnHeaderLine(MachineType::Mark2).isEmpty());

    Program empty;
    EXPECT_EQ(strFileOutBuff(empty, MachineType::F1), "%\r\n" + kMillHeader + "\r\n   M");
    EXPECT_EQ(strFileOutBuff(empty, MachineType::Mark4), "%\r\n" + kMark4Header + "\r\n   M");
    empty.units = Units::Imperial;
    EXPECT_EQ(strFileOutBuff(empty, MachineType::Mark2), "%\r\n   \"");
}

TEST(ProgramText, DescriptionBlockRules)
{
    Program p;
    p.description = QStringLiteral("  Erste Zeile\r\nZweite  \r\n\r\n  ");
    // Blanks at both ends go first, then trailing line breaks.
    EXPECT_TRUE(strFileOutBuff(p, MachineType::Mark4)
                    .startsWith(QStringLiteral("Erste Zeile\r\nZweite  \r\n%\r\n")));

    const DecodeResult r = blnDecodeBuffer(strFileOutBuff(p, MachineType::Mark4), MachineType::Mark4, Units::Metric);
    ASSERT_TRUE(r.accepted);
    // The line break before "%" stays with the description it was read with.
    EXPECT_EQ(r.program.description, QStringLiteral("Erste Zeile\r\nZweite  \r\n"));
    EXPECT_EQ(strFileOutBuff(r.program, MachineType::Mark4), strFileOutBuff(p, MachineType::Mark4));

    const DecodeResult leading = blnDecodeBuffer("%\r\n" + kMark4Header + "\r\n   M", MachineType::Mark4, Units::Metric);
    EXPECT_TRUE(leading.accepted);
    EXPECT_TRUE(leading.program.description.isEmpty());
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
        {"mill under mark4", millFile, MachineType::Mark4, false, 0},
        {"mark2 under mill: no header", mark2File, MachineType::F1, false, 1},
        {"mill under mark2: no N00 line", millFile, MachineType::Mark2, false, 1},
        {"mark4 under mark2", mark4File, MachineType::Mark2, false, 1},
        {"mark2 as mark2", mark2File, MachineType::Mark2, true, 1},
        {"empty program mill", "%\r\n" + kMillHeader + "\r\n   M", MachineType::F1, true, 0},
        {"empty program mark2", QStringLiteral("%\r\n   M"), MachineType::Mark2, false, 0},
        {"empty file", QString(), MachineType::Mark4, false, 0},
        {"LF only is one line", QString(millFile).replace("\r\n", "\n"), MachineType::F1, false, 0},
        {"header without trailing blanks", "%\r\n" + kMillHeader.left(28) + "\r\n   M", MachineType::F1, false, 0},
        {"header lines skipped in mark2", "%\r\n" + kMillHeader + "\r\n" + mark2File.mid(3), MachineType::Mark2, true, 1},
        {"no percent at all", kMark4Header + "\r\n    00 21\r\n   M", MachineType::Mark4, true, 1},
    };
    for (const Case& c : cases) {
        const DecodeResult r = blnDecodeBuffer(c.text, c.machine, Units::Metric);
        EXPECT_EQ(r.accepted, c.accepted) << c.what;
        EXPECT_EQ(static_cast<int>(r.program.rows.size()), c.rows) << c.what;
        if (!c.accepted) {
            EXPECT_EQ(r.message, QStringLiteral("Diese Datei kann nicht gelesen werden, Sie enthält kein CNC Programm für ")
                                     + machineProfile(c.machine).machineName)
                << c.what;
        }
    }
}

TEST(ProgramText, NulsBlankLinesAndUnitLines)
{
    QString text = QString(QChar(0)).repeated(100) + "%\r\n" + kMark4Header
                   + "\r\n    00 00   100     00    \r\n\r\n    01 2" + QChar(0) + "1\r\n   \"\r\n";
    DecodeResult r = blnDecodeBuffer(text, MachineType::Mark4, Units::Metric);
    ASSERT_TRUE(r.accepted);
    ASSERT_EQ(r.program.rows.size(), 3u);
    EXPECT_EQ(r.program.rows[1].column(2), QString());  // the blank line
    EXPECT_EQ(r.program.rows[2].column(3), QStringLiteral(" 21"));
    EXPECT_TRUE(r.unitsSeen);
    EXPECT_EQ(r.program.units, Units::Imperial);
    EXPECT_TRUE(strFileOutBuff(r.program, MachineType::Mark4).endsWith(QStringLiteral("\r\n   \"")));

    // Without a unit line the current units stand; the last unit line wins.
    r = blnDecodeBuffer("%\r\n" + kMark4Header + "\r\n", MachineType::Mark4, Units::Imperial);
    EXPECT_FALSE(r.unitsSeen);
    EXPECT_EQ(r.program.units, Units::Imperial);
    r = blnDecodeBuffer("%\r\n" + kMark4Header + "\r\n   \"\r\n   M", MachineType::Mark4, Units::Imperial);
    EXPECT_EQ(r.program.units, Units::Metric);
}

TEST(ProgramText, EachRowKnowsTheFileLineItStandsOn)
{
    // Description lines, "%", the header and a unit line come before rows; a
    // lone line feed counts as a line break for the reader of a report even
    // though the decoder keeps it inside its line; NULs count for nothing.
    const QString text = QStringLiteral("Welle\r\nAlu\r\n%\r\n") + kMark4Header
                         + "\r\n   M\r\n    00 00   100     00     erste\nhalb\r\n" + QChar(0)
                         + "\r\n    02M30\r\n   M\r\n";
    const DecodeResult r = blnDecodeBuffer(text, MachineType::Mark4, Units::Metric);
    ASSERT_TRUE(r.accepted);
    ASSERT_EQ(r.program.rows.size(), 3u);
    EXPECT_EQ(r.rowLines, (std::vector<int>{6, 8, 9}));

    // Mark 2: no header; skipped header lines still count.
    const DecodeResult m2 = blnDecodeBuffer(QStringLiteral("%\r\n") + kMark4Header
                                                + "\r\n   N00 G22 X      Z       F    \r\n   M",
                                            MachineType::Mark2, Units::Metric);
    ASSERT_TRUE(m2.accepted);
    EXPECT_EQ(m2.rowLines, (std::vector<int>{3}));
}

TEST(ProgramText, SavingTheSavedTextChangesNoByteForShortBlankAndCutLines)
{
    // Every cut of a full line (blank line and mid-field cuts included), for
    // each machine: the first save fills short fields out with blanks, the
    // second must write the first's bytes again and mean the same.
    struct Machine { MachineType machine; QString start; QString fullLine; };
    const Machine machines[] = {
        {MachineType::F1, kMillHeader + "\r\n    00 22", QStringLiteral("    12 01-  500  250   -20 100 Tasche")},
        {MachineType::Mark4, kMark4Header + "\r\n    00 22", QStringLiteral("    05 01  1250-   500 100  50 Schlichten")},
        {MachineType::Mark2, QStringLiteral("   N00 G22"), QStringLiteral("   N05 G01 X 1250 Z-  500 F100 Schlichten")},
    };
    for (const Machine& m : machines) {
        for (qsizetype cut = 0; cut <= m.fullLine.size(); ++cut) {
            const QString line = m.fullLine.left(cut);
            SCOPED_TRACE(machineNumber(m.machine) + " line \"" + line.toStdString() + "\"");
            const QString text = "%\r\n" + m.start + "\r\n" + line + "\r\n   M";
            const DecodeResult read = blnDecodeBuffer(text, m.machine, Units::Metric);
            ASSERT_TRUE(read.accepted);
            ASSERT_EQ(read.program.rows.size(), 2u);
            const QString once = strFileOutBuff(read.program, m.machine);
            const DecodeResult reread = blnDecodeBuffer(once, m.machine, Units::Metric);
            ASSERT_TRUE(reread.accepted);
            ASSERT_EQ(reread.program.rows.size(), 2u);
            EXPECT_EQ(strFileOutBuff(reread.program, m.machine), once);
            for (int column = 2; column <= 8; ++column) {
                EXPECT_EQ(strClean(reread.program.rows[1].column(column)), strClean(read.program.rows[1].column(column)))
                    << "column " << column;
            }
        }
    }

    // The full layout the first save gives a short line, written out.
    struct Written { MachineType machine; QString header; const char* line; const char* saved; };
    const Written written[] = {
        {MachineType::Mark2, QString(), "   N01 G22", "   N01 G22 X      Z       F    "},
        {MachineType::Mark2, QString(), "", "   N   G   X      Z       F    "},
        {MachineType::F1, kMillHeader + "\r\n", "", "                               "},
        {MachineType::Mark4, kMark4Header + "\r\n", "    07 2", "    07 2                       "},
    };
    for (const Written& w : written) {
        const QString start = w.machine == MachineType::Mark2 ? QStringLiteral("   N00\r\n") : QString();
        const DecodeResult r = blnDecodeBuffer("%\r\n" + w.header + start + QString::fromLatin1(w.line) + "\r\n   M",
                                               w.machine, Units::Metric);
        ASSERT_TRUE(r.accepted) << w.line;
        EXPECT_EQ(programLineText(r.program.rows.back(), w.machine), QString::fromLatin1(w.saved)) << w.line;
    }
}

TEST(ProgramText, Mark2LineNumbersAbove99KeepTwoDigits)
{
    Program p;
    for (int i = 0; i < 102; ++i) {
        ProgramRow row = parseProgramLine(QStringLiteral("   N00 G21 X      Z       F    "), false, MachineType::Mark2).row;
        row.setColumn(2, QStringLiteral("%1").arg(i, 3, 10, QLatin1Char(i < 100 ? ' ' : '0')));
        if (i < 10)
            row.setColumn(2, QStringLiteral(" 0%1").arg(i));
        p.rows.push_back(row);
    }
    const QStringList out = strFileOutBuff(p, MachineType::Mark2).split(QStringLiteral("\r\n"));
    EXPECT_TRUE(out[1].startsWith(QStringLiteral("   N00 G21")));
    EXPECT_TRUE(out[101].startsWith(QStringLiteral("   N00 G21")));  // line 100
    EXPECT_TRUE(out[102].startsWith(QStringLiteral("   N01 G21")));  // line 101
}

TEST(ProgramText, ProblemsThatWouldBreakTheRoundTrip)
{
    Program p;
    EXPECT_TRUE(programTextProblem(p, MachineType::F1).isEmpty());
    p.description = QStringLiteral("Rabatt 10% auf Alu");
    EXPECT_FALSE(programTextProblem(p, MachineType::F1).isEmpty());
    p.description = QString::fromUtf8("Ωmega");
    EXPECT_TRUE(programTextProblem(p, MachineType::F1).contains(QChar(0x03A9)));
    p.description.clear();
    ProgramRow row;
    row.setColumn(8, QStringLiteral("zwei\r\nZeilen"));
    p.rows.push_back(row);
    EXPECT_EQ(programTextProblem(p, MachineType::F1), QString::fromUtf8("Ein Kommentar enthält einen Zeilenumbruch."));

    // A lone CR or LF in a comment, as the reader lets through, is written
    // and reads back as the same comment.
    for (const QString& comment : {QStringLiteral("a\nb"), QStringLiteral("a\rb"), QStringLiteral("ende\r"),
                                   QStringLiteral("\nanfang")}) {
        Program lone;
        ProgramRow r = parseProgramLine(QStringLiteral("    00 21"), false, MachineType::F1).row;
        r.setColumn(8, comment);
        lone.rows.push_back(r);
        EXPECT_EQ(programTextProblem(lone, MachineType::F1), QString());
        const DecodeResult back = blnDecodeBuffer(strFileOutBuff(lone, MachineType::F1), MachineType::F1, Units::Metric);
        ASSERT_EQ(back.program.rows.size(), 1u);
        EXPECT_EQ(back.program.rows[0].column(8), comment);
    }

    // Rows read from malformed lines whose written form would read back as
    // a header line (the file would then be rejected) or as a unit line
    // (the row would vanish).
    const QString kHeader = QStringLiteral("    N` G`  X  `  Y `   Z ` F  ");
    for (const QString& malformed : {QStringLiteral("ab  N` G`  X  `  Y `   Z ` F  "), QStringLiteral("xyzM0 01")}) {
        const DecodeResult r = blnDecodeBuffer("%\r\n" + kHeader + "\r\n" + malformed + "\r\n   M",
                                               MachineType::F1, Units::Metric);
        ASSERT_TRUE(r.accepted);
        ASSERT_EQ(r.program.rows.size(), 1u);
        EXPECT_TRUE(programTextProblem(r.program, MachineType::F1).contains(QStringLiteral("Zeile 1")))
            << malformed.toStdString();
    }
    // Ordinary rows, also short and blank ones, pass.
    const DecodeResult fine = blnDecodeBuffer("%\r\n" + kHeader + "\r\n    00 21\r\n\r\n   M", MachineType::F1,
                                              Units::Metric);
    EXPECT_TRUE(programTextProblem(fine.program, MachineType::F1).isEmpty());
}

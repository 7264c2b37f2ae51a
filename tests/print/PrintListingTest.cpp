#include "files/ProgramText.h"
#include "model/MachineProfile.h"
#include "model/ProgramLine.h"
#include "print/PrintListing.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

const PrintStamp kStamp{QStringLiteral("06.12.2026"), QStringLiteral("09:05")};
const QString kUnsaved = QStringLiteral("Datei nicht gespeichert");

QString header(const QString& name, int page)
{
    return "Quillon    " + name + " gedruckt am 06.12.2026 am 09:05       Seite " + QString::number(page);
}

// A mill program of `count` lines "    NN 01  ..." with the line number in the comment.
Program millProgram(int count, const QString& description = QString())
{
    Program p;
    p.description = description;
    for (int i = 0; i < count; ++i)
        p.rows.push_back(parseProgramLine(QStringLiteral("   %1 01   100  200  -300 100 Zeile %2").arg(i, 3).arg(i), false, MachineType::F1).row);
    return p;
}

PrintListing listing(const Program& p, int lines, int width = 0, const QString& name = {}, MachineType m = MachineType::F1)
{
    return buildPrintListing(p, m, name, kStamp, {lines, width});
}

}  // namespace

TEST(PrintListing, FirstPageOfEachMachine)
{
    Program mk2;
    for (const char* line : {"   N00 G00 X 1250 Z-  500 F100 Start", "   N01 G04 X  100 Z     0 F  0 Pause"})
        mk2.rows.push_back(parseProgramLine(line, false, MachineType::Mark2).row);
    Program mk4;
    mk4.units = Units::Imperial;
    mk4.rows.push_back(parseProgramLine("    05 01  1250-   500 100  50 Schlichten", false, MachineType::Mark4).row);
    const struct { Program program; MachineType machine; QString name; QStringList lines; } cases[] = {
        {millProgram(2), MachineType::F1, {},
         {"", header(kUnsaved, 1), "", "", "%", "    N` G`  X  `  Y `   Z ` F  ", "     0 01   100  200  -300 100 Zeile 0",
          "     1 01   100  200  -300 100 Zeile 1", "   M"}},
        // Mark 2: no column header, address letters in every line.
        {mk2, MachineType::Mark2, "/home/k/teil.cnc",
         {"", header("/home/k/teil.cnc", 1), "", "", "%", "   N00 G00 X 1250 Z-  500 F100 Start", "   N01 G04 X  100 Z     0 F  0 Pause", "   M"}},
        // Mark 4 carries its own header; an imperial program ends in '   "'.
        {mk4, MachineType::Mark4, {},
         {"", header(kUnsaved, 1), "", "", "%", "    N` G`   X `    Z `  F`  H ", "    05 01  1250-   500 100  50 Schlichten", "   \""}},
    };
    for (const auto& c : cases) {
        const PrintListing l = listing(c.program, 60, 0, c.name, c.machine);
        ASSERT_EQ(l.pages.size(), 1u);
        EXPECT_EQ(l.pages[0].lines, c.lines);
    }
}

TEST(PrintListing, StampUsesTheLocaleSeparatorsWithTheDayFirst)
{
    const QDateTime when(QDate(2026, 3, 7), QTime(8, 4, 59));
    const auto stamp = [&](const QLocale& locale) { const PrintStamp s = printStamp(when, locale); return s.date + ' ' + s.time; };
    EXPECT_EQ(stamp(QLocale(QLocale::Finnish)), "07.03.2026 08.04");
    EXPECT_EQ(stamp(QLocale::c()), "07/03/2026 08:04");  // a format without separators gets slash and colon
}

// Nothing lost, nothing doubled: the page bodies are the program text, each
// page within its lines, a header block on every page, and only program lines
// break a page.
TEST(PrintListing, PagesHoldTheWholeTextUnderTheirHeaders)
{
    QStringList thirty;
    for (int i = 0; i < 30; ++i)
        thirty << QStringLiteral("Zeile %1").arg(i);
    const struct {
        const char* name;
        Program program;
        int pageLines;
        std::vector<int> sizes;  // lines per page
        bool programLinesBreak = true;
    } cases[] = {
        // Page 1: 4 header lines, "%", column header, then program lines until
        // more than 18 lines stand: 13 program lines. Then 16 per page.
        {"long program", millProgram(50), 20, {19, 19, 19, 9}},
        // Five description lines, "%" and the column header reach past the
        // break threshold; they still share page 1 with the first program line.
        {"long description", millProgram(3, "  Teil 1\r\nTeil 2\r\nTeil 3\r\nTeil 4\r\nTeil 5 \r\n\r\n"), 12, {12, 6}},
        // The unit line follows the last program line even when that line
        // triggered the check: it is the only thing on the last page then.
        {"unit line alone", millProgram(13), 20, {19, 4}},
        {"description over the page", millProgram(2, thirty.join("\r\n")), 12, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PrintListing l = listing(c.program, c.pageLines);
        QStringList body;
        std::vector<int> sizes;
        for (const PrintPage& page : l.pages) {
            const int top = page.number == 1 ? 1 : 0;
            EXPECT_EQ(page.lines[top], header(kUnsaved, page.number));
            EXPECT_TRUE(page.lines[top + 1].isEmpty() && page.lines[top + 2].isEmpty());
            EXPECT_LE(page.lines.size(), std::max(c.pageLines, top + 4));
            body += page.lines.mid(top + 3);
            sizes.push_back(int(page.lines.size()));
            if (c.programLinesBreak && page.number < int(l.pages.size())) {
                EXPECT_TRUE(page.lines.last().contains("Zeile") && page.lines.last().startsWith("   ")) << page.lines.last().toStdString();
            }
        }
        EXPECT_EQ(body, strFileOutBuff(c.program, MachineType::F1).split("\r\n"));
        if (!c.sizes.empty()) {
            EXPECT_EQ(sizes, c.sizes);
        }
    }
    // An empty description starts the body with "%"; blanks and line breaks count as empty.
    EXPECT_EQ(listing(millProgram(1, "   \r\n\r\n"), 60).pages[0].lines[4], "%");
}

TEST(PrintListing, NothingRunsOffTheRightMargin)
{
    Program p = millProgram(2);
    const int comment = machineProfile(MachineType::F1).columns.comment;
    p.rows[0].setColumn(comment, QStringLiteral("Schruppen der Tasche mit dem 8er Fraeser in drei Zustellungen"));
    const QString longPath = QStringLiteral("/home/kursteilnehmer/projekte/fraesen/woche-12/gruppe-b/teil.cnc");
    const QStringList lines = listing(p, 60, 72, longPath).pages[0].lines;
    for (const QString& line : lines)
        EXPECT_LE(line.size(), 72) << line.toStdString();
    // The header keeps the file name whole and its page number; the folders
    // give way in the middle, cut at separators, as far as the page needs.
    const QString longName = QStringLiteral("C:\\Kurs\\Gruppe B\\welle-mit-gewinde-und-einstich.cnc");
    const struct { QString path; int width; QString shown; } headers[] = {
        {longPath, 72, ".../teil.cnc"}, {longPath, 100, "/home/.../woche-12/gruppe-b/teil.cnc"},
        {longName, 105, "C:\\...\\welle-mit-gewinde-und-einstich.cnc"},
    };
    for (const auto& h : headers)
        EXPECT_EQ(listing(p, 60, h.width, h.path).pages[0].lines[1], header(h.shown, 1)) << h.width;
    // The comment goes on under the comment column, broken between words.
    const QString indent(31, ' ');
    EXPECT_EQ(lines.mid(6, 3), QStringList({"     0 01   100  200  -300 100 Schruppen der Tasche mit dem 8er Fraeser",
                                            indent + "in drei Zustellungen", "     1 01   100  200  -300 100 Zeile 1"}));
    // A word longer than the room is cut where it must be.
    p.rows[0].setColumn(comment, QString(60, 'x'));
    const QStringList cut = listing(p, 60, 72).pages[0].lines;
    EXPECT_EQ(cut[6].size(), 72);
    EXPECT_EQ(cut[7], indent + QString(60 - 41, 'x'));
    // Tabs in the description become blanks to the next multiple of eight.
    p.description = QStringLiteral("Teil\t1\r\n\tB");
    EXPECT_EQ(listing(p, 60, 72).pages[0].lines.mid(4, 2), QStringList({"Teil    1", "        B"}));
}

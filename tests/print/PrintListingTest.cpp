#include "files/ProgramText.h"
#include "model/MachineProfile.h"
#include "model/ProgramLine.h"
#include "print/PrintListing.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

const PrintStamp kStamp{QStringLiteral("06.12.2026"), QStringLiteral("09:05")};

QString header(const QString& name, int page)
{
    return QStringLiteral("Quillon    ") + name + QStringLiteral(" gedruckt am 06.12.2026 am 09:05       Seite ")
           + QString::number(page);
}

// A mill program of `count` lines "    NN 01  ..." with the line number in the comment.
Program millProgram(int count, const QString& description = QString())
{
    Program p;
    p.description = description;
    for (int i = 0; i < count; ++i) {
        const QString line = QStringLiteral("   %1 01   100  200  -300 100 Zeile %2")
                                 .arg(i, 3, 10, QLatin1Char(' '))
                                 .arg(i);
        p.rows.push_back(parseProgramLine(line, false, MachineType::F1).row);
    }
    return p;
}

// The lines of every page below its header block, joined.
QStringList bodyLines(const PrintListing& listing)
{
    QStringList all;
    for (const PrintPage& page : listing.pages)
        all += page.lines.mid(page.number == 1 ? 4 : 3);
    return all;
}

QStringList textLines(const Program& p, MachineType m)
{
    return strFileOutBuff(p, m).split(QStringLiteral("\r\n"));
}

}  // namespace

TEST(PrintListing, FirstPageOfAnUnnamedProgram)
{
    const Program p = millProgram(2);
    const PrintListing listing = buildPrintListing(p, MachineType::F1, QString(), kStamp, {60, 0});
    ASSERT_EQ(listing.pages.size(), 1u);
    const QStringList expected{QString(),
                               header(QStringLiteral("Datei nicht gespeichert"), 1),
                               QString(),
                               QString(),
                               QStringLiteral("%"),
                               QStringLiteral("    N` G`  X  `  Y `   Z ` F  "),
                               QStringLiteral("     0 01   100  200  -300 100 Zeile 0"),
                               QStringLiteral("     1 01   100  200  -300 100 Zeile 1"),
                               QStringLiteral("   M")};
    EXPECT_EQ(listing.pages[0].lines, expected);

    const PrintListing named =
        buildPrintListing(p, MachineType::F1, QStringLiteral("/home/k/teil.cnc"), kStamp, {60, 0});
    EXPECT_EQ(named.pages[0].lines[1], header(QStringLiteral("/home/k/teil.cnc"), 1));
}

TEST(PrintListing, StampUsesTheLocaleSeparators)
{
    const QDateTime when(QDate(2026, 3, 7), QTime(8, 4, 59));
    const PrintStamp de = printStamp(when, QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.date, "07.03.2026");
    EXPECT_EQ(de.time, "08:04");
    const PrintStamp us = printStamp(when, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.date, "07/03/2026");  // the day first whatever the locale's order
    EXPECT_EQ(us.time, "08:04");
    const PrintStamp fi = printStamp(when, QLocale(QLocale::Finnish));
    EXPECT_EQ(fi.date, "07.03.2026");
    EXPECT_EQ(fi.time, "08.04");
    // A format without separators ("d MMM yyyy") gets slash and colon.
    const PrintStamp c = printStamp(when, QLocale::c());
    EXPECT_EQ(c.date, "07/03/2026");
    EXPECT_EQ(c.time, "08:04");
}

TEST(PrintListing, LongProgramContinuesWithRepeatedHeaders)
{
    const Program p = millProgram(50);
    const int pageLines = 20;
    const PrintListing listing = buildPrintListing(p, MachineType::F1, QString(), kStamp, {pageLines, 0});

    // Page 1: 4 header lines, "%", column header, then program lines until
    // more than 18 lines stand: 13 program lines. Then 16 per page.
    ASSERT_EQ(listing.pages.size(), 4u);
    EXPECT_EQ(listing.pages[0].lines.size(), 19);
    EXPECT_EQ(listing.pages[0].lines.last(), programLineText(p.rows[12], MachineType::F1));
    for (const PrintPage& page : listing.pages) {
        SCOPED_TRACE(page.number);
        const int top = page.number == 1 ? 1 : 0;
        EXPECT_EQ(page.lines[top], header(QStringLiteral("Datei nicht gespeichert"), page.number));
        EXPECT_TRUE(page.lines[top + 1].isEmpty() && page.lines[top + 2].isEmpty());
        EXPECT_LE(page.lines.size(), pageLines);
    }
    EXPECT_EQ(listing.pages[1].lines[3], programLineText(p.rows[13], MachineType::F1));
    EXPECT_EQ(listing.pages[1].lines.size(), 19);
    // Nothing lost, nothing doubled: the bodies are the program text.
    EXPECT_EQ(bodyLines(listing), textLines(p, MachineType::F1));
}

TEST(PrintListing, OnlyProgramLinesBreakAPage)
{
    // Five description lines, "%" and the column header reach past the
    // break threshold of a 12-line page; they still share page 1 with the
    // first program line, and page 2 starts with the second.
    const QString description = QStringLiteral("  Teil 1\r\nTeil 2\r\nTeil 3\r\nTeil 4\r\nTeil 5 \r\n\r\n");
    const Program p = millProgram(3, description);
    const PrintListing listing = buildPrintListing(p, MachineType::F1, QString(), kStamp, {12, 0});
    ASSERT_EQ(listing.pages.size(), 2u);
    const QStringList& first = listing.pages[0].lines;
    EXPECT_EQ(first.mid(4, 5), QStringList({"Teil 1", "Teil 2", "Teil 3", "Teil 4", "Teil 5 "}));
    EXPECT_EQ(first.size(), 12);
    EXPECT_EQ(first.last(), programLineText(p.rows[0], MachineType::F1));
    EXPECT_EQ(listing.pages[1].lines[3], programLineText(p.rows[1], MachineType::F1));
    EXPECT_EQ(bodyLines(listing), textLines(p, MachineType::F1));

    // An empty description starts the body with "%"; a description of blanks
    // and line breaks counts as empty.
    Program blank = millProgram(1, QStringLiteral("   \r\n\r\n"));
    EXPECT_EQ(buildPrintListing(blank, MachineType::F1, QString(), kStamp, {60, 0}).pages[0].lines[4], "%");

    // The unit line follows the last program line even when that line
    // triggered the check: it is the only thing on the last page then.
    const Program exact = millProgram(13);
    const PrintListing tail = buildPrintListing(exact, MachineType::F1, QString(), kStamp, {20, 0});
    ASSERT_EQ(tail.pages.size(), 2u);
    EXPECT_EQ(tail.pages[1].lines.mid(3), QStringList({"   M"}));
}

TEST(PrintListing, DescriptionLongerThanAPageGoesOnOverThePage)
{
    QStringList parts;
    for (int i = 0; i < 30; ++i)
        parts << QStringLiteral("Zeile %1").arg(i);
    const Program p = millProgram(2, parts.join(QStringLiteral("\r\n")));
    const PrintListing listing = buildPrintListing(p, MachineType::F1, QString(), kStamp, {12, 0});
    for (const PrintPage& page : listing.pages)
        EXPECT_LE(page.lines.size(), 12) << page.number;
    EXPECT_EQ(bodyLines(listing), textLines(p, MachineType::F1));
}

TEST(PrintListing, EvenATinyPageHoldsEveryLine)
{
    const Program p = millProgram(4, QStringLiteral("a\r\nb"));
    for (int lines : {-3, 0, 1, 4}) {
        SCOPED_TRACE(lines);
        const PrintListing listing = buildPrintListing(p, MachineType::F1, QString(), kStamp, {lines, 0});
        EXPECT_EQ(bodyLines(listing), textLines(p, MachineType::F1));
        for (const PrintPage& page : listing.pages)
            EXPECT_EQ(page.lines.size() - (page.number == 1 ? 4 : 3), 1) << page.number;
    }
}

TEST(PrintListing, MachineLayouts)
{
    // Mark 2: no column header, address letters in every line.
    Program mk2;
    mk2.rows.push_back(parseProgramLine(QStringLiteral("   N00 G00 X 1250 Z-  500 F100 Start"), false,
                                        MachineType::Mark2).row);
    mk2.rows.push_back(parseProgramLine(QStringLiteral("   N01 G04 X  100 Z     0 F  0 Pause"), false, MachineType::Mark2).row);
    const QStringList mk2Lines =
        buildPrintListing(mk2, MachineType::Mark2, QString(), kStamp, {60, 0}).pages[0].lines.mid(4);
    EXPECT_EQ(mk2Lines, QStringList({"%", "   N00 G00 X 1250 Z-  500 F100 Start",
                                     "   N01 G04 X  100 Z     0 F  0 Pause", "   M"}));

    // Mark 4 carries its own header; an imperial program ends in '   "'.
    Program mk4;
    mk4.units = Units::Imperial;
    mk4.rows.push_back(parseProgramLine(QStringLiteral("    05 01  1250-   500 100  50 Schlichten"), false,
                                        MachineType::Mark4).row);
    const QStringList mk4Lines =
        buildPrintListing(mk4, MachineType::Mark4, QString(), kStamp, {60, 0}).pages[0].lines.mid(4);
    EXPECT_EQ(mk4Lines, QStringList({"%", "    N` G`   X `    Z `  F`  H ",
                                     "    05 01  1250-   500 100  50 Schlichten", "   \""}));
}

TEST(PrintListing, NothingRunsOffTheRightMargin)
{
    Program p = millProgram(2);
    const QString comment = QStringLiteral("Schruppen der Tasche mit dem 8er Fraeser in drei Zustellungen");
    p.rows[0].setColumn(machineProfile(MachineType::F1).columns.comment, comment);
    const QString longPath = QStringLiteral("/home/kursteilnehmer/projekte/fraesen/woche-12/gruppe-b/teil.cnc");
    const PrintListing listing = buildPrintListing(p, MachineType::F1, longPath, kStamp, {60, 72});
    const QStringList& lines = listing.pages[0].lines;
    for (const QString& line : lines)
        EXPECT_LE(line.size(), 72) << line.toStdString();

    // The header keeps the file name whole and its page number; the folders
    // give way in the middle, cut at separators, as far as the page needs.
    const QString longName = QStringLiteral("C:\\Kurs\\Gruppe B\\welle-mit-gewinde-und-einstich.cnc");
    const struct {
        QString path;
        int width;
        QString shown;
    } headers[] = {
        {longPath, 72, ".../teil.cnc"},
        {longPath, 100, "/home/.../woche-12/gruppe-b/teil.cnc"},
        {longPath, 110, "/home/.../fraesen/woche-12/gruppe-b/teil.cnc"},
        {longPath, 0, longPath},
        {longName, 105, "C:\\...\\welle-mit-gewinde-und-einstich.cnc"},
        {longName, 72, "...\\welle-mit-gewinde-und-einstich.cnc"},
    };
    for (const auto& h : headers) {
        SCOPED_TRACE(h.width);
        EXPECT_EQ(buildPrintListing(p, MachineType::F1, h.path, kStamp, {60, h.width}).pages[0].lines[1],
                  header(h.shown, 1));
    }

    // The comment goes on under the comment column, broken between words,
    // every word kept.
    const QString full = programLineText(p.rows[0], MachineType::F1);
    const QString indent(31, QLatin1Char(' '));
    EXPECT_EQ(lines[6], QStringLiteral("     0 01   100  200  -300 100 Schruppen der Tasche mit dem 8er Fraeser"));
    EXPECT_EQ(lines[7], indent + QStringLiteral("in drei Zustellungen"));
    EXPECT_EQ(lines[6] + QLatin1Char(' ') + lines[7].mid(31), full);
    // A word longer than the room is cut where it must be.
    p.rows[0].setColumn(machineProfile(MachineType::F1).columns.comment, QString(60, QLatin1Char('x')));
    const QStringList cut = buildPrintListing(p, MachineType::F1, QString(), kStamp, {60, 72}).pages[0].lines;
    EXPECT_EQ(cut[6].size(), 72);
    EXPECT_EQ(cut[7], indent + QString(60 - 41, QLatin1Char('x')));
    EXPECT_EQ(lines[8], programLineText(p.rows[1], MachineType::F1));

    // Tabs in the description become blanks to the next multiple of eight.
    p.description = QStringLiteral("Teil\t1\r\n\tB");
    const QStringList tabbed = buildPrintListing(p, MachineType::F1, QString(), kStamp, {60, 72}).pages[0].lines;
    EXPECT_EQ(tabbed.mid(4, 2), QStringList({"Teil    1", "        B"}));
}

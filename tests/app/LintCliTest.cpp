#include "CliRun.h"
#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon::testing;

namespace {

QString write(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

}  // namespace

TEST(LintCli, FindingsPointAtTheFileLineOfTheirRow)
{
    QTemporaryDir dir;
    // Two description lines, "%", the header; the first row's comment holds a
    // lone line feed, which other editors count as a line break.
    const QString path = write(dir, "welle.cnc",
                               "Welle\r\nAlu\r\n%\r\n    N` G`   X `    Z `  F`  H \r\n"
                               "    00 00  1250    200         Anfahren\nweiter\r\n"    // lines 5 and 6
                               "    01 01  8000-  2000 100     \r\n"                    // line 7
                               "    03 47                      Fr\xe4sen\r\n"           // line 8
                               "   M\r\n");
    const CliRun r = cli({"lint", "--machine", "mk4", path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.text(), path + QStringLiteral(":7: N01: X = 8000: Der maximalwert für diesen Parameter ist 5999\n")
                           + path + QStringLiteral(":8: N03: Unbekannter Code G47 für die Mark 4 Drehmaschine\n")
                           + path + QStringLiteral(":8: N03: Zeilennummer nicht fortlaufend, erwartet N02\n")
                           + path + QStringLiteral(":8: Das Programm hat kein Programmende (M30)\n"));
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
}

TEST(LintCli, CleanFilesSayNothingAndSeveralFilesAreCheckedInTurn)
{
    for (const auto& [file, machine] : {std::pair{"mark4-welle.cnc", "4"}, {"f1-tasche.cnc", "f1"}, {"mark2-welle.cnc", "mk2"}}) {
        const CliRun r = cli({"lint", "--machine", machine, data(file)});
        EXPECT_EQ(r.exitCode, 0) << file << r.text().toStdString();
        EXPECT_TRUE(r.text().isEmpty()) << file;
    }

    QTemporaryDir dir;
    // A Mark 2 program: no header line, address letters in the line.
    const QString bad = write(dir, "bad.cnc",
                              "%\r\n   N00 G00 X 1250 Z   200 F    \r\n   N01 G01 X  100 Z-  500 F    \r\n   M\r\n");
    CliRun r = cli({"lint", "--machine", "2", data("mark2-welle.cnc"), bad, data("f1-tasche.cnc")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.text(), bad + QStringLiteral(":3: N01: F = 0: Der mindest Wert für diesen Parameter ist 2\n")
                           + bad + QStringLiteral(":3: Das Programm hat kein Programmende (G22)\n")
                           + data("f1-tasche.cnc")
                           + QStringLiteral(": rejected: Diese Datei kann nicht gelesen werden, Sie enthält kein CNC "
                                          "Programm für Mark 2 Drehmaschine\n"));

    // A file that cannot be read is a read error; the others are still checked.
    r = cli({"lint", "--machine", "2", dir.filePath(QStringLiteral("missing.cnc")), bad});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.count('\n'), 1);
    EXPECT_EQ(r.text().count(QLatin1Char('\n')), 2);
}

TEST(LintCli, WoodworkerFromTheFlagOrTheSettings)
{
    QTemporaryDir dir;
    const QString path = write(dir, "tasche.cnc",
                               "%\r\n    N` G`  X  `  Y `   Z ` F  \r\n"
                               "    00M06D  300S5000    00  01 \r\n"
                               "    01M30                      \r\n   M\r\n");
    const QString ini = write(dir, "Quillon.ini", "[Settings]\r\nType=1\r\n");
    CliRun r = cli({"--settings", ini, "lint", path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.text(), path + QStringLiteral(":3: N00: Geschwindigkeit = 5000: Der maximalwert für diesen Parameter ist 2000\n"));
    r = cli({"--settings", ini, "lint", "--woodworker", path});
    EXPECT_EQ(r.exitCode, 0) << r.text().toStdString();
    write(dir, "Quillon.ini", "[Settings]\r\nType=1\r\nWoodworker=Yes\r\n");
    r = cli({"--settings", ini, "lint", path});
    EXPECT_EQ(r.exitCode, 0) << r.text().toStdString();
}

TEST(LintCli, UsageAndHelp)
{
    const CliRun help = cli({"lint", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.text().startsWith(QStringLiteral("usage: quillon-cli lint"))) << help.text().toStdString();
    EXPECT_TRUE(cli({"--help"}).text().contains(QStringLiteral("\n  lint ")));
    for (const QStringList& args : {QStringList{"lint", "--machine", "4"}, QStringList{"lint", "--machine", "4", "--strict", data("mark4-welle.cnc")}}) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1);
        EXPECT_TRUE(r.text().isEmpty());
    }
}

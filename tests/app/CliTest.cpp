#include "CliRun.h"
#include "QtPrinters.h"
#include "export/ProgramBuilder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {
const QString kNoMode = QStringLiteral("Keine Maßangabe (G90/G91) vor der ersten Bewegung: die Werte gelten inkrementell");
const QByteArray kRejectedMark2 = "rejected: Diese Datei kann nicht gelesen werden, Sie enth\xc3\xa4lt kein CNC Programm f\xc3\xbcr Mark 2 Drehmaschine";
}

TEST(Cli, CheckReportsEachFileAndExitsByTheWorstResult)
{
    CliRun r = cli({"check", "--machine", "mk4", data("mark4-welle.cnc")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, data("mark4-welle.cnc").toUtf8() + ": ok, 3 rows, metric\n");
    r = cli({"check", "--machine", "2", data("mark2-welle.cnc"), data("f1-tasche.cnc")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, data("mark2-welle.cnc").toUtf8() + ": ok, 3 rows, metric\n" + data("f1-tasche.cnc").toUtf8() + ": " + kRejectedMark2 + "\n");
    r = cli({"check", "--machine", "4", data("mark4-welle.cnc"), "/nonexistent/x.cnc"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(r.err.isEmpty());
}

TEST(Cli, FormatWritesTheSavedBytes)
{
    for (const auto& [file, machine] : {std::pair{"mark4-welle.cnc", "4"}, {"f1-tasche.cnc", "1"}, {"mark2-welle.cnc", "2"}}) {
        const CliRun r = cli({"format", "--machine", machine, data(file)});
        EXPECT_EQ(r.exitCode, 0) << file;
        EXPECT_EQ(r.out, bytesOf(data(file))) << file;
    }
    const CliRun rejected = cli({"format", "--machine", "1", data("mark4-welle.cnc")});
    EXPECT_EQ(rejected.exitCode, 1);
    EXPECT_TRUE(rejected.out.isEmpty());
    // A lone LF or CR in a comment is part of its line, for the reader and the writer.
    QTemporaryDir dir;
    const QByteArray lone = "%\r\n   N00 G22 X      Z       F     erste\nzweite\r\n   N01 G21 X      Z       F     \r\r\n   M\r\n";
    const CliRun kept = cli({"format", "--machine", "2", writeBytes(dir.filePath("lone.cnc"), lone)});
    EXPECT_EQ(kept.exitCode, 0) << kept.err.toStdString();
    EXPECT_EQ(kept.out, lone);
}

TEST(Cli, MachineComesFromTheSettingsTypeWhichIsNeverWritten)
{
    QTemporaryDir dir;
    const QByteArray settings = "[Settings]\r\nType=2\r\nUnits=imperial\r\n";
    const QString ini = writeBytes(dir.filePath("Quillon.ini"), settings);
    // Type=2 picks Mark 2; a metric unit line in the file leaves Units alone.
    CliRun r = cli({"--settings", ini, "check", data("mark2-welle.cnc")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith(": ok, 3 rows, metric\n"));
    // A file without a unit line starts in the settings' units, as in the editor.
    const QString noUnits = writeBytes(dir.filePath("ohne.cnc"), "%\r\n   N00 G22 X      Z       F    \r\n");
    EXPECT_TRUE(cli({"--settings", ini, "check", noUnits}).out.endsWith(": ok, 1 rows, imperial\n"));
    EXPECT_EQ(cli({"--settings", ini, "format", noUnits}).out, QByteArray("%\r\n   N00 G22 X      Z       F    \r\n   \"\r\n"));
    EXPECT_EQ(bytesOf(ini), settings);
    // A Type that names no machine counts as none chosen.
    writeBytes(ini, "[Settings]\r\nType=3\r\n");
    EXPECT_EQ(cli({"--settings", ini, "check", data("mark2-welle.cnc")}).exitCode, 2);
    EXPECT_EQ(cli({"--settings", dir.filePath("missing.ini"), "format", data("mark2-welle.cnc")}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.ini")));
}

TEST(Cli, UsageErrorsAreOneLineAndExitTwo)
{
    QTemporaryDir dir;
    const QString in = writeBytes(dir.filePath("lathe.cnc"), bytesOf(data("mark4-welle.cnc")));
    const QString out = dir.filePath("x.spd");
    const QStringList bad[] = {
        {"check", "--machine", "4", "--frobnicate", in}, {"check", "--machine", "7", in}, {"format", "--machine", "4"},
        {"launch"}, {"check", "--machine"}, {"lint", "--machine", "4"}, {"lint", "--strict"},
        {"export", "--machine", "4", in}, {"export", "--machine", "4", in, "-o", out, "--tool", "12"},
        {"export", "--machine", "4", in, "-o", out, "--billet", "3,5"}, {"export", "--machine", "4", dir.filePath("fehlt.cnc"), "-o", out},
    };
    for (const QStringList& args : bad) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    CliRun r = cli({"export", "--machine", "4", in, "-o", out, "--billet", "30", "--billet=40"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QByteArray("quillon-cli: --billet may be given only once\n"));
    EXPECT_FALSE(QFile::exists(out));
    r = cli({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QByteArray("quillon-cli 1.0.21\n"));
    EXPECT_TRUE(cli({"--help"}).out.contains("\n  lint "));
}

TEST(LintCli, FindingsPointAtTheFileLineOfTheirRowFileAfterFile)
{
    QTemporaryDir dir;
    // Two description lines, "%", the header; the first row's comment holds a
    // lone line feed, which other editors count as a line break.
    const QString path = writeBytes(dir.filePath("welle.cnc"),
                                    "Welle\r\nAlu\r\n%\r\n    N` G`   X `    Z `  F`  H \r\n"
                                    "    00 00  1250    200         Anfahren\nweiter\r\n"  // lines 5 and 6
                                    "    01 01  8000-  2000 100     \r\n"                  // line 7
                                    "    03 47                      Fr\xe4sen\r\n"         // line 8
                                    "   M\r\n");
    CliRun r = cli({"lint", "--machine", "mk4", path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.text(), path + ":7: N01: X = 8000: Der maximalwert für diesen Parameter ist 5999\n" + path
                            + ":8: N03: Unbekannter Code G47 für die Mark 4 Drehmaschine\n" + path
                            + ":8: N03: Zeilennummer nicht fortlaufend, erwartet N02\n" + path + ":8: Das Programm hat kein Programmende (M30)\n"
                            + path + ":5: N00: Warnung: " + kNoMode + "\n" + path + ":7: N01: Warnung: Vorschub bei stehender Spindel\n");
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();

    // A Mark 2 program: no header line, address letters in the line.
    const QString bad = writeBytes(dir.filePath("bad.cnc"), "%\r\n   N00 G00 X 1250 Z   200 F    \r\n   N01 G01 X  100 Z-  500 F 50\r\n   M\r\n");
    r = cli({"lint", "--machine", "2", data("mark2-welle.cnc"), bad, data("f1-tasche.cnc")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.text(), data("mark2-welle.cnc") + ":2: N00: Warnung: " + kNoMode + "\n" + bad + ":3: Das Programm hat kein Programmende (G22)\n"
                            + bad + ":2: N00: Warnung: " + kNoMode + "\n" + data("f1-tasche.cnc") + ": " + kRejectedMark2 + "\n");
    // A file that cannot be read is a read error; the others are still checked.
    r = cli({"lint", "--machine", "2", dir.filePath("missing.cnc"), bad});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.count('\n'), 1);
    EXPECT_EQ(r.out.count('\n'), 2);  // bad.cnc's error and warning
}

TEST(LintCli, WarningsAloneExitZeroUnlessStrict)
{
    const QString welle = data("mark4-welle.cnc");
    for (const QStringList& strict : {QStringList(), QStringList{"--strict"}}) {
        const CliRun r = cli(QStringList{"lint", "--machine", "4", welle, data("mark4-kontur.cnc")} + strict);
        EXPECT_EQ(r.exitCode, strict.isEmpty() ? 0 : 1);
        EXPECT_EQ(r.text(), welle + ":5: N00: Warnung: " + kNoMode + "\n" + welle + ":6: N01: Warnung: Vorschub bei stehender Spindel\n");
    }
    const CliRun clean = cli({"lint", "--strict", "--machine", "4", data("mark4-kontur.cnc")});
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_TRUE(clean.out.isEmpty());
}

TEST(LintCli, WoodworkerFromTheFlagOrTheSettings)
{
    QTemporaryDir dir;
    const QString path = writeBytes(dir.filePath("tasche.cnc"), "%\r\n    N` G`  X  `  Y `   Z ` F  \r\n"
                                                                "    00M06D  300S5000    00  01 \r\n    01M30                      \r\n   M\r\n");
    const QString ini = writeBytes(dir.filePath("Quillon.ini"), "[Settings]\r\nType=1\r\n");
    CliRun r = cli({"--settings", ini, "lint", path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.text(), path + ":3: N00: Geschwindigkeit = 5000: Der maximalwert für diesen Parameter ist 2000\n");
    EXPECT_EQ(cli({"--settings", ini, "lint", "--woodworker", path}).exitCode, 0);
    writeBytes(ini, "[Settings]\r\nType=1\r\nWoodworker=Yes\r\n");
    EXPECT_EQ(cli({"--settings", ini, "lint", path}).exitCode, 0);
}

TEST(ExportCli, ToolAnswersInProgramOrderThenTheDefaults)
{
    QTemporaryDir dir;
    ProgramBuilder p(MachineType::Mark4, Units::Metric, QStringLiteral("Welle"));
    p.row("G90").row("M06", X(0), Z(0), letterF('T', 1)).row("M06", X(0), Z(0), letterF('T', 2), {}, QStringLiteral("zweites"))
        .row("M06", X(0), Z(0), letterF('T', 3)).row("M06", X(0), Z(0), letterF('T', 4)).row("G00", X(1000), Z(100)).row("M30");
    const QString in = writeBytes(dir.filePath("welle.cnc"), encodeCp1252(p.text() + "\r\n").bytes);
    const QString out = dir.filePath("welle.spd");
    const CliRun r = cli({"export", "--machine", "mk4", in, "-o", out, "--billet", "30.5", "--tool", "9:1500", "--tool", "3"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_EQ(bytesOf(out), fileBytes({"%", "*Welle", "*Werkstück Durchmesser: 30.5 (mm)", "N10 T1", "N20 S1000", "N30 G0 X25 Z10",
                                       "N40 T9", "N50 S1500", "N60 T3 'zweites", "N70 S1500", "N80 T1", "N90 S1500", "N100 T1",
                                       "N110 S1500", "N120 G0 X10.00 Z1.00", "%"}));
}

TEST(ExportCli, FailuresWriteNothing)
{
    QTemporaryDir dir;
    const QString out = writeBytes(dir.filePath("alt.spd"), "old");
    // No billet in the description and none given.
    ProgramBuilder plain(MachineType::Mark2);
    plain.row("G00", X(0), Z(0)).row("G22");
    const QString in = writeBytes(dir.filePath("plain.cnc"), encodeCp1252(plain.text() + "\r\n").bytes);
    CliRun r = cli({"export", "--machine", "2", in, "-o", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("--billet")) << r.err.toStdString();
    // The export's own message, its lines ended for a terminal.
    ProgramBuilder jump(MachineType::Mark4, Units::Metric, QStringLiteral("Billet diam 20"));
    jump.row("G27", {}, {}, letterF('L', 40)).row("M30");
    const QString jumpIn = writeBytes(dir.filePath("jump.cnc"), encodeCp1252(jump.text() + "\r\n").bytes);
    r = cli({"export", "--machine", "4", jumpIn, "-o", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("quillon-cli: Die Ziel Zeile")) << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith("\nEs wurde keine Datei geschrieben.\n"));
    EXPECT_FALSE(r.err.contains('\r'));
    EXPECT_EQ(bytesOf(out), QByteArray("old"));
    // A mill program is no failure of the file but of the command: exit 2.
    r = cli({"export", "--machine", "f1", in, "-o", dir.filePath("x.spd")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "quillon-cli: Der Export zu Spindra ist nur f\xc3\xbcr Programme der Drehmaschinen (Mark 2 und Mark 4) "
                     "m\xc3\xb6glich. Es wurde keine Datei geschrieben.\n");
    EXPECT_FALSE(QFile::exists(dir.filePath("x.spd")));
}

#include "CliRun.h"
#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon::testing;

TEST(Cli, CheckReportsEachFileAndExitsByTheWorstResult)
{
    CliRun r = cli({"check", "--machine", "mk4", data("mark4-welle.cnc")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, data("mark4-welle.cnc").toUtf8() + ": ok, 3 rows, metric\n");

    r = cli({"check", data("f1-tasche.cnc"), "--machine=f1"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.endsWith(": ok, 3 rows, imperial\n")) << r.out.toStdString();

    r = cli({"check", "--machine", "2", data("mark2-welle.cnc"), data("f1-tasche.cnc")});
    EXPECT_EQ(r.exitCode, 1);
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(": ok, 3 rows, metric"));
    EXPECT_EQ(lines[1], data("f1-tasche.cnc").toUtf8()
                            + QByteArray(": rejected: Diese Datei kann nicht gelesen werden, Sie enth\xc3\xa4lt kein CNC "
                                         "Programm f\xc3\xbcr Mark 2 Drehmaschine"));

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
    const QString path = dir.filePath(QStringLiteral("lone.cnc"));
    const QByteArray lone = "%\r\n   N00 G22 X      Z       F     erste\nzweite\r\n   N01 G21 X      Z       F     \r\r\n   M\r\n";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(lone);
    }
    const CliRun kept = cli({"format", "--machine", "2", path});
    EXPECT_EQ(kept.exitCode, 0) << kept.err.toStdString();
    EXPECT_EQ(kept.out, lone);
}

TEST(Cli, MachineComesFromTheSettingsTypeWhichIsNeverWritten)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Quillon.ini"));
    const QByteArray settings = "[Settings]\r\nType=2\r\nUnits=imperial\r\n";
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(settings);
    }
    // Type=2 picks Mark 2; a metric unit line in the file leaves Units alone.
    CliRun r = cli({"--settings", ini, "check", data("mark2-welle.cnc")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith(": ok, 3 rows, metric\n"));
    r = cli({"check", data("mark4-welle.cnc"), "--settings=" + ini, "--machine", "mk4"});
    EXPECT_EQ(r.exitCode, 0);
    // A file without a unit line starts in the settings' units, as in the editor.
    const QString noUnits = dir.filePath(QStringLiteral("ohne.cnc"));
    {
        QFile f(noUnits);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("%\r\n   N00 G22 X      Z       F    \r\n");
    }
    r = cli({"--settings", ini, "check", noUnits});
    EXPECT_TRUE(r.out.endsWith(": ok, 1 rows, imperial\n")) << r.out.toStdString();
    r = cli({"--settings", ini, "format", noUnits});
    EXPECT_EQ(r.out, QByteArray("%\r\n   N00 G22 X      Z       F    \r\n   \"\r\n"));
    EXPECT_EQ(bytesOf(ini), settings);

    // A Type that names no machine counts as none chosen.
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Settings]\r\nType=3\r\n");
    }
    r = cli({"--settings", ini, "check", data("mark2-welle.cnc")});
    EXPECT_EQ(r.exitCode, 2);
    r = cli({"--settings", dir.filePath(QStringLiteral("missing.ini")), "format", data("mark2-welle.cnc")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing.ini"))));
}

TEST(Cli, UsageErrorsAreOneLineAndExitTwo)
{
    const QStringList bad[] = {
        {"check", "--machine", "4", "--frobnicate", data("mark4-welle.cnc")},
        {"check", "--machine", "7", data("mark4-welle.cnc")},
        {"format", "--machine", "4"},
        {"launch"},
        {"check", "--machine"},
    };
    for (const QStringList& args : bad) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    const CliRun version = cli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QByteArray("quillon-cli 1.0.21\n"));
    EXPECT_EQ(cli({"format", "--help"}).exitCode, 0);
}

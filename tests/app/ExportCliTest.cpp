#include "export/ExportMessages.h"
#include "files/Cp1252.h"

#include "CliRun.h"
#include "QtPrinters.h"
#include "export/LatheProgram.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

// Saves the program as the editor would and returns its path.
QString save(const QTemporaryDir& dir, const char* name, const LatheProgram& p)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(encodeCp1252(p.text() + QStringLiteral("\r\n")).bytes);
    return path;
}

QByteArray errText(const QString& message)
{
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return (QStringLiteral("quillon-cli: ") + text + QLatin1Char('\n')).toUtf8();
}

}  // namespace

TEST(ExportCli, ToolAnswersInProgramOrderThenTheDefaults)
{
    QTemporaryDir dir;
    LatheProgram p(MachineType::Mark4, Units::Metric, QStringLiteral("Welle"));
    p.row("G90")
        .row("M06", X(0), Z(0), letterF('T', 1))
        .row("M06", X(0), Z(0), letterF('T', 2), {}, QStringLiteral("zweites"))
        .row("M06", X(0), Z(0), letterF('T', 3))
        .row("M06", X(0), Z(0), letterF('T', 4))
        .row("G00", X(1000), Z(100))
        .row("M30");
    const QString in = save(dir, "welle.cnc", p);
    const QString out = dir.filePath(QStringLiteral("welle.spd"));

    const CliRun r = cli({"export", "--machine", "mk4", in, "-o", out, "--billet", "30.5", "--tool", "9:1500",
                          "--tool", "3"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_EQ(bytesOf(out), fileBytes({
                                 "%",
                                 "*Welle",
                                 "*Werkstück Durchmesser: 30.5 (mm)",
                                 "N10 T1",
                                 "N20 S1000",
                                 "N30 G0 X25 Z10",
                                 "N40 T9",
                                 "N50 S1500",
                                 "N60 T3 'zweites",
                                 "N70 S1500",
                                 "N80 T1",
                                 "N90 S1500",
                                 "N100 T1",
                                 "N110 S1500",
                                 "N120 G0 X10.00 Z1.00",
                                 "%",
                             }));
}

TEST(ExportCli, FailuresWriteNothingAndExitOne)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("alt.spd"));
    {
        QFile f(out);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }

    // No billet in the description and none given.
    LatheProgram plain(MachineType::Mark2);
    plain.row("G00", X(0), Z(0)).row("G22");
    const QString in = save(dir, "plain.cnc", plain);
    CliRun r = cli({"export", "--machine", "2", in, "-o", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("--billet")) << r.err.toStdString();
    EXPECT_EQ(bytesOf(out), QByteArray("old"));

    // A jump to a line that is not there: the export's own message.
    LatheProgram jump(MachineType::Mark4, Units::Metric, QStringLiteral("Billet diam 20"));
    jump.row("G27", {}, {}, letterF('L', 40)).row("M30");
    const QString jumpIn = save(dir, "jump.cnc", jump);
    r = cli({"export", "--machine", "4", jumpIn, "-o", out});
    EXPECT_EQ(r.exitCode, 1);
    LineRecord record;
    record.text = jump.text().split(QStringLiteral("\r\n"))[3];
    EXPECT_EQ(r.err, errText(missingJumpTargetMessage(record)));
    EXPECT_EQ(bytesOf(out), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);  // alt, plain and jump
}

TEST(ExportCli, MillAndUsageErrorsExitTwo)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("x.spd"));
    const QString in = save(dir, "lathe.cnc", LatheProgram(MachineType::Mark4));

    CliRun r = cli({"export", "--machine", "f1", in, "-o", out});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, errText(notLatheMessage()));
    EXPECT_FALSE(QFile::exists(out));

    const QStringList bad[] = {
        {"export", "--machine", "4", in},
        {"export", "--machine", "4", in, "-o", out, "--tool", "12"},
        {"export", "--machine", "4", in, "-o", out, "--tool", "3:0"},
        {"export", "--machine", "4", in, "-o", out, "--billet", "0"},
        {"export", "--machine", "4", in, "-o", out, "--billet", "3,5"},
        {"export", "--machine", "4", dir.filePath(QStringLiteral("fehlt.cnc")), "-o", out},
    };
    for (const QStringList& args : bad) {
        r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
    r = cli({"export", "--machine", "4", in, "-o", out, "--billet", "30", "--billet=40"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QByteArray("quillon-cli: --billet may be given only once\n"));
    EXPECT_FALSE(QFile::exists(out));
}

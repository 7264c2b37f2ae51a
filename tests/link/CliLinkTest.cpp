// quillon-cli send and receive as separate processes over pseudo-terminals.
#include "LinkTestSupport.h"

#include "files/Cp1252.h"
#include "files/ProgramFile.h"
#include "files/ProgramText.h"
#include "link/SendText.h"
#include "model/MachineProfile.h"

#include "CliRun.h"
#include "QtPrinters.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <signal.h>

using namespace quillon;
using namespace quillon::test;
using namespace quillon::testing;

namespace {

Program decodeFile(const QString& path, MachineType machine)
{
    const DecodeResult r = blnDecodeBuffer(decodeCp1252(bytesOf(path)), machine, Units::Metric);
    EXPECT_TRUE(r.accepted) << path.toStdString();
    return r.program;
}

// Waits until a receiver says it is listening (its port is open), keeping
// what it wrote to standard error so far in `err`.
bool waitListening(QProcess& p, QByteArray& err, int ms = 10000)
{
    return waitFor(
        [&] {
            err += p.readAllStandardError();
            return err.contains("waiting for the machine") || p.state() == QProcess::NotRunning;
        },
        ms)
           && p.state() == QProcess::Running;
}

bool finish(QProcess& p, int ms = 15000)
{
    return p.state() == QProcess::NotRunning || p.waitForFinished(ms);
}

}  // namespace

TEST(CliLink, SendIntoReceiveReproducesTheRows)
{
    struct Run {
        const char* file;
        const char* machineArg;
        MachineType machine;
        std::unique_ptr<PtyPair> pty;
        std::unique_ptr<QProcess> receiver;
        std::unique_ptr<QProcess> sender;
        QByteArray receiveErr;
    };
    Run runs[] = {
        {"mark4-welle.cnc", "mk4", MachineType::Mark4, nullptr, nullptr, nullptr, {}},
        {"f1-tasche.cnc", "f1", MachineType::F1, nullptr, nullptr, nullptr, {}},
        {"mark2-welle.cnc", "mk2", MachineType::Mark2, nullptr, nullptr, nullptr, {}},
    };
    QTemporaryDir dir;
    // All three at once: a reception may end by the 5 s silence.
    for (Run& run : runs) {
        run.pty = std::make_unique<PtyPair>();
        REQUIRE_PTYS(*run.pty);
        const QString name = QString::fromLatin1(run.machineArg);
        run.receiver = startCli({"receive", "--machine", name, "--port", run.pty->b(), "-o",
                                 dir.filePath(name + ".cnc"), "--raw", dir.filePath(name + ".raw")});
    }
    for (Run& run : runs)
        ASSERT_TRUE(waitListening(*run.receiver, run.receiveErr)) << run.receiveErr.toStdString();
    for (Run& run : runs)
        run.sender = startCli({"send", "--machine", run.machineArg, "--port", run.pty->a(), data(run.file)});

    for (Run& run : runs) {
        SCOPED_TRACE(run.file);
        const QString name = QString::fromLatin1(run.machineArg);
        ASSERT_TRUE(finish(*run.sender));
        ASSERT_TRUE(finish(*run.receiver));
        const QByteArray sendErr = run.sender->readAllStandardError();
        EXPECT_EQ(run.sender->exitCode(), 0) << sendErr.toStdString();
        EXPECT_TRUE(sendErr.contains("Fortschritt: (vorrausichtliche Zeit f\xc3\xbcr das senden ist ")) << sendErr.toStdString();
        EXPECT_TRUE(sendErr.contains("100 %"));
        const QByteArray receiveErr = run.receiveErr + run.receiver->readAllStandardError();
        EXPECT_EQ(run.receiver->exitCode(), 0) << receiveErr.toStdString();

        // The wire carries no description and no comments; everything else
        // comes back as it was.
        Program expected = decodeFile(data(run.file), run.machine);
        const Program original = expected;
        expected.description.clear();
        for (ProgramRow& row : expected.rows)
            row.setColumn(machineProfile(run.machine).columns.comment, QString());
        const Program received = decodeFile(dir.filePath(name + ".cnc"), run.machine);
        EXPECT_EQ(received, expected);
        EXPECT_FALSE(received.rows.empty());

        // The raw bytes are the send text, up to at least the unit line.
        const QByteArray raw = bytesOf(dir.filePath(name + ".raw"));
        const QByteArray sent = sendText(original, run.machine);
        EXPECT_TRUE(sent.startsWith(raw));
        EXPECT_GE(raw.size(), sent.size() - 11);
        // Saved as Save would save it.
        EXPECT_EQ(bytesOf(dir.filePath(name + ".cnc")), *programFileBytes(received, run.machine));
    }
}

TEST(CliLink, SendFailures)
{
    PtyPair pty;
    REQUIRE_PTYS(pty);
    const QString missing = pty.a() + QStringLiteral("-gone");

    auto p = startCli({"send", "--machine", "4", "--port", missing, data("mark4-welle.cnc")});
    ASSERT_TRUE(finish(*p));
    EXPECT_EQ(p->exitCode(), 1);
    const QString err = QString::fromUtf8(p->readAllStandardError());
    EXPECT_TRUE(err.contains("Com Port " + missing + " ist nicht verf\u00fcgbar")) << err.toStdString();
    EXPECT_TRUE(err.contains("Invalid Port Number"));
    EXPECT_FALSE(err.contains('\r')) << "a terminal ends its lines in LF";

    // A folder is no device, and the reason says so.
    p = startCli({"send", "--machine", "4", "--port", QDir::tempPath(), data("mark4-welle.cnc")});
    ASSERT_TRUE(finish(*p));
    EXPECT_EQ(p->exitCode(), 1);
    EXPECT_TRUE(p->readAllStandardError().endsWith("Das berichtete Problem ist:\n"
                                                    "The device identifier is invalid or unsupported\n"));

    // A file for another machine is rejected before the port is touched.
    EmulatedMachine emco(pty.b());
    p = startCli({"send", "--machine", "1", "--port", pty.a(), data("mark4-welle.cnc")});
    ASSERT_TRUE(finish(*p));
    EXPECT_EQ(p->exitCode(), 1);
    EXPECT_TRUE(p->readAllStandardError().contains("rejected"));
    spin(100);
    EXPECT_TRUE(emco.heard().isEmpty());

    p = startCli({"send", "--machine", "4", data("mark4-welle.cnc")});
    ASSERT_TRUE(finish(*p));
    EXPECT_EQ(p->exitCode(), 2);
}

TEST(CliLink, ReceiveFailuresStillKeepTheRawBytes)
{
    QTemporaryDir dir;
    // Interrupted while waiting: nothing arrived, exit 1, an empty raw file.
    {
        PtyPair pty;
        REQUIRE_PTYS(pty);
        auto p = startCli({"receive", "--machine", "4", "--port", pty.b(), "-o", dir.filePath("none.cnc"), "--raw",
                           dir.filePath("none.raw")});
        QByteArray err;
        ASSERT_TRUE(waitListening(*p, err));
        spin(100);
        ::kill(pid_t(p->processId()), SIGINT);
        ASSERT_TRUE(finish(*p, 5000));
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 1);
        err += p->readAllStandardError();
        EXPECT_TRUE(err.contains("ended by interrupted")) << err.toStdString();
        EXPECT_TRUE(err.contains("nothing arrived"));
        EXPECT_TRUE(QFile::exists(dir.filePath("none.raw")));
        EXPECT_TRUE(bytesOf(dir.filePath("none.raw")).isEmpty());
        EXPECT_FALSE(QFile::exists(dir.filePath("none.cnc")));
    }
    // A Mark 4 transmission received as a mill program is rejected; the
    // bytes are kept.
    {
        PtyPair pty;
        REQUIRE_PTYS(pty);
        EmulatedMachine emco(pty.a());
        auto p = startCli({"receive", "--machine", "1", "--port", pty.b(), "-o", dir.filePath("bad.cnc"), "--raw",
                           dir.filePath("bad.raw")});
        QByteArray err;
        ASSERT_TRUE(waitListening(*p, err));
        const QByteArray text = QByteArray(100, '\0') + "%\r\n    N` G`   X `    Z `  F`  H \r\n   M\r\n";
        emco.sendLines(text.left(text.size() - 1), 3000, 2, 150);
        emco.pause(1000);
        emco.send("\n", 3000, 1);
        ASSERT_TRUE(finish(*p, 5000));
        EXPECT_EQ(p->exitCode(), 1);
        err += p->readAllStandardError();
        EXPECT_TRUE(err.contains("rejected: Diese Datei kann nicht gelesen werden")) << err.toStdString();
        EXPECT_EQ(bytesOf(dir.filePath("bad.raw")), text.left(text.size() - 1));
        EXPECT_FALSE(QFile::exists(dir.filePath("bad.cnc")));
    }
    // Interrupted after the last row, before the unit line: what arrived is
    // saved, and the exit code says it is incomplete.
    {
        PtyPair pty;
        REQUIRE_PTYS(pty);
        EmulatedMachine emco(pty.a());
        auto p = startCli({"receive", "--machine", "4", "--port", pty.b(), "-o", dir.filePath("part.cnc")});
        QByteArray err;
        ASSERT_TRUE(waitListening(*p, err));
        const Program program = decodeFile(data("mark4-welle.cnc"), MachineType::Mark4);
        const QByteArray full = sendText(program, MachineType::Mark4);
        // Everything but the unit line (6 characters) and the 10 NULs.
        const QByteArray text = full.left(full.size() - 16);
        emco.send(text, 3000, 8);
        ASSERT_TRUE(waitFor([&] { return emco.sendsDone(); }, 3000));
        spin(200);
        ::kill(pid_t(p->processId()), SIGINT);
        ASSERT_TRUE(finish(*p, 5000));
        err += p->readAllStandardError();
        EXPECT_EQ(p->exitCode(), 3) << err.toStdString();
        EXPECT_TRUE(err.contains("receive: the program is incomplete (no unit line arrived)")) << err.toStdString();
        EXPECT_EQ(decodeFile(dir.filePath("part.cnc"), MachineType::Mark4).rows.size(), program.rows.size());
    }
}

TEST(CliLink, ReceiveRefusesAnUnwritableFileBeforeOpeningThePort)
{
    PtyPair pty;
    REQUIRE_PTYS(pty);
    QTemporaryDir dir;
    const QString inMissingFolder = dir.filePath("gone/out.cnc");
    struct Case {
        QStringList files;
        QString message;
    } cases[] = {
        {{"-o", inMissingFolder},
         "quillon-cli: cannot write " + inMissingFolder + ": the folder " + dir.filePath("gone") + " does not exist\n"},
        {{"-o", dir.filePath("ok.cnc"), "--raw", dir.path()},
         "quillon-cli: cannot write " + dir.path() + ": it is a folder\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files.join(' ').toStdString());
        // No machine would ever be asked to send: the command ends at once.
        auto p = startCli(QStringList{"receive", "--machine", "4", "--port", pty.b()} + c.files);
        ASSERT_TRUE(finish(*p, 5000));
        EXPECT_EQ(p->exitCode(), 2);
        EXPECT_EQ(QString::fromUtf8(p->readAllStandardError()), c.message);
        EXPECT_FALSE(QFile::exists(dir.filePath("ok.cnc")));
    }
}

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

// A receiver started on one end of `pty`, with what it wrote to standard error.
struct Receiver {
    std::unique_ptr<QProcess> process;
    QByteArray err;

    Receiver(const PtyPair& pty, const QStringList& args) : process(startCli(QStringList{"receive", "--port", pty.b()} + args)) {}
    // Until it says it is listening (its port is open).
    bool listening()
    {
        return waitFor([&] {
                   err += process->readAllStandardError();
                   return err.contains("waiting for the machine") || process->state() == QProcess::NotRunning;
               }, 10000)
               && process->state() == QProcess::Running;
    }
    bool finish(bool interrupt = false)
    {
        if (interrupt)
            ::kill(pid_t(process->processId()), SIGINT);
        // From the event loop: the emulated machine at the far end runs there too.
        const bool ended = waitFor([&] { return process->state() == QProcess::NotRunning; }, 15000);
        err += process->readAllStandardError();
        return ended;
    }
};

}  // namespace

TEST(CliLink, SendIntoReceiveReproducesTheRows)
{
    struct Run {
        const char* file;
        const char* machineArg;
        MachineType machine;
        std::unique_ptr<PtyPair> pty = std::make_unique<PtyPair>();
        std::unique_ptr<Receiver> receiver = {};
        std::unique_ptr<QProcess> sender = {};
    } runs[] = {{"mark4-welle.cnc", "mk4", MachineType::Mark4}, {"f1-tasche.cnc", "f1", MachineType::F1}, {"mark2-welle.cnc", "mk2", MachineType::Mark2}};
    QTemporaryDir dir;
    // All three at once: a reception may end by the 5 s silence.
    for (Run& run : runs) {
        REQUIRE_PTYS(*run.pty);
        run.receiver = std::make_unique<Receiver>(*run.pty, QStringList{"--machine", run.machineArg, "-o", dir.filePath(run.machineArg + QString(".cnc"))});
        ASSERT_TRUE(run.receiver->listening()) << run.receiver->err.toStdString();
    }
    for (Run& run : runs)
        run.sender = startCli({"send", "--machine", run.machineArg, "--port", run.pty->a(), data(run.file)});
    for (Run& run : runs) {
        SCOPED_TRACE(run.file);
        ASSERT_TRUE(run.sender->state() == QProcess::NotRunning || run.sender->waitForFinished(15000));
        ASSERT_TRUE(run.receiver->finish());
        const QByteArray sendErr = run.sender->readAllStandardError();
        EXPECT_EQ(run.sender->exitCode(), 0) << sendErr.toStdString();
        EXPECT_EQ(run.receiver->process->exitCode(), 0) << run.receiver->err.toStdString();
        // The wire carries no description and no comments; everything else
        // comes back as it was, and is saved as Save would save it.
        Program expected = decodeFile(data(run.file), run.machine);
        expected.description.clear();
        for (ProgramRow& row : expected.rows)
            row.setColumn(machineProfile(run.machine).columns.comment, QString());
        const Program received = decodeFile(dir.filePath(run.machineArg + QString(".cnc")), run.machine);
        EXPECT_EQ(received, expected);
        EXPECT_EQ(bytesOf(dir.filePath(run.machineArg + QString(".cnc"))), *programFileBytes(received, run.machine));
    }
}

TEST(CliLink, SendFailures)
{
    PtyPair pty;
    REQUIRE_PTYS(pty);
    const QString missing = pty.a() + "-gone";
    CliRun r = cli({"send", "--machine", "4", "--port", missing, data("mark4-welle.cnc")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("Com Port " + missing.toUtf8() + " ist nicht verf\xc3\xbcgbar")) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains('\r')) << "a terminal ends its lines in LF";
    // A file for another machine is rejected before the port is touched.
    EmulatedMachine emco(pty.b());
    r = cli({"send", "--machine", "1", "--port", pty.a(), data("mark4-welle.cnc")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("rejected"));
    spin(100);
    EXPECT_TRUE(emco.heard().isEmpty());
    EXPECT_EQ(cli({"send", "--machine", "4", data("mark4-welle.cnc")}).exitCode, 2);
}

TEST(CliLink, ReceiveFailuresStillKeepTheRawBytes)
{
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(name); };
    // A Mark 4 transmission received as a mill program is rejected; the bytes are kept.
    {
        PtyPair pty;
        REQUIRE_PTYS(pty);
        EmulatedMachine emco(pty.a());
        Receiver receiver(pty, {"--machine", "1", "-o", path("bad.cnc"), "--raw", path("bad.raw")});
        ASSERT_TRUE(receiver.listening());
        // Line by line with a gap, as the machine sends: a loaded receiver
        // would otherwise take several lines in one read.
        const QByteArray lines[] = {QByteArray(100, '\0') + "%\r\n", "    N` G`   X `    Z `  F`  H \r\n", "   M\r"};
        for (const QByteArray& line : lines) {
            emco.send(line, 3000, 2);
            emco.pause(150);
        }
        emco.pause(1000);
        emco.send("\n", 3000, 1);
        ASSERT_TRUE(receiver.finish());
        EXPECT_EQ(receiver.process->exitCode(), 1);
        EXPECT_TRUE(receiver.err.contains("rejected: Diese Datei kann nicht gelesen werden")) << receiver.err.toStdString();
        EXPECT_EQ(bytesOf(path("bad.raw")), lines[0] + lines[1] + lines[2]);
        EXPECT_FALSE(QFile::exists(path("bad.cnc")));
    }
    // Interrupted after the last row, before the unit line: what arrived is
    // saved, and the exit code says it is incomplete.
    {
        PtyPair pty;
        REQUIRE_PTYS(pty);
        EmulatedMachine emco(pty.a());
        Receiver receiver(pty, {"--machine", "4", "-o", path("part.cnc")});
        ASSERT_TRUE(receiver.listening());
        const Program program = decodeFile(data("mark4-welle.cnc"), MachineType::Mark4);
        const QByteArray full = sendText(program, MachineType::Mark4);
        emco.send(full.left(full.size() - 16), 3000, 8);  // all but the unit line (6 characters) and the 10 NULs
        ASSERT_TRUE(waitFor([&] { return emco.sendsDone(); }, 3000));
        spin(200);
        ASSERT_TRUE(receiver.finish(true));
        EXPECT_EQ(receiver.process->exitCode(), 3) << receiver.err.toStdString();
        EXPECT_TRUE(receiver.err.contains("receive: the program is incomplete (no unit line arrived)")) << receiver.err.toStdString();
        EXPECT_EQ(decodeFile(path("part.cnc"), MachineType::Mark4).rows.size(), program.rows.size());
    }
    // A file that cannot be written is refused before the port is opened: no
    // machine would ever be asked to send, the command ends at once.
    PtyPair pty;
    REQUIRE_PTYS(pty);
    Receiver receiver(pty, {"--machine", "4", "-o", path("ok.cnc"), "--raw", dir.path()});
    ASSERT_TRUE(receiver.finish());
    EXPECT_EQ(receiver.process->exitCode(), 2);
    EXPECT_EQ(QString::fromUtf8(receiver.err), "quillon-cli: cannot write " + dir.path() + ": it is a folder\n");
    EXPECT_FALSE(QFile::exists(path("ok.cnc")));
}

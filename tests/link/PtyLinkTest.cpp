// Sending and receiving over real pseudo-terminals, with an emulated machine
// at the far end.
#include "LinkTestSupport.h"

#include "link/QtSerialTransport.h"
#include "link/ReceiveJob.h"
#include "link/ReceivedProgram.h"
#include "link/SendJob.h"
#include "link/SendText.h"

#include "QtPrinters.h"
#include "export/ProgramBuilder.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;
using quillon::testing::ProgramBuilder;

namespace {

using Outcomes = std::vector<TransferOutcome>;

QByteArray sampleText(MachineType machine, int rows, Units units = Units::Metric)
{
    ProgramBuilder p(machine, units, QStringLiteral("Beschreibung"));
    for (int i = 0; i < rows; ++i)
        p.row(i % 2 ? "G01" : "G00", {.x = 1000 + i, .y = 50, .z = -300, .f = 100, .comment = QStringLiteral("Kommentar %1").arg(i)});
    return sendText(p.program, machine);
}

// The real port on one end of a pseudo-terminal pair, the machine on the other.
struct PtyLine {
    PtyPair pty;
    EmulatedMachine emco{pty.b()};
    QtSerialTransport port;
    RecordingObserver observer;
    std::string reports() const { return observer.reports.join('|').toStdString(); }
};

#define REQUIRE_LINE(line) \
    REQUIRE_PTYS((line).pty); \
    ASSERT_TRUE((line).emco.ok())

}  // namespace

TEST(PtyLink, SendsTheExactBytesForEachMachine)
{
    for (MachineType machine : {MachineType::F1, MachineType::Mark2, MachineType::Mark4}) {
        SCOPED_TRACE(machineNumber(machine));
        PtyLine line;
        REQUIRE_LINE(line);
        line.emco.setReadPace(3000);
        const QByteArray expected = sampleText(machine, 6, machine == MachineType::Mark4 ? Units::Imperial : Units::Metric);
        SendJob job(line.port, line.pty.a(), expected, line.observer);
        job.start();
        ASSERT_TRUE(waitFor([&] { return line.observer.done(); }, 5000));
        EXPECT_EQ(line.observer.outcomes, Outcomes{TransferOutcome::Completed});
        EXPECT_FALSE(line.port.isOpen());
        EXPECT_TRUE(waitFor([&] { return line.emco.heard() == expected; }, 3000)) << line.emco.heard().toStdString();
    }
}

// Noise as the driver would hand it over: 8 bits, some with parity errors
// marked as 0xFF 0x00 and the byte. The reception keeps every byte, tells
// no message and ends by silence; no machine takes it for a program.
TEST(PtyLink, NoiseEndsBySilenceWithNothingLostAndNoMessage)
{
    PtyLine line;
    REQUIRE_LINE(line);
    ReceiveJob job(line.port, line.pty.a(), line.observer);
    job.setSilenceLimit(600);
    job.start();
    QRandomGenerator rng(302);
    QByteArray sent;
    while (sent.size() < 3000) {
        const char b = char(rng.bounded(256));
        sent += rng.bounded(4) == 0 ? QByteArray("\xFF\x00", 2) + b : QByteArray(1, b);
    }
    sent.replace("   M", "   m").replace("   \"", "   '");  // no unit line hides in the noise
    line.emco.send(sent, 20000, 7);
    ASSERT_TRUE(waitFor([&] { return line.observer.done(); }, 15000));
    spin(100);
    EXPECT_TRUE(line.observer.reports.isEmpty()) << line.reports();
    EXPECT_EQ(line.observer.outcomes, Outcomes{TransferOutcome::Silence});
    EXPECT_EQ(job.received(), sent);
    for (const MachineType machine : {MachineType::F1, MachineType::Mark2, MachineType::Mark4}) {
        const ReceivedProgram r = decodeReceived(job.received(), machine, Units::Metric);
        EXPECT_FALSE(r.empty || r.accepted());
    }
}

// (A port that does not exist: the command-line send reports it.)
TEST(PtyLink, ABusyPortAndAPortFreedByCancel)
{
    PtyPair pty;
    REQUIRE_PTYS(pty);
    QtSerialTransport holderPort, busyPort;
    RecordingObserver holder, busy;
    // A reception waiting for its first character holds the port; another
    // transfer is told it is in use, without a group to join.
    ReceiveJob waiting(holderPort, pty.a(), holder);
    waiting.start();
    spin(300);
    ReceiveJob second(busyPort, pty.a(), busy);
    second.start();
    ASSERT_EQ(busy.reports.size(), 1);
    EXPECT_TRUE(busy.reports[0].endsWith("Die Schnittstelle " + pty.a() + " wird von einem anderen Programm benutzt.")) << busy.reports[0].toStdString();
    EXPECT_EQ(busy.outcomes, Outcomes{TransferOutcome::PortError});
    // Cancelled, it frees the port at once, with an empty program.
    waiting.cancel();
    EXPECT_FALSE(holderPort.isOpen());
    EXPECT_TRUE(decodeReceived(waiting.received(), MachineType::F1, Units::Metric).empty);
}

// What arrived before the machine went away is kept; the report names the
// lost connection, not a read problem.
TEST(PtyLink, PeerVanishesWhileReceiving)
{
    PtyLine line;
    REQUIRE_LINE(line);
    ReceiveJob job(line.port, line.pty.a(), line.observer);
    job.start();
    const QByteArray text = sampleText(MachineType::F1, 8);
    const qsizetype part = text.indexOf("\r\n    04") + 2;  // header and four whole rows
    line.emco.send(text.left(part), 3000, 5);
    ASSERT_TRUE(waitFor([&] { return job.received().size() >= part; }, 3000));
    line.pty.cut();
    ASSERT_TRUE(waitFor([&] { return line.observer.done(); }, 3000));
    spin(100);
    ASSERT_EQ(line.observer.reports.size(), 1);
    EXPECT_TRUE(line.observer.reports[0].endsWith("Die Verbindung zur Schnittstelle " + line.pty.a() + " wurde unterbrochen.")) << line.reports();
    EXPECT_EQ(job.received(), text.left(part));
}


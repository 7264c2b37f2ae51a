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

#include <QElapsedTimer>
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
        EXPECT_TRUE(line.observer.reports.isEmpty()) << line.reports();
        EXPECT_EQ(line.observer.outcomes, Outcomes{TransferOutcome::Completed});
        EXPECT_FALSE(line.port.isOpen());
        EXPECT_TRUE(waitFor([&] { return line.emco.heard() == expected; }, 3000)) << line.emco.heard().toStdString();
    }
}

// Noise as the driver would hand it over: 7 or 8 bits, or with parity errors
// marked as 0xFF 0x00 and the byte. The reception keeps the event loop
// turning, keeps every byte, tells no message and ends by silence; no
// machine takes it for a program.
TEST(PtyLink, NoiseEndsBySilenceWithNothingLostAndNoMessage)
{
    for (const int kind : {0, 1, 2}) {
        SCOPED_TRACE(kind);
        PtyLine line;
        REQUIRE_LINE(line);
        ReceiveJob job(line.port, line.pty.a(), line.observer);
        job.setSilenceLimit(600);
        job.start();
        QRandomGenerator rng(300 + quint32(kind));
        QByteArray sent;
        while (sent.size() < 3000) {
            const char b = char(rng.bounded(256));
            sent += kind == 0 ? QByteArray(1, char(b & 0x7F)) : kind == 2 && rng.bounded(4) == 0 ? QByteArray("\xFF\x00", 2) + b : QByteArray(1, b);
        }
        sent.replace("   M", "   m").replace("   \"", "   '");  // no unit line hides in the noise
        // The longest time the event loop went without running a 10 ms timer.
        QTimer ticker;
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QObject::connect(&ticker, &QTimer::timeout, [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        sinceTick.start();
        ticker.start(10);
        line.emco.send(sent, 20000, 7);
        ASSERT_TRUE(waitFor([&] { return line.observer.done(); }, 15000));
        spin(100);
        EXPECT_TRUE(line.observer.reports.isEmpty()) << line.reports();
        EXPECT_LT(longestGap, 1000) << "the event loop stalled";
        EXPECT_EQ(line.observer.outcomes, Outcomes{TransferOutcome::Silence});
        EXPECT_FALSE(line.port.isOpen());
        EXPECT_EQ(job.received(), sent);
        for (const MachineType machine : {MachineType::F1, MachineType::Mark2, MachineType::Mark4}) {
            const ReceivedProgram r = decodeReceived(job.received(), machine, Units::Metric);
            EXPECT_FALSE(r.empty || r.accepted());
        }
    }
}

TEST(PtyLink, PortsThatCannotBeOpenedAndAPortFreedByCancel)
{
    PtyPair pty;
    REQUIRE_PTYS(pty);
    QtSerialTransport missingPort, holderPort, busyPort;
    RecordingObserver missing, holder, busy, again;
    SendJob send(missingPort, pty.a() + "-missing", "x", missing);
    send.start();
    ASSERT_EQ(missing.reports.size(), 1);
    EXPECT_TRUE(missing.reports[0].endsWith("Invalid Port Number")) << missing.reports[0].toStdString();
    EXPECT_EQ(missing.outcomes, Outcomes{TransferOutcome::PortError});
    // A reception waiting for its first character holds the port; another
    // transfer is told it is in use, without a group to join.
    ReceiveJob waiting(holderPort, pty.a(), holder);
    waiting.start();
    spin(300);
    EXPECT_TRUE(waiting.isRunning());
    ReceiveJob second(busyPort, pty.a(), busy);
    second.start();
    ASSERT_EQ(busy.reports.size(), 1);
    EXPECT_TRUE(busy.reports[0].endsWith("Die Schnittstelle " + pty.a() + " wird von einem anderen Programm benutzt.")) << busy.reports[0].toStdString();
    EXPECT_FALSE(busy.reports[0].contains("Gruppe"));
    EXPECT_EQ(busy.outcomes, Outcomes{TransferOutcome::PortError});
    EXPECT_FALSE(busyPort.isOpen());
    // Cancelled, it frees the port at once, with an empty program.
    waiting.cancel();
    EXPECT_EQ(holder.outcomes, Outcomes{TransferOutcome::Cancelled});
    EXPECT_FALSE(holderPort.isOpen());
    EXPECT_TRUE(decodeReceived(waiting.received(), MachineType::F1, Units::Metric).empty);
    ReceiveJob third(holderPort, pty.a(), again);
    third.start();
    EXPECT_TRUE(holderPort.isOpen());
    third.cancel();
}

// What arrived before the machine went away is kept and decodes.
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
    EXPECT_EQ(line.observer.reports.size(), 1);
    EXPECT_EQ(line.observer.outcomes, Outcomes{TransferOutcome::PortError});
    EXPECT_FALSE(line.port.isOpen());
    EXPECT_EQ(job.received(), text.left(part));
    const ReceivedProgram received = decodeReceived(job.received(), MachineType::F1, Units::Metric);
    ASSERT_TRUE(received.accepted());
    EXPECT_EQ(received.decoded.program.rows.size(), 4u);
}

TEST(PtyLink, PeerVanishesWhileSending)
{
    PtyLine line;
    REQUIRE_LINE(line);
    line.emco.setReadPace(2000);
    const QByteArray text = sampleText(MachineType::Mark4, 210);
    SendJob job(line.port, line.pty.a(), text, line.observer);
    job.start();
    ASSERT_TRUE(waitFor([&] { return line.emco.heard().size() >= 600; }, 3000));
    spin(50);
    ASSERT_TRUE(job.isRunning());
    line.pty.cut();
    ASSERT_TRUE(waitFor([&] { return line.observer.done(); }, 3000));
    spin(200);
    // Told once, as the lost connection it is, not as a read problem.
    ASSERT_EQ(line.observer.reports.size(), 1);
    EXPECT_TRUE(line.observer.reports[0].endsWith("Die Verbindung zur Schnittstelle " + line.pty.a() + " wurde unterbrochen.")) << line.reports();
    EXPECT_EQ(line.observer.outcomes, Outcomes{TransferOutcome::PortError});
    EXPECT_FALSE(line.port.isOpen());
    EXPECT_LT(job.handedOver(), text.size());
}

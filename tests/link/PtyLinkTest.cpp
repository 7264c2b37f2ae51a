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

// The longest time the event loop went without running a 10 ms timer.
struct LoopWatch {
    QTimer ticker;
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    LoopWatch()
    {
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout, [this] { longestGap = std::max(longestGap, sinceTick.restart()); });
        sinceTick.start();
        ticker.start();
    }
};

}  // namespace

TEST(PtyLink, SendsTheExactBytesForEachMachine)
{
    for (MachineType machine : {MachineType::F1, MachineType::Mark2, MachineType::Mark4}) {
        SCOPED_TRACE(machineNumber(machine));
        PtyPair pty;
        REQUIRE_PTYS(pty);
        EmulatedMachine emco(pty.b());
        ASSERT_TRUE(emco.ok());
        emco.setReadPace(3000);
        const QByteArray expected = sampleText(machine, 6, machine == MachineType::Mark4 ? Units::Imperial : Units::Metric);
        QtSerialTransport port;
        RecordingObserver observer;
        SendJob job(port, pty.a(), expected, observer);
        job.start();
        ASSERT_TRUE(waitFor([&] { return observer.done(); }, 5000));
        EXPECT_EQ(observer.outcomes, Outcomes{TransferOutcome::Completed});
        EXPECT_TRUE(observer.reports.isEmpty()) << observer.reports.join("|").toStdString();
        EXPECT_FALSE(port.isOpen());
        ASSERT_TRUE(emco.waitHeard(expected.size(), 3000));
        EXPECT_EQ(emco.heard(), expected);
    }
}

// Noise as the driver would hand it over: 7 or 8 bits, or with parity errors
// marked as 0xFF 0x00 and the byte. The reception keeps the event loop
// turning, keeps what arrived, tells no message and ends by silence; no
// machine takes it for a program.
TEST(PtyLink, NoiseEndsBySilenceWithNothingLostAndNoMessage)
{
    for (const int kind : {0, 1, 2}) {
        SCOPED_TRACE(kind);
        PtyPair pty;
        REQUIRE_PTYS(pty);
        EmulatedMachine emco(pty.b());
        ASSERT_TRUE(emco.ok());
        QtSerialTransport port;
        RecordingObserver observer;
        ReceiveJob job(port, pty.a(), observer);
        job.setSilenceLimit(600);
        job.start();
        ASSERT_TRUE(port.isOpen());

        QRandomGenerator rng(300 + quint32(kind));
        QByteArray sent;
        while (sent.size() < 3000) {
            const char b = char(rng.bounded(256));
            sent += kind == 0 ? QByteArray(1, char(b & 0x7F)) : kind == 2 && rng.bounded(4) == 0 ? QByteArray("\xFF\x00", 2) + b : QByteArray(1, b);
        }
        // No unit line hides in the noise, so only silence ends it.
        sent.replace("   M", "   m").replace("   \"", "   '");
        LoopWatch watch;
        emco.send(sent, 20000, 7);
        ASSERT_TRUE(waitFor([&] { return observer.done(); }, 15000));
        spin(100);
        EXPECT_LT(watch.longestGap, 1000) << "the event loop stalled";
        EXPECT_TRUE(observer.reports.isEmpty()) << observer.reports.join(QStringLiteral("|")).toStdString();
        EXPECT_EQ(observer.outcomes, Outcomes{TransferOutcome::Silence});
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(job.received(), sent);
        for (const MachineType machine : {MachineType::F1, MachineType::Mark2, MachineType::Mark4}) {
            const ReceivedProgram r = decodeReceived(job.received(), machine, Units::Metric);
            EXPECT_FALSE(r.empty);
            EXPECT_FALSE(r.accepted());
        }
    }
}

TEST(PtyLink, PortsThatCannotBeOpenedAndAPortFreedByCancel)
{
    PtyPair pty;
    REQUIRE_PTYS(pty);
    const QString missing = pty.a() + QStringLiteral("-missing");
    {
        QtSerialTransport port;
        RecordingObserver observer;
        SendJob job(port, missing, "x", observer);
        job.start();
        ASSERT_EQ(observer.reports.size(), 1);
        EXPECT_TRUE(observer.reports[0].endsWith("Invalid Port Number")) << observer.reports[0].toStdString();
        EXPECT_EQ(observer.outcomes, Outcomes{TransferOutcome::PortError});
    }
    // A reception waiting for its first character holds the port; another
    // transfer is told it is in use, without a group to join.
    QtSerialTransport holderPort;
    RecordingObserver holder;
    ReceiveJob waiting(holderPort, pty.a(), holder);
    waiting.start();
    spin(300);
    EXPECT_TRUE(waiting.isRunning());
    {
        QtSerialTransport port;
        RecordingObserver observer;
        ReceiveJob job(port, pty.a(), observer);
        job.start();
        ASSERT_EQ(observer.reports.size(), 1);
        EXPECT_TRUE(observer.reports[0].endsWith("Die Schnittstelle " + pty.a() + " wird von einem anderen Programm benutzt."))
            << observer.reports[0].toStdString();
        EXPECT_FALSE(observer.reports[0].contains("Gruppe"));
        EXPECT_EQ(observer.outcomes, Outcomes{TransferOutcome::PortError});
        EXPECT_FALSE(port.isOpen());
    }
    // Cancelled, it frees the port at once, with an empty program.
    waiting.cancel();
    EXPECT_EQ(holder.outcomes, Outcomes{TransferOutcome::Cancelled});
    EXPECT_FALSE(holderPort.isOpen());
    EXPECT_TRUE(decodeReceived(waiting.received(), MachineType::F1, Units::Metric).empty);
    RecordingObserver again;
    ReceiveJob second(holderPort, pty.a(), again);
    second.start();
    EXPECT_TRUE(holderPort.isOpen());
    second.cancel();
}

TEST(PtyLink, PeerVanishesWhileReceiving)
{
    PtyPair pty;
    REQUIRE_PTYS(pty);
    EmulatedMachine emco(pty.b());
    ASSERT_TRUE(emco.ok());
    QtSerialTransport port;
    RecordingObserver observer;
    ReceiveJob job(port, pty.a(), observer);
    job.start();
    const QByteArray text = sampleText(MachineType::F1, 8);
    const qsizetype part = text.indexOf("\r\n    04") + 2;  // header and four whole rows
    emco.send(text.left(part), 3000, 5);
    ASSERT_TRUE(waitFor([&] { return job.received().size() >= part; }, 3000));
    pty.cut();
    ASSERT_TRUE(waitFor([&] { return observer.done(); }, 3000));
    spin(100);
    EXPECT_EQ(observer.reports.size(), 1);
    EXPECT_EQ(observer.outcomes, Outcomes{TransferOutcome::PortError});
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(job.received(), text.left(part));
    const ReceivedProgram received = decodeReceived(job.received(), MachineType::F1, Units::Metric);
    ASSERT_TRUE(received.accepted());
    EXPECT_EQ(received.decoded.program.rows.size(), 4u);
}

TEST(PtyLink, PeerVanishesWhileSending)
{
    PtyPair pty;
    REQUIRE_PTYS(pty);
    EmulatedMachine emco(pty.b());
    ASSERT_TRUE(emco.ok());
    emco.setReadPace(2000);
    const QByteArray text = sampleText(MachineType::Mark4, 210);
    QtSerialTransport port;
    RecordingObserver observer;
    SendJob job(port, pty.a(), text, observer);
    job.start();
    ASSERT_TRUE(waitFor([&] { return emco.heard().size() >= 600; }, 3000));
    spin(50);
    ASSERT_TRUE(job.isRunning());
    pty.cut();
    ASSERT_TRUE(waitFor([&] { return observer.done(); }, 3000));
    spin(200);
    ASSERT_EQ(observer.reports.size(), 1);
    // Told as the lost connection it is, not as a read problem.
    EXPECT_TRUE(observer.reports[0].endsWith("Die Verbindung zur Schnittstelle " + pty.a() + " wurde unterbrochen."))
        << observer.reports[0].toStdString();
    EXPECT_EQ(observer.outcomes, Outcomes{TransferOutcome::PortError});
    EXPECT_FALSE(port.isOpen());
    EXPECT_LT(job.handedOver(), text.size());
}

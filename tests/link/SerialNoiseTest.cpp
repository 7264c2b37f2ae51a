// A line that carries noise instead of a program, or loses its peer in the
// middle of one: the reception keeps the event loop turning, keeps what
// arrived, and tells at most one message.
#include "EmulatedMachine.h"
#include "LinkTestSupport.h"
#include "PtyPair.h"

#include "link/QtSerialTransport.h"
#include "link/ReceiveJob.h"
#include "link/ReceivedProgram.h"
#include "link/SendText.h"

#include "QtPrinters.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

// The longest time the event loop went without running a 10 ms timer while
// `condition` was awaited.
struct LoopWatch {
    QTimer ticker;
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    LoopWatch()
    {
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout, [this] {
            longestGap = std::max(longestGap, sinceTick.restart());
        });
        sinceTick.start();
        ticker.start();
    }
};

enum class Noise { SevenBit, EightBit, ParityMarks };

// Noise as the driver would hand it over. A parity error is marked by the
// driver as 0xFF 0x00 and the byte (and a real 0xFF doubled), so those
// sequences are what a receiver meets.
QByteArray noise(Noise kind, int size, quint32 seed)
{
    QRandomGenerator rng(seed);
    QByteArray bytes;
    while (bytes.size() < size) {
        const char b = char(rng.bounded(256));
        switch (kind) {
        case Noise::SevenBit: bytes += char(b & 0x7F); break;
        case Noise::EightBit: bytes += b; break;
        case Noise::ParityMarks:
            if (rng.bounded(4) == 0)
                bytes += QByteArray("\xFF\x00", 2) + b;
            else
                bytes += b;
            break;
        }
    }
    // No unit line hides in the noise, so only silence or a cut ends it.
    bytes.replace("   M", "   m");
    bytes.replace("   \"", "   '");
    return bytes;
}

}  // namespace

TEST(SerialNoise, NoiseEndsBySilenceWithNothingLostAndNoMessage)
{
    for (const Noise kind : {Noise::SevenBit, Noise::EightBit, Noise::ParityMarks}) {
        SCOPED_TRACE(int(kind));
        PtyPair pty;
        if (!pty.ok())
            GTEST_SKIP() << pty.why().toStdString();
        EmulatedMachine emco(pty.b());
        ASSERT_TRUE(emco.ok());

        QtSerialTransport port;
        RecordingObserver observer;
        ReceiveJob job(port, pty.a(), observer);
        job.setSilenceLimit(600);
        job.start();
        ASSERT_TRUE(port.isOpen());

        const QByteArray sent = noise(kind, 3000, 300 + quint32(kind));
        LoopWatch watch;
        emco.send(sent, 20000, 7);
        ASSERT_TRUE(waitFor([&] { return observer.done(); }, 15000));
        spin(100);

        EXPECT_LT(watch.longestGap, 1000) << "the event loop stalled";
        EXPECT_TRUE(observer.reports.isEmpty()) << observer.reports.join(QStringLiteral("|")).toStdString();
        EXPECT_EQ(observer.outcomes, std::vector<TransferOutcome>{TransferOutcome::Silence});
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(job.received(), sent);

        // No machine takes noise for a program, and deciding so is quick.
        for (const MachineType machine : {MachineType::F1, MachineType::Mark2, MachineType::Mark4}) {
            const ReceivedProgram r = decodeReceived(job.received(), machine, Units::Metric);
            EXPECT_FALSE(r.empty);
            EXPECT_FALSE(r.accepted());
        }
    }
}

TEST(SerialNoise, PeerClosingInTheMiddleOfNoiseGivesOneMessage)
{
    PtyPair pty;
    if (!pty.ok())
        GTEST_SKIP() << pty.why().toStdString();
    EmulatedMachine emco(pty.b());
    ASSERT_TRUE(emco.ok());

    QtSerialTransport port;
    RecordingObserver observer;
    ReceiveJob job(port, pty.a(), observer);
    job.start();

    // Half a program, then noise, then the peer is gone.
    const QByteArray half = sendText(Program{}, MachineType::Mark4).left(20);
    const QByteArray sent = half + noise(Noise::ParityMarks, 400, 77);
    LoopWatch watch;
    emco.send(sent, 20000, 5);
    ASSERT_TRUE(waitFor([&] { return job.received().size() >= sent.size(); }, 5000));
    pty.cut();
    ASSERT_TRUE(waitFor([&] { return observer.done(); }, 3000));
    spin(300);

    EXPECT_LT(watch.longestGap, 1000) << "the event loop stalled";
    EXPECT_EQ(observer.reports.size(), 1);
    EXPECT_EQ(observer.outcomes, std::vector<TransferOutcome>{TransferOutcome::PortError});
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(job.received(), sent);
}

// Send and receive jobs against the fake port: the ordering rules that a
// real line cannot show reliably.
#include "FakeTransport.h"
#include "LinkTestSupport.h"

#include "link/ReceiveJob.h"
#include "link/ReceivedProgram.h"
#include "link/SendJob.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

QByteArray textOf(int size)
{
    QByteArray text;
    for (int i = 0; i < size; ++i)
        text += char('A' + i % 26);
    return text;
}

// Fast ticks: 15 characters every 5 ms.
const SendJob::Timing kFast{5, 15, 1};
using Outcomes = std::vector<TransferOutcome>;

struct Sending {
    FakeTransport port;
    RecordingObserver observer;
    SendJob job;
    Sending(const QByteArray& text, const QString& comPort = "1") : job(port, comPort, text, observer, kFast) { port.autoDrain = false; }
};

struct Receiving {
    FakeTransport port;
    RecordingObserver observer;
    ReceiveJob job{port, "1", observer};
};

}  // namespace

TEST(SendJob, CompletionFollowsTheLineNotTheEstimate)
{
    const QByteArray text = textOf(100);
    Sending s(text, "2");
    s.port.holdDrain = true;
    s.job.start();
    // Far more ticks than the estimate needs: the job waits for the line, the bar below 100.
    EXPECT_TRUE(waitFor([&] { return s.job.percent() == 99; }, 2000));
    spin(30);
    EXPECT_EQ(s.port.written, text.left(32));
    // Each chunk goes only once the one before has left.
    s.port.drain(31);
    spin(20);
    EXPECT_EQ(s.port.written.size(), 32);
    for (const int next : {64, 96, 100}) {
        s.port.drain(next == 64 ? 1 : 32);
        ASSERT_TRUE(waitFor([&] { return s.port.written.size() == next; }, 1000));
    }
    s.port.drain(4);
    // The driver's queue is empty, the transmitter not yet: the port stays
    // open under its 300-baud settings and the bar below 100.
    ASSERT_TRUE(waitFor([&] { return s.port.calls.endsWith("drain"); }, 1000));
    spin(20);
    EXPECT_TRUE(s.job.isRunning() && s.port.isOpen());
    EXPECT_EQ(s.observer.percents.back(), 99);
    s.port.releaseDrain();
    ASSERT_TRUE(waitFor([&] { return s.observer.done(); }, 1000));
    // A finished transfer leaves the driver its last bytes: closed, not aborted.
    EXPECT_EQ(s.port.calls, QStringList({"open", "write", "write", "write", "write", "drain", "close"}));
    EXPECT_EQ(s.port.written, text);
    EXPECT_EQ(s.observer.outcomes, Outcomes{TransferOutcome::Completed});
    // 100 only at the very end, and never going back.
    EXPECT_EQ(s.observer.percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(s.observer.percents.begin(), s.observer.percents.end()));
}

TEST(SendJob, CancelStopsBeforeTheNextChunkAndClosesAtOnce)
{
    Sending s(textOf(200));
    s.job.start();
    s.port.drain(32);
    ASSERT_TRUE(waitFor([&] { return s.port.written.size() == 64; }, 1000));
    // The second chunk is still queued when the user cancels.
    s.job.cancel();
    EXPECT_FALSE(s.port.isOpen());
    EXPECT_EQ(s.port.droppedOnClose, 32);
    spin(30);
    EXPECT_EQ(s.port.written.size(), 64);
    EXPECT_EQ(s.port.writesWhileClosed, 0);
}

TEST(SendJob, APortFailingMidwayIsReportedOnce)
{
    Sending s(textOf(200), "/dev/ttyUSB0");
    // One report however often the port complains, even while the report box
    // runs the event loop; the port is closed and no chunk follows.
    s.observer.onReport = [&] {
        s.port.fail(PortError::Write);
        spin(40);
    };
    s.job.start();
    s.port.drain(32);
    ASSERT_TRUE(waitFor([&] { return s.port.written.size() == 64; }, 1000));
    s.port.drain(32);
    s.port.fail(PortError::ResourceGone);
    s.port.fail(PortError::Write);
    spin(30);
    ASSERT_EQ(s.observer.reports.size(), 1);
    EXPECT_TRUE(s.observer.reports[0].startsWith("Com Port /dev/ttyUSB0 ist nicht"));
    EXPECT_EQ(s.observer.outcomes, Outcomes{TransferOutcome::PortError});
    EXPECT_EQ(s.port.written.size(), 64);
    EXPECT_EQ(s.port.writesWhileClosed, 0);
}

TEST(ReceiveJob, EndsOnTheCrAfterTheUnitLine)
{
    Receiving r;
    r.job.start();
    const QByteArray text = QByteArray(20, '\0') + "%\r\n    N` G`   X `    Z `  F`  H \r\n    00 01  1250-   500 100  50\r\n   M\r";
    for (qsizetype i = 0; i < text.size(); i += 3) {
        ASSERT_TRUE(r.job.isRunning()) << "ended early at " << i;
        r.port.feed(text.mid(i, 3));
    }
    // The LF after the CR is not waited for.
    EXPECT_EQ(r.observer.outcomes, Outcomes{TransferOutcome::Completed});
    EXPECT_EQ(r.job.received(), text);
}

TEST(ReceiveJob, SilenceEndsAReceptionThatHasBegun)
{
    // Silence counts only after the first character (the user walks to the
    // machine to start sending), and from the latest one.
    Receiving mark2;
    mark2.job.setSilenceLimit(400);
    mark2.job.start();
    spin(600);
    EXPECT_TRUE(mark2.job.isRunning()) << "no limit before the first character";
    // A Mark 2 unit line has no blanks in front and does not end reception.
    mark2.port.feed("%\r\n   N00 G00 X    0 Z     0 F  0\r\n");
    spin(250);
    mark2.port.feed("M\r\n");
    spin(250);
    EXPECT_TRUE(mark2.job.isRunning()) << "each character restarts the limit";
    ASSERT_TRUE(waitFor([&] { return mark2.observer.done(); }, 2000));
    EXPECT_EQ(mark2.observer.outcomes, Outcomes{TransferOutcome::Silence});
    EXPECT_EQ(decodeReceived(mark2.job.received(), MachineType::Mark2, Units::Imperial).decoded.program.units, Units::Metric);
}

// Sending and receiving over real pseudo-terminals, with an emulated
// machine at the far end.
#include "EmulatedMachine.h"
#include "LinkTestSupport.h"
#include "PtyPair.h"

#include "link/QtSerialTransport.h"
#include "link/ReceiveJob.h"
#include "link/ReceivedProgram.h"
#include "link/SendJob.h"
#include "link/SendText.h"
#include "model/MachineProfile.h"

#include "QtPrinters.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

ProgramRow row(MachineType machine, int number, const QString& g, const QString& x, const QString& z)
{
    const ColumnNumbers& c = machineProfile(machine).columns;
    ProgramRow r;
    r.setColumn(c.mark, QStringLiteral(" "));
    r.setColumn(c.n, QStringLiteral("%1").arg(number, 3, 10, QLatin1Char(' ')).replace(QStringLiteral("  "), QStringLiteral(" 0")));
    r.setColumn(c.g, g);
    r.setColumn(c.x, x);
    if (c.y)
        r.setColumn(c.y, QStringLiteral("   50"));
    r.setColumn(c.z, z);
    r.setColumn(c.f, QStringLiteral(" 100"));
    if (c.h)
        r.setColumn(c.h, QStringLiteral("    "));
    r.setColumn(c.comment, QStringLiteral("Kommentar %1").arg(number));
    return r;
}

Program sampleProgram(MachineType machine, int rows)
{
    Program p;
    p.description = QStringLiteral("Beschreibung");
    const QString z = machine == MachineType::F1 ? QStringLiteral("  -300") : QStringLiteral("   -300");
    for (int i = 0; i < rows; ++i)
        p.rows.push_back(row(machine, i, i % 2 ? QStringLiteral(" 01") : QStringLiteral(" 00"),
                             QStringLiteral("  %1").arg(1000 + i), z));
    return p;
}

#define REQUIRE_PTYS(pair) \
    if (!(pair).ok())      \
    GTEST_SKIP() << (pair).why().toStdString()

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

        Program program = sampleProgram(machine, 6);
        program.units = machine == MachineType::Mark4 ? Units::Imperial : Units::Metric;
        const QByteArray expected = sendText(program, machine);

        QtSerialTransport port;
        RecordingObserver observer;
        SendJob job(port, pty.a(), expected, observer);
        job.start();
        ASSERT_TRUE(waitFor([&] { return observer.done(); }, 5000));
        EXPECT_EQ(observer.outcomes, std::vector<TransferOutcome>{TransferOutcome::Completed});
        EXPECT_TRUE(observer.reports.isEmpty()) << observer.reports.join("|").toStdString();
        EXPECT_FALSE(port.isOpen());
        ASSERT_TRUE(emco.waitHeard(expected.size(), 3000));
        EXPECT_EQ(emco.heard(), expected);
    }
}

TEST(PtyLink, ReceptionEndsOnTheCrAfterTheUnitLine)
{
    PtyPair pty;
    REQUIRE_PTYS(pty);
    EmulatedMachine emco(pty.b());
    ASSERT_TRUE(emco.ok());

    QtSerialTransport port;
    RecordingObserver observer;
    ReceiveJob job(port, pty.a(), observer);
    job.start();
    ASSERT_TRUE(port.isOpen());

    const Program program = sampleProgram(MachineType::Mark4, 4);
    // The machine's own transmission: the send frame, a few characters at a time.
    const QByteArray full = sendText(program, MachineType::Mark4);
    const qsizetype cr = full.lastIndexOf("   M\r\n") + 4;
    const QByteArray upToCr = full.left(cr + 1);
    // At 300 baud a line takes a second; the gaps stand in for that, so that
    // even a loaded test machine reads each line on its own.
    emco.sendLines(upToCr, 1500, 3, 150);
    emco.pause(3000);
    emco.send(full.mid(cr + 1), 1500, 3);

    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(waitFor([&] { return observer.done(); }, 8000));
    EXPECT_EQ(observer.outcomes, std::vector<TransferOutcome>{TransferOutcome::Completed});
    // Ended on the CR: the LF that follows 3 s later was not waited for.
    EXPECT_EQ(job.received(), upToCr);
    EXPECT_LT(clock.elapsed(), 2900);
    EXPECT_EQ(observer.displays.back(), "   M\r");
    EXPECT_GT(observer.displays.size(), 20);
    EXPECT_FALSE(port.isOpen());

    const ReceivedProgram received = decodeReceived(job.received(), MachineType::Mark4, Units::Imperial);
    ASSERT_TRUE(received.accepted());
    Program expected = program;
    expected.description.clear();
    for (ProgramRow& r : expected.rows)
        r.setColumn(machineProfile(MachineType::Mark4).columns.comment, QString());
    EXPECT_EQ(received.decoded.program, expected);
}

TEST(PtyLink, ReceptionEndsBySilence)
{
    PtyPair pty;
    REQUIRE_PTYS(pty);
    EmulatedMachine emco(pty.b());
    ASSERT_TRUE(emco.ok());

    QtSerialTransport port;
    RecordingObserver observer;
    ReceiveJob job(port, pty.a(), observer);  // the real 5 s limit
    job.start();
    // A Mark 2 transmission: its unit line "M" has no blanks in front, so
    // only the silence ends it.
    const QByteArray text = sendText(sampleProgram(MachineType::Mark2, 3), MachineType::Mark2);
    emco.send(text, 3000, 4);

    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(waitFor([&] { return emco.sendsDone(); }, 3000));
    const qint64 lastSent = clock.elapsed();
    ASSERT_TRUE(waitFor([&] { return observer.done(); }, 8000));
    const qint64 ended = clock.elapsed();
    EXPECT_EQ(observer.outcomes, std::vector<TransferOutcome>{TransferOutcome::Silence});
    EXPECT_GE(ended - lastSent, 4900);
    EXPECT_LT(ended - lastSent, 6500);
    EXPECT_EQ(job.received(), text);

    const ReceivedProgram received = decodeReceived(job.received(), MachineType::Mark2, Units::Imperial);
    ASSERT_TRUE(received.accepted());
    EXPECT_EQ(received.decoded.program.rows.size(), 3u);
    EXPECT_EQ(received.decoded.program.units, Units::Metric);
}

TEST(PtyLink, CancelWhileWaitingForTheFirstCharacter)
{
    PtyPair pty;
    REQUIRE_PTYS(pty);
    QtSerialTransport port;
    RecordingObserver observer;
    ReceiveJob job(port, pty.a(), observer);
    job.start();
    spin(300);
    EXPECT_TRUE(job.isRunning());
    job.cancel();
    EXPECT_EQ(observer.outcomes, std::vector<TransferOutcome>{TransferOutcome::Cancelled});
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(decodeReceived(job.received(), MachineType::F1, Units::Metric).empty);

    // The port is free again at once.
    RecordingObserver again;
    ReceiveJob second(port, pty.a(), again);
    second.start();
    EXPECT_TRUE(port.isOpen());
    second.cancel();
}

TEST(PtyLink, PortsThatCannotBeOpened)
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
        EXPECT_EQ(observer.reports[0],
                  "Com Port " + missing + " ist nicht verfügbar\r\n"
                  "Bitte prüfen Sie das die Schnittstelle nicht belegt ist.\r\n"
                  "Wählen Sie bei Bedarf eine andere Schnittstelle aus\r\n"
                  "Das berichtete Problem ist:\r\n"
                  "Invalid Port Number");
        EXPECT_EQ(observer.outcomes, std::vector<TransferOutcome>{TransferOutcome::PortError});
    }
    {
        // A port another transfer holds.
        QtSerialTransport holder;
        ASSERT_TRUE(holder.open(pty.a()));
        QtSerialTransport port;
        RecordingObserver observer;
        ReceiveJob job(port, pty.a(), observer);
        job.start();
        ASSERT_EQ(observer.reports.size(), 1);
        EXPECT_TRUE(observer.reports[0].endsWith("Die Schnittstelle " + pty.a()
                                                 + " wird von einem anderen Programm benutzt."))
            << observer.reports[0].toStdString();
        EXPECT_FALSE(observer.reports[0].contains("Gruppe"));
        EXPECT_EQ(observer.outcomes, std::vector<TransferOutcome>{TransferOutcome::PortError});
        EXPECT_FALSE(port.isOpen());
    }
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

    const QByteArray text = sendText(sampleProgram(MachineType::F1, 8), MachineType::F1);
    const qsizetype part = text.indexOf("\r\n    04") + 2;  // header and four whole rows
    emco.send(text.left(part), 3000, 5);
    ASSERT_TRUE(waitFor([&] { return job.received().size() >= part; }, 3000));
    pty.cut();
    ASSERT_TRUE(waitFor([&] { return observer.done(); }, 3000));
    spin(100);
    EXPECT_EQ(observer.reports.size(), 1);
    EXPECT_EQ(observer.outcomes, std::vector<TransferOutcome>{TransferOutcome::PortError});
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

    const QByteArray text = sendText(sampleProgram(MachineType::Mark4, 210), MachineType::Mark4);
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
    EXPECT_EQ(observer.outcomes, std::vector<TransferOutcome>{TransferOutcome::PortError});
    EXPECT_FALSE(port.isOpen());
    EXPECT_LT(job.handedOver(), text.size());
}

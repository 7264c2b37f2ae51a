// The receive end detection fed by arbitrary chunks and port failures: the
// reception keeps every byte that arrived while it ran, ends at most once,
// reports a port failure at most once, and what it keeps decodes without
// fault.
#include "FuzzChecks.h"
#include "FuzzTransport.h"

#include "files/Cp1252.h"
#include "link/ReceiveDisplay.h"
#include "link/ReceiveJob.h"
#include "link/ReceivedProgram.h"

#include <QCoreApplication>

namespace quillon::fuzz {

namespace {

struct CountingObserver : TransferObserver {
    int displays = 0;
    int reports = 0;
    int finishes = 0;
    TransferOutcome outcome = TransferOutcome::Running;
    void receivedTextChanged(const QString&) override { ++displays; }
    void portFailed(const QString&) override { ++reports; }
    void finished(TransferOutcome o) override
    {
        ++finishes;
        outcome = o;
    }
};

// The receiver's silence timer needs an application object.
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "fuzz_receive";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

}  // namespace

std::string checkReceive(const QByteArray& input, CheckRun)
{
    ensureApplication();
    FuzzTransport port;
    CountingObserver observer;
    ReceiveJob job(port, QStringLiteral("COM1"), observer);
    job.start();
    if (!job.isRunning() || port.opens != 1)
        return "reception did not start on an open port";

    // The input is a script: a byte from 0xF8 up is an event (0xF8 a port
    // failure, 0xF9 Cancel); any other byte b announces a chunk of
    // (b & 0x3F) + 1 bytes that arrive at once.
    qsizetype i = 0;
    QByteArray whileRunning;
    while (i < input.size()) {
        const unsigned char b = static_cast<unsigned char>(input[i++]);
        const bool wasRunning = job.isRunning();
        if (b == 0xF8) {
            port.failWith(PortError::ResourceGone);
        } else if (b == 0xF9) {
            job.cancel();
        } else if (b > 0xF9) {
            port.failWith(PortError::Read);
        } else {
            const QByteArray chunk = input.mid(i, (b & 0x3F) + 1);
            i += chunk.size();
            if (wasRunning)
                whileRunning += chunk;
            port.arrive(chunk);
        }
        if (job.isRunning() && !port.isOpen())
            return "port closed under a running reception";
        if (!job.isRunning() && port.isOpen())
            return "port left open after the reception ended";
    }

    if (observer.finishes > 1)
        return "the end was told more than once";
    if (observer.reports > 1)
        return "more than one port report";
    if (observer.reports == 1 && observer.outcome != TransferOutcome::PortError)
        return "a port report without the port-error end";
    if (job.isRunning() != (observer.finishes == 0))
        return "running state and end notice disagree";
    if (!job.isRunning() && observer.outcome != job.outcome())
        return "the told outcome differs from the job's";

    // Nothing lost, nothing invented: what the job keeps is what it read,
    // and it read everything that arrived while it ran.
    if (job.received() != port.handedOut)
        return "received bytes differ from the bytes read";
    if (job.received() != whileRunning.left(job.received().size()))
        return "received bytes are not what arrived";
    if (job.isRunning() && job.received() != whileRunning)
        return "a running reception left arrived bytes unread";

    // The display is the tail of the text, and the unit line at its start
    // is exactly what ends a reception as complete.
    const QString text = decodeCp1252(job.received());
    if (!text.endsWith(job.display()))
        return "display is not the tail of the received text";
    const bool unitLine = displayStartsWithUnitLine(job.display());
    if (job.outcome() == TransferOutcome::Completed && !unitLine)
        return "completed without a unit line";
    if (job.isRunning() && unitLine)
        return "a unit line did not end the reception";

    for (MachineType machine : {MachineType::Mark2, MachineType::Mark4, MachineType::F1}) {
        const ReceivedProgram r = decodeReceived(job.received(), machine, Units::Metric);
        if (r.empty != job.received().isEmpty())
            return "an empty reception is not told apart";
    }
    return std::string();
}

}  // namespace quillon::fuzz

#include "CliCommands.h"
#include "CliContext.h"
#include "CliInterrupt.h"

#include "files/ProgramFile.h"
#include "link/QtSerialTransport.h"
#include "link/ReceiveJob.h"
#include "link/ReceivedProgram.h"

#include <QEventLoop>
#include <QSaveFile>

namespace quillon::cli {

namespace {

class ReceiveWatcher : public TransferObserver {
public:
    QEventLoop loop;
    TransferOutcome outcome = TransferOutcome::Running;

    void portFailed(const QString& report) override { CliContext::err(report + QLatin1Char('\n')); }
    void finished(TransferOutcome how) override
    {
        outcome = how;
        loop.quit();
    }
};

const char* outcomeText(TransferOutcome outcome)
{
    switch (outcome) {
    case TransferOutcome::Completed: return "unit line received";
    case TransferOutcome::Silence: return "5 s of silence";
    case TransferOutcome::Cancelled: return "interrupted";
    case TransferOutcome::PortError: return "port error";
    case TransferOutcome::Running: break;
    }
    return "";
}

bool writeRaw(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace

int runReceiveCommand(CliContext& context)
{
    QString error;
    const std::optional<MachineType> machine = context.machine(&error);
    if (!machine)
        return CliContext::usageError(error);
    const std::optional<QString> port = context.takeOption(QStringLiteral("--port"), &error);
    const std::optional<QString> output = context.takeOption(QStringLiteral("-o"), &error);
    const std::optional<QString> raw = context.takeOption(QStringLiteral("--raw"), &error);
    if (!error.isEmpty())
        return CliContext::usageError(error);
    if (!port || port->trimmed().isEmpty())
        return CliContext::usageError(QStringLiteral("receive needs --port DEV"));
    if (!output || output->isEmpty())
        return CliContext::usageError(QStringLiteral("receive needs -o FILE"));
    const std::optional<QStringList> rest = context.positionals(&error);
    if (!rest)
        return CliContext::usageError(error);
    if (!rest->isEmpty())
        return CliContext::usageError(QStringLiteral("receive takes no FILE argument (use -o FILE)"));

    ReceiveWatcher watcher;
    QtSerialTransport transport;
    ReceiveJob job(transport, *port, watcher);
    CliInterrupt interrupt([&job] { job.cancel(); });
    job.start();
    if (watcher.outcome == TransferOutcome::Running) {
        CliContext::err(QStringLiteral("receive: waiting for the machine on %1 (Ctrl+C ends)\n").arg(*port));
        watcher.loop.exec();
    }

    const QByteArray& bytes = job.received();
    CliContext::err(QStringLiteral("receive: %1 bytes, ended by %2\n")
                        .arg(bytes.size())
                        .arg(QLatin1String(outcomeText(watcher.outcome))));
    int exitCode = kExitOk;
    if (raw && !writeRaw(*raw, bytes)) {
        CliContext::err(QStringLiteral("cannot write %1\n").arg(*raw));
        exitCode = kExitFailed;
    }

    const ReceivedProgram received = decodeReceived(bytes, *machine, context.unitsSetting());
    if (received.empty) {
        CliContext::err(QStringLiteral("receive: nothing arrived\n"));
        return kExitFailed;
    }
    if (!received.accepted()) {
        CliContext::err(QStringLiteral("receive: rejected: %1\n").arg(received.decoded.message));
        return kExitFailed;
    }
    const SaveResult saved = SaveFile(*output, received.decoded.program, *machine);
    if (!saved.ok) {
        CliContext::err(saved.message + QLatin1Char('\n'));
        return kExitFailed;
    }
    CliContext::out(QStringLiteral("%1: %2 rows, %3\n")
                        .arg(*output)
                        .arg(received.decoded.program.rows.size())
                        .arg(received.decoded.program.units == Units::Imperial ? QStringLiteral("imperial")
                                                                               : QStringLiteral("metric")));
    return exitCode;
}

}  // namespace quillon::cli

#include "CliCommands.h"
#include "CliContext.h"
#include "CliInterrupt.h"

#include "files/ProgramFile.h"
#include "link/QtSerialTransport.h"
#include "link/ReceiveJob.h"
#include "link/ReceivedProgram.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace quillon::cli {

namespace {

class ReceiveWatcher : public TransferObserver {
public:
    QEventLoop loop;
    TransferOutcome outcome = TransferOutcome::Running;

    // The report is written for a message box; a terminal ends lines in LF.
    void portFailed(const QString& report) override
    {
        CliContext::err(QString(report).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + QLatin1Char('\n'));
    }
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

// Why `path` cannot be saved to (a new file or one replaced through a
// temporary file in its folder, as Save does), or "" when it can. Asked
// before the port opens: the machine sends a program only once.
QString unwritableReason(const QString& path)
{
    const QFileInfo file(path);
    if (file.isDir())
        return QStringLiteral("it is a folder");
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("the folder %1 does not exist").arg(folder.filePath());
    const QByteArray folderPath = QFile::encodeName(folder.filePath());
    if (::access(folderPath.constData(), W_OK | X_OK) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    if (file.exists() && ::access(QFile::encodeName(path).constData(), W_OK) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return QString();
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
    for (const std::optional<QString>& target : {output, raw}) {
        if (!target)
            continue;
        const QString reason = unwritableReason(*target);
        if (!reason.isEmpty())
            return CliContext::usageError(QStringLiteral("cannot write %1: %2").arg(*target, reason));
    }

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
    // Whatever ended the reception, the program is whole once its unit line
    // is in (a Mark 2 unit line, or lines that came in one piece, are only
    // ended by the silence).
    if (!received.decoded.unitsSeen && exitCode == kExitOk) {
        CliContext::err(QStringLiteral("receive: the program is incomplete (no unit line arrived); "
                                       "%1 holds only what arrived\n")
                            .arg(*output));
        return kExitIncomplete;
    }
    return exitCode;
}

}  // namespace quillon::cli

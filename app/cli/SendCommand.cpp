#include "CliCommands.h"
#include "CliContext.h"
#include "CliInterrupt.h"

#include "link/QtSerialTransport.h"
#include "link/SendJob.h"
#include "link/SendText.h"

#include <QEventLoop>

namespace quillon::cli {

namespace {

// Progress on standard error: the estimate and the share sent, rewritten in
// place.
class SendProgress : public TransferObserver {
public:
    explicit SendProgress(QString estimate)
        : m_estimate(std::move(estimate))
    {
    }

    QEventLoop loop;
    TransferOutcome outcome = TransferOutcome::Running;

    void progressChanged(int percent) override
    {
        CliContext::err(QStringLiteral("\r%1  %2 %").arg(m_estimate).arg(percent, 3));
        m_shown = true;
    }
    void portFailed(const QString& report) override
    {
        lineBreak();
        CliContext::err(QString(report).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + QLatin1Char('\n'));
    }
    void finished(TransferOutcome how) override
    {
        lineBreak();
        outcome = how;
        loop.quit();
    }

private:
    void lineBreak()
    {
        if (m_shown)
            CliContext::err(QStringLiteral("\n"));
        m_shown = false;
    }

    QString m_estimate;
    bool m_shown = false;
};

}  // namespace

int runSendCommand(CliContext& context)
{
    QString error;
    const std::optional<QString> port = context.takeOption(QStringLiteral("--port"), &error);
    if (!error.isEmpty())
        return CliContext::usageError(error);
    if (!port || port->trimmed().isEmpty())
        return CliContext::usageError(QStringLiteral("send needs --port DEV"));
    int exitCode = kExitOk;
    const std::optional<CliContext::OneProgram> loaded = context.takeOneProgram(QStringLiteral("send"), &exitCode);
    if (!loaded)
        return exitCode;

    const Program& program = loaded->program;
    SendProgress progress(strSendEstimate(int(program.rows.size())));
    QtSerialTransport transport;
    SendJob job(transport, *port, sendText(program, loaded->machine), progress);
    CliInterrupt interrupt([&job] { job.cancel(); });
    job.start();
    if (progress.outcome == TransferOutcome::Running)
        progress.loop.exec();

    switch (progress.outcome) {
    case TransferOutcome::Completed: return kExitOk;
    case TransferOutcome::Cancelled: CliContext::err(QStringLiteral("send: cancelled\n")); return kExitFailed;
    default: return kExitFailed;
    }
}

}  // namespace quillon::cli

#include "ErrorReport.h"

#include "AppIdentity.h"
#include "Logger.h"
#include "MessageSink.h"

#include <QFile>
#include <cstdio>
#include <cstdlib>

namespace quillon {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

void endProcess()
{
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}

QString reportBody(const QString& text, const QString& location)
{
    return kCrLf + kCrLf + QStringLiteral("Error:\t") + text + kCrLf + QStringLiteral("Location:\t") + location + kCrLf;
}

}  // namespace

QString errorText(long errorNumber, const QString& description)
{
    if (errorNumber == 0)
        return description;
    return QString::number(errorNumber) + QStringLiteral(" : ") + description;
}

QString errorReportMessage(const QString& module, const QString& procedure, long errorNumber,
                           const QString& description, const QString& extraLine)
{
    QString message = QStringLiteral("An error has occurred in ") + applicationTitle()
                      + reportBody(errorText(errorNumber, description), module + QStringLiteral(" / ") + procedure);
    if (!extraLine.isEmpty())
        message += extraLine + kCrLf;
    return message;
}

QString startupFailureMessage(long errorNumber, const QString& description)
{
    return QStringLiteral("Cannot start ") + applicationTitle()
           + reportBody(errorText(errorNumber, description), QStringLiteral("modQuillon / Main"));
}

QString logCopyName(const QString& logFile, const QDateTime& time)
{
    return logFile.chopped(std::min<qsizetype>(4, logFile.size())) + time.toString(QStringLiteral("yyyyMMddHHmmss"))
           + QStringLiteral(".log");
}

ErrorReport::ErrorReport(Logger& logger)
    : logger_(logger)
    , terminate_(endProcess)
{
}

void ErrorReport::setTerminate(Terminate terminate)
{
    terminate_ = terminate ? std::move(terminate) : Terminate(endProcess);
}

void ErrorReport::LogError(const QString& module, const QString& procedure, long errorNumber,
                           const QString& description)
{
    // A second error while the first is reported (in the recovery hook, or
    // from a timer while the box is open) is left to the report under way,
    // which ends the process when the user has read it.
    if (reporting_)
        return;
    reporting_ = true;

    QString extraLine;
    try {
        const QString log = logger_.logFileName();
        if (QFile::exists(log)) {
            const QString copy = logCopyName(log, logger_.now());
            QFile::remove(copy);
            QFile::copy(log, copy);
        }
        if (recovery_)
            extraLine = recovery_();
    } catch (...) {
        // The report goes on without the copy or the recovery line.
    }

    const QString message = errorReportMessage(module, procedure, errorNumber, description, extraLine);
    try {
        if (sink_)
            sink_->intStdMsgBox(message, MsgStyle::Critical, applicationTitleWithVersion());
        else
            std::fprintf(stderr, "%s\n", qPrintable(message));
    } catch (...) {
    }

    terminate_();
    reporting_ = false;
}

}  // namespace quillon

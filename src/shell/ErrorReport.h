#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

namespace quillon {

class Logger;
class MessageSink;

// "4711 : description", or the description alone for error number 0.
QString errorText(long errorNumber, const QString& description);

// The report's message: "An error has occurred in Quillon CNC Editor", the
// error and its location, each line ended by CR LF; `extraLine`, when not
// empty, is one more line at the end (the recovery file, for example).
QString errorReportMessage(const QString& module, const QString& procedure, long errorNumber,
                           const QString& description, const QString& extraLine = QString());

// The message when start-up fails before the error report is ready
// ("Cannot start Quillon CNC Editor", located in modQuillon / Main).
QString startupFailureMessage(long errorNumber, const QString& description);

// Where the error report keeps the log: the log's name without ".log",
// the time as YYYYMMDDHHMMSS and ".log".
QString logCopyName(const QString& logFile, const QDateTime& time);

// The end point of every error trap: keeps a time-stamped copy of the log,
// gives the recovery hook its chance, shows the report (critical icon, OK)
// and ends the process. Its own failures never stop it from ending.
class ErrorReport {
public:
    // Ends the process. The default ends it at once with exit code 1.
    using Terminate = std::function<void()>;
    // Saves what can still be saved (the program being edited) and returns
    // one line for the report naming where it went, or an empty text.
    using RecoveryHook = std::function<QString()>;

    explicit ErrorReport(Logger& logger);

    void setMessageSink(MessageSink* sink) { sink_ = sink; }
    void setTerminate(Terminate terminate);
    void setRecoveryHook(RecoveryHook hook) { recovery_ = std::move(hook); }

    // Does not return in a real run; returns only after an injected
    // Terminate that does. An error reported while a report is being made
    // (from the recovery hook or while the box is open) returns at once: the
    // report under way ends the process.
    void LogError(const QString& module, const QString& procedure, long errorNumber, const QString& description);

private:
    Logger& logger_;
    MessageSink* sink_ = nullptr;
    Terminate terminate_;
    RecoveryHook recovery_;
    bool reporting_ = false;
};

}  // namespace quillon

#pragma once

#include "model/Trace.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

namespace quillon {

enum class LogLevel : int {
    Error = 1,  // "*", switched by LogErrors (default "True")
    Enter = 2,  // ">", switched by LogTrace
    Leave = 3,  // "<", switched by LogTrace
    Info = 4,   // " ", switched by LogInfo
};

// Looks up a log switch by name; nullopt when it is not set.
using LogEnvironment = std::function<std::optional<QString>(const QString& name)>;
using LogClock = std::function<QDateTime()>;

// The process environment (LogErrors, LogTrace, LogInfo, LogExclude) and the
// local wall clock: what a real run uses.
std::optional<QString> processEnvironment(const QString& name);
QDateTime systemClock();

// The trace log. Each entry is one line appended to the log file:
//   date and time, elapsed milliseconds (8 digits) and module, padded to 45
//   columns; one blank per nesting depth; the level's mark, a blank and the
//   procedure, padded to 100 columns; a blank and the text.
// Writing never fails visibly: an entry that cannot be written is lost.
class Logger : public TraceSink {
public:
    static constexpr const char* kDefaultExclusions = "*_MouseMove,*_Timer,*UUDecodeChar,*UUEncodeChar";

    explicit Logger(QString logFilePath, LogEnvironment environment = processEnvironment,
                    LogClock clock = systemClock);

    // Reads the switches and the exclusion list, starts the elapsed time.
    // Runs by itself on the first entry; later calls do nothing.
    void LogInit();

    // Whether an entry of this procedure and level would be written.
    bool blnLogWanted(const QString& procedure, LogLevel level);

    void LogEntry(const QString& module, const QString& procedure, LogLevel level, const QString& text = QString());

    // TraceSink: enter and leave entries, only built while tracing is on.
    bool tracing() override;
    void traceEnter(const char* module, const char* procedure) override;
    void traceLeave(const char* module, const char* procedure) override;

    const QString& logFileName() const { return logFile_; }
    QDateTime now() const;
    int depth() const { return depth_; }
    bool isInitialised() const { return initialised_; }
    bool isEnabled(LogLevel level) const;
    const QStringList& exclusions() const { return exclusions_; }

private:
    struct Level {
        bool enabled = false;
        QChar mark;
    };

    QString logFile_;
    LogEnvironment environment_;
    LogClock clock_;
    bool initialised_ = false;
    bool busy_ = false;
    QDateTime start_;
    int depth_ = 0;
    std::array<Level, 5> levels_{};  // indexed 1 to 4
    QStringList exclusions_;
};

}  // namespace quillon

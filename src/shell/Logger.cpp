#include "Logger.h"

#include "WildcardMatch.h"
#include "files/Cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quillon {

std::optional<QString> processEnvironment(const QString& name)
{
    const QByteArray key = name.toLatin1();
    if (!qEnvironmentVariableIsSet(key.constData()))
        return std::nullopt;
    return qEnvironmentVariable(key.constData());
}

QDateTime systemClock()
{
    return QDateTime::currentDateTime();
}

Logger::Logger(QString logFilePath, LogEnvironment environment, LogClock clock)
    : logFile_(std::move(logFilePath))
    , environment_(environment ? std::move(environment) : LogEnvironment(processEnvironment))
    , clock_(clock ? std::move(clock) : LogClock(systemClock))
{
}

QDateTime Logger::now() const
{
    return clock_();
}

void Logger::LogInit()
{
    if (initialised_ || busy_)
        return;
    busy_ = true;
    exclusions_.clear();
    depth_ = 0;
    start_ = now();

    const auto read = [this](const char* name, const char* fallback) {
        const std::optional<QString> v = environment_(QString::fromLatin1(name));
        return v ? *v : QString::fromLatin1(fallback);
    };
    // Exactly "True" switches a level on; any other spelling leaves it off.
    const QString on = QStringLiteral("True");
    const bool trace = read("LogTrace", "False") == on;
    levels_[1] = {read("LogErrors", "True") == on, QLatin1Char('*')};
    levels_[2] = {trace, QLatin1Char('>')};
    levels_[3] = {trace, QLatin1Char('<')};
    levels_[4] = {read("LogInfo", "False") == on, QLatin1Char(' ')};

    const QString extra = read("LogExclude", "");
    const QString defaults = QString::fromLatin1(kDefaultExclusions);
    const QString patterns = extra.isEmpty() ? defaults : extra + QLatin1Char(',') + defaults;
    for (const QString& piece : patterns.split(QLatin1Char(',')))
        exclusions_.append(piece.trimmed().toUpper());

    initialised_ = true;
    busy_ = false;
}

bool Logger::isEnabled(LogLevel level) const
{
    const int n = static_cast<int>(level);
    return n >= 1 && n <= 4 && levels_[n].enabled;
}

bool Logger::blnLogWanted(const QString& procedure, LogLevel level)
{
    LogInit();
    if (!isEnabled(level))
        return false;
    if (level != LogLevel::Enter && level != LogLevel::Leave)
        return true;
    const QString name = procedure.toUpper();
    for (const QString& pattern : exclusions_)
        if (blnLikeMatch(name, pattern))
            return false;
    return true;
}

bool Logger::tracing()
{
    if (busy_)
        return false;
    LogInit();
    return isEnabled(LogLevel::Enter);
}

void Logger::traceEnter(const char* module, const char* procedure)
{
    LogEntry(QString::fromLatin1(module), QString::fromLatin1(procedure), LogLevel::Enter);
}

void Logger::traceLeave(const char* module, const char* procedure)
{
    LogEntry(QString::fromLatin1(module), QString::fromLatin1(procedure), LogLevel::Leave);
}

void Logger::LogEntry(const QString& module, const QString& procedure, LogLevel level, const QString& text)
{
    if (busy_)
        return;
    LogInit();
    if (!blnLogWanted(procedure, level))
        return;

    const QDateTime time = now();
    // Measured from the start time itself rather than from midnight, so the
    // count keeps rising when a run passes midnight.
    const qint64 elapsed = std::max<qint64>(0, start_.msecsTo(time));
    QString line = time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QLatin1Char(' ')
                   + QStringLiteral("%1").arg(elapsed, 8, 10, QLatin1Char('0')) + QLatin1Char(' ') + module;
    if (line.size() < 45)
        line = line.leftJustified(45);

    if (level == LogLevel::Leave)
        depth_ = std::max(0, depth_ - 1);
    line += QString(depth_, QLatin1Char(' '));
    if (level == LogLevel::Enter)
        ++depth_;

    line += levels_[static_cast<int>(level)].mark + QLatin1Char(' ') + procedure;
    if (line.size() < 100)
        line = line.leftJustified(100);
    line += QLatin1Char(' ') + text + QStringLiteral("\r\n");

    QFile file(logFile_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        // The settings folder that may hold the log is made on first use.
        if (!QDir().mkpath(QFileInfo(logFile_).absolutePath()) || !file.open(QIODevice::WriteOnly | QIODevice::Append))
            return;
    }
    file.write(encodeCp1252(line).bytes);
}

}  // namespace quillon

#pragma once

#include "Logger.h"

namespace quillon {

// Writes the enter entry of a procedure now and its leave entry when the
// scope ends, also when it ends by an exception. A null logger writes nothing.
class TraceScope {
public:
    TraceScope(Logger* logger, const char* module, const char* procedure)
        : logger_(logger)
        , module_(QString::fromLatin1(module))
        , procedure_(QString::fromLatin1(procedure))
    {
        if (logger_)
            logger_->LogEntry(module_, procedure_, LogLevel::Enter);
    }
    TraceScope(Logger& logger, const char* module, const char* procedure)
        : TraceScope(&logger, module, procedure)
    {
    }
    ~TraceScope()
    {
        if (logger_)
            logger_->LogEntry(module_, procedure_, LogLevel::Leave);
    }

    TraceScope(const TraceScope&) = delete;
    TraceScope& operator=(const TraceScope&) = delete;

private:
    Logger* logger_;
    QString module_;
    QString procedure_;
};

}  // namespace quillon

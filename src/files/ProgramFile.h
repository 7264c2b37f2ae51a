#pragma once

#include "model/MachineType.h"
#include "model/Program.h"
#include "model/Trace.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace quillon {

inline constexpr const char* kSaveFailureTitle = "Speichere CNC Datei";

// The whole file as bytes, or nullopt (with the system's reason in `error`)
// when it cannot be read.
std::optional<QByteArray> readWholeFile(const QString& path, QString* error = nullptr);

// The exact bytes of a saved program: the program text, CR LF, Windows-1252.
// Fails (empty optional, reason in `problem`) when the program cannot be
// written so that it reads back the same.
std::optional<QByteArray> programFileBytes(const Program& program, MachineType machine,
                                           QString* problem = nullptr, TraceSink* trace = nullptr);

struct SaveResult {
    bool ok = false;
    QString message;  // the message to show when !ok
};

// Writes the program to `path` through a temporary file that replaces the
// old one only when complete, so a failure never destroys the previous file.
SaveResult SaveFile(const QString& path, const Program& program, MachineType machine,
                    TraceSink* trace = nullptr);

// The message for a file that could not be written.
QString saveFailureMessage(const QString& path);

}  // namespace quillon

#pragma once

#include "ConvertCode.h"

#include <QByteArray>
#include <QString>

namespace quillon {

// Where the export dialog opens when the settings hold no `Export` folder.
inline constexpr const char* kDefaultExportFolder = "c:\\spindra\\turndata\\";

// The folder to offer: `stored` when it exists, else "" (the dialog's own
// choice).
QString exportStartFolder(const QString& stored);

// The folder part of a chosen path, up to and including its last separator;
// stored as the `Export` setting for the next export.
QString exportFolderOf(const QString& path);

// True when the description of a program text (as strFileOutBuff writes it)
// holds a "%". The text cannot carry one: the description ends at the first
// "%", so the rest would be lost silently, and Save refuses it likewise.
bool descriptionHoldsPercent(const QString& programText);

// Writes the whole file through a temporary that replaces `path` only when
// complete; on failure an existing file keeps its old bytes and `message`
// says why.
bool writeExportFile(const QString& path, const QByteArray& bytes, QString* message);

// The whole export into `path`: the file appears (or replaces the old one)
// only when the conversion completed and the bytes were written. A write
// failure turns a Done result into Failed with its message; a "%" in the
// description fails before anything is asked.
ExportResult exportProgramFile(const QString& text, MachineType machine, const QString& path,
                               ExportQuestions& questions);

}  // namespace quillon

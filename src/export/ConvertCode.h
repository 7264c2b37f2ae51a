#pragma once

#include "ExportQuestions.h"
#include "ExportUnits.h"
#include "WalkStep.h"
#include "model/MachineType.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace quillon {

enum class ExportStatus {
    Done,       // `bytes` hold the whole file
    Cancelled,  // the billet question was cancelled; nothing to say
    NotLathe,   // the mill has nothing to export; `message` says so
    Failed,     // `message` says why; nothing is to be written
};

struct ExportResult {
    ExportStatus status = ExportStatus::Failed;
    QByteArray bytes;  // Windows-1252, CR LF line ends
    QString message;
};

// The simulator file for a lathe program text as strFileOutBuff writes it.
// The file is built in memory, so an export that does not complete leaves
// nothing to write. Every call starts from the same state.
ExportResult ConvertCode(const QString& text, MachineType machine, ExportQuestions& questions);

// The output of one walk step: zero, one or several lines joined by CR LF,
// the counter raised by 10 before each; "End" for a program end. A G row's
// comment follows the last line as " '" and the comment. nullopt when the
// tool question was cancelled.
std::optional<QString> strCommand(const WalkStep& step, int& counter, const ExportUnits& units,
                                  ExportQuestions& questions);

// Decimal commas before the first "'" become points; the comment after it
// keeps its commas.
QString applyCommaRule(const QString& text);

// The prompt of the billet question for the program's units.
QString billetPrompt(bool inch);
// The question of a tool change.
QString toolQuestion(const LineRecord& record);

}  // namespace quillon

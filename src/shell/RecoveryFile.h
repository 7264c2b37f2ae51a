#pragma once

#include "model/MachineType.h"
#include "model/Program.h"

#include <QDateTime>
#include <QString>

namespace quillon {

// <folder>/Quillon-recovery-YYYYMMDDHHMMSS.cnc
QString recoveryFilePath(const QString& folder, const QDateTime& time);

// Saves the program being edited when the error report is about to end the
// process, and returns the report's extra line naming the file (or saying
// that it could not be written). A program that could not be saved the
// normal way (a character the file cannot hold) is still written, with "?"
// in place of that character: a nearly complete copy beats none.
// Meant to be called from the error report's recovery hook.
QString saveRecoveryFile(const QString& folder, const QDateTime& time, const Program& program, MachineType machine);

}  // namespace quillon

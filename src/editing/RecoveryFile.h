#pragma once

#include "model/MachineType.h"
#include "model/Program.h"

#include <QDateTime>
#include <QString>

namespace quillon {

// "Quillon-recovery-YYYYMMDDHHMMSS.cnc" in the folder of the settings file.
QString recoveryFilePath(const QString& settingsFile, const QDateTime& time);

// Writes the program as it stands to the recovery file, so that the error
// report, which ends the process, does not take unsaved work with it. The
// text is written even when the program could not be saved normally (a
// character outside Windows-1252 becomes "?"), since something beats
// nothing here. Returns the report's extra line naming the file, or "" when
// there was nothing to save or the file could not be written.
QString SaveRecoveryFile(const Program& program, MachineType machine, const QString& settingsFile,
                         const QDateTime& time);

}  // namespace quillon

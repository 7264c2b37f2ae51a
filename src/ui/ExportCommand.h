#pragma once

#include "model/MachineType.h"

#include <QString>
#include <optional>

class QWidget;

namespace quillon {

class ExportDialogs;
class Settings;

// The file name for the export, offered in `startFolder`; "" on Cancel.
QString strFileOut(QWidget* parent, const QString& startFolder);

// The File menu's export of the program text (as strFileOutBuff writes it).
// `exportFolder` is the stored `Export` setting (kDefaultExportFolder when
// there is none). Returns the folder of the chosen file, for the caller to
// store as the new `Export` setting, or nullopt when no file was chosen.
// Every outcome is told to the user; the editor always goes on.
std::optional<QString> runExportCommand(QWidget* parent, ExportDialogs& dialogs, const QString& programText,
                                        MachineType machine, const QString& exportFolder);

// The same with the `Export` setting read from and stored in `settings`.
void runExportCommand(QWidget* parent, ExportDialogs& dialogs, const QString& programText, MachineType machine,
                      const Settings& settings);

// The export into a chosen file, with its messages. True when written.
bool exportToFile(QWidget* parent, ExportDialogs& dialogs, const QString& programText, MachineType machine,
                  const QString& path);

}  // namespace quillon

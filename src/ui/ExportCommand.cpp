#include "ExportCommand.h"

#include "ExportDialogs.h"
#include "export/ExportFile.h"
#include "export/ExportMessages.h"
#include "shell/Settings.h"

#include <QFileDialog>
#include <QMessageBox>

namespace quillon {

namespace {

void tell(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace

QString strFileOut(QWidget* parent, const QString& startFolder)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Export zu Spindra"), startFolder);
}

std::optional<QString> runExportCommand(QWidget* parent, ExportDialogs& dialogs, const QString& programText,
                                        MachineType machine, const QString& exportFolder)
{
    if (!isLathe(machine)) {
        tell(parent, QMessageBox::Warning, QString::fromLatin1(kExportMessageTitle), notLatheMessage());
        return std::nullopt;
    }
    // Refused before a file name is asked, as Save refuses it.
    if (descriptionHoldsPercent(programText)) {
        tell(parent, QMessageBox::Warning, QString::fromLatin1(kExportMessageTitle), percentInDescriptionMessage());
        return std::nullopt;
    }
    const QString path = strFileOut(parent, exportStartFolder(exportFolder));
    if (path.isEmpty())
        return std::nullopt;
    exportToFile(parent, dialogs, programText, machine, path);
    return exportFolderOf(path);
}

void runExportCommand(QWidget* parent, ExportDialogs& dialogs, const QString& programText, MachineType machine,
                      const Settings& settings)
{
    const std::optional<QString> folder =
        runExportCommand(parent, dialogs, programText, machine, settings.exportFolder());
    if (folder)
        settings.setValue(QString::fromLatin1(Settings::kExport), *folder);
}

bool exportToFile(QWidget* parent, ExportDialogs& dialogs, const QString& programText, MachineType machine,
                  const QString& path)
{
    const ExportResult result = exportProgramFile(programText, machine, path, dialogs);
    switch (result.status) {
    case ExportStatus::Done:
        tell(parent, QMessageBox::Information, QString::fromLatin1(kExportCompleteTitle),
             exportCompleteMessage(path));
        return true;
    case ExportStatus::Cancelled:
        return false;
    case ExportStatus::NotLathe:
    case ExportStatus::Failed:
        tell(parent, QMessageBox::Warning, QString::fromLatin1(kExportMessageTitle), result.message);
        return false;
    }
    return false;
}

}  // namespace quillon

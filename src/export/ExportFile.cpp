#include "ExportFile.h"

#include "ExportMessages.h"

#include <QDir>
#include <QSaveFile>

namespace quillon {

QString exportStartFolder(const QString& stored)
{
    if (stored.isEmpty() || !QDir(stored).exists())
        return QString();
    return stored;
}

QString exportFolderOf(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.left(cut + 1);
}

bool writeExportFile(const QString& path, const QByteArray& bytes, QString* message)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (message)
            *message = exportWriteFailedMessage(path, file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (message)
            *message = exportWriteFailedMessage(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

ExportResult exportProgramFile(const QString& text, MachineType machine, const QString& path,
                               ExportQuestions& questions)
{
    ExportResult result = ConvertCode(text, machine, questions);
    if (result.status != ExportStatus::Done)
        return result;
    QString message;
    if (!writeExportFile(path, result.bytes, &message)) {
        result.status = ExportStatus::Failed;
        result.message = message;
    }
    return result;
}

}  // namespace quillon

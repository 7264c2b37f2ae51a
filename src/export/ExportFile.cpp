#include "ExportFile.h"

#include "ExportMessages.h"

#include <QDir>
#include <QSaveFile>
#include <QStringList>

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

bool descriptionHoldsPercent(const QString& programText)
{
    // The writer's own "%" stands alone on its line, the last such line:
    // no row can be a bare "%". Everything before it is the description.
    const QStringList lines = programText.split(QStringLiteral("\r\n"));
    const qsizetype mark = lines.lastIndexOf(QStringLiteral("%"));
    for (qsizetype i = 0; i < mark; ++i)
        if (lines[i].contains(QLatin1Char('%')))
            return true;
    return false;
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
    if (isLathe(machine) && descriptionHoldsPercent(text)) {
        ExportResult refused;
        refused.status = ExportStatus::Failed;
        refused.message = percentInDescriptionMessage();
        return refused;
    }
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

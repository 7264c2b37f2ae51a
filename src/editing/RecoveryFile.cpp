#include "RecoveryFile.h"

#include "files/Cp1252.h"
#include "files/ProgramText.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace quillon {

QString recoveryFilePath(const QString& settingsFile, const QDateTime& time)
{
    const QString folder = QFileInfo(settingsFile).absolutePath();
    return QDir(folder).filePath(QStringLiteral("Quillon-recovery-")
                                 + time.toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral(".cnc"));
}

QString SaveRecoveryFile(const Program& program, MachineType machine, const QString& settingsFile,
                         const QDateTime& time)
{
    if (program.rows.empty() && program.description.isEmpty())
        return QString();
    const QString path = recoveryFilePath(settingsFile, time);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(encodeCp1252(strFileOutBuff(program, machine)).bytes);
    if (!file.commit())
        return QString();
    return QStringLiteral("Recovery file:\t") + QDir::toNativeSeparators(path);
}

}  // namespace quillon

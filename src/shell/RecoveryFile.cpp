#include "RecoveryFile.h"

#include "SettingsPath.h"
#include "files/Cp1252.h"
#include "files/ProgramText.h"

#include <QDir>
#include <QSaveFile>

namespace quillon {

QString recoveryFilePath(const QString& folder, const QDateTime& time)
{
    return joinPath(folder, QStringLiteral("Quillon-recovery-") + time.toString(QStringLiteral("yyyyMMddHHmmss"))
                                + QStringLiteral(".cnc"));
}

QString saveRecoveryFile(const QString& folder, const QDateTime& time, const Program& program, MachineType machine)
{
    const QString path = recoveryFilePath(folder, time);
    // The same bytes as saving, but without its refusal: here the
    // alternative is losing the program.
    const QByteArray bytes = encodeCp1252(strFileOutBuff(program, machine) + QStringLiteral("\r\n")).bytes;
    QDir().mkpath(folder);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return QStringLiteral("Unsaved program written to:\t") + QDir::toNativeSeparators(path);
    return QStringLiteral("Unsaved program could not be written to:\t") + QDir::toNativeSeparators(path);
}

}  // namespace quillon

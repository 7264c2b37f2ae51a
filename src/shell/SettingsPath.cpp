#include "SettingsPath.h"

#include "AppIdentity.h"

#include <QDir>
#include <QFileInfo>

namespace quillon {

QString joinPath(const QString& folder, const QString& name)
{
    QString base = folder;
    while (base.size() > 1 && (base.endsWith(QLatin1Char('/')) || base.endsWith(QLatin1Char('\\'))))
        base.chop(1);
    if (base == QLatin1String("/") || base == QLatin1String("\\"))
        return base + name;
    return base + QLatin1Char('/') + name;
}

bool isFolderWritable(const QString& folder)
{
    const QFileInfo info(folder);
    return !folder.isEmpty() && info.isDir() && info.isWritable();
}

bool isPrivateProgramFolder(const QString& folder)
{
    return isFolderWritable(folder) && QFileInfo(QDir::cleanPath(folder)).fileName() != QLatin1String("bin");
}

QString userConfigHome()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return joinPath(QDir::homePath(), QStringLiteral(".config"));
}

QString settingsFilePath(const QString& programDir, const QString& overridePath, const QString& configHome)
{
    if (!overridePath.isEmpty())
        return QFileInfo(overridePath).absoluteFilePath();
    const QString fileName = QString::fromLatin1(kSettingsFileName);
    if (isPrivateProgramFolder(programDir))
        return joinPath(programDir, fileName);
    return joinPath(joinPath(configHome, QStringLiteral("Quillon")), fileName);
}

QString settingsFilePath(const QString& programDir, const QString& overridePath)
{
    return settingsFilePath(programDir, overridePath, userConfigHome());
}

QString logFilePath(const QString& programDir, const QString& settingsFile)
{
    const QString fileName = applicationTitle() + QStringLiteral(".log");
    if (isPrivateProgramFolder(programDir))
        return joinPath(programDir, fileName);
    return joinPath(QFileInfo(settingsFile).absolutePath(), fileName);
}

}  // namespace quillon

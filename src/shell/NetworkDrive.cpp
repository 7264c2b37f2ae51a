#include "NetworkDrive.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace quillon {

namespace {

bool isNetworkType(const QString& type)
{
    static const QStringList kTypes = {
        QStringLiteral("nfs"),   QStringLiteral("nfs4"),  QStringLiteral("cifs"),        QStringLiteral("smb3"),
        QStringLiteral("smbfs"), QStringLiteral("ncpfs"), QStringLiteral("afs"),         QStringLiteral("9p"),
        QStringLiteral("ceph"),  QStringLiteral("davfs"), QStringLiteral("fuse.sshfs"), QStringLiteral("fuse.glusterfs"),
    };
    return kTypes.contains(type);
}

// Mount points write blanks, tabs, newlines and backslashes as \ooo.
QString unescapeMountPoint(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 3 < text.size()) {
            bool ok = false;
            const int code = text.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += QChar(code);
                i += 3;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

bool holds(const QString& mountPoint, const QString& folder)
{
    if (mountPoint == QLatin1String("/"))
        return true;
    return folder == mountPoint || folder.startsWith(mountPoint + QLatin1Char('/'));
}

}  // namespace

bool onNetworkFileSystem(const QString& folder, const QString& mountInfo)
{
    const QString path = QDir::cleanPath(folder);
    qsizetype best = -1;
    bool network = false;
    for (const QString& line : mountInfo.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char(' '));
        const qsizetype dash = fields.indexOf(QStringLiteral("-"));
        if (fields.size() < 5 || dash < 0 || dash + 1 >= fields.size())
            continue;
        const QString mountPoint = unescapeMountPoint(fields[4]);
        // The longest mount point that holds the folder is the one it lies on.
        if (!holds(mountPoint, path) || mountPoint.size() < best)
            continue;
        best = mountPoint.size();
        network = isNetworkType(fields[dash + 1]);
    }
    return network;
}

bool onNetworkFileSystem(const QString& folder)
{
    QFile f(QStringLiteral("/proc/self/mountinfo"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return onNetworkFileSystem(QDir(folder).canonicalPath().isEmpty() ? folder : QDir(folder).canonicalPath(),
                               QString::fromUtf8(f.readAll()));
}

}  // namespace quillon

#include "FileExists.h"

#include <QFileInfo>

namespace quillon {

bool blnStdFileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\'))) {
        // A trailing backslash is a Windows folder path; on this system the
        // folder is the path without it.
        const QString folder = path.endsWith(QLatin1Char('\\')) ? path.chopped(1) : path;
        return !folder.isEmpty() && QFileInfo(folder).isDir();
    }
    return QFileInfo(path).isFile();
}

}  // namespace quillon

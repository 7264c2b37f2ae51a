#include "CliCommands.h"
#include "CliContext.h"

#include <QByteArray>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace quillon::cli {

namespace {

constexpr const char* kHelper = "quillon-cli-draw";

QString ownFolder()
{
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
}

// Beside quillon-cli in a build, in <prefix>/libexec/quillon when installed.
QByteArray helperPath(const QString& folder)
{
    for (const QString& candidate : {folder + QLatin1Char('/') + QLatin1String(kHelper),
                                     folder + QStringLiteral("/../libexec/quillon/") + QLatin1String(kHelper)}) {
        if (QFileInfo(candidate).isExecutable())
            return QFile::encodeName(candidate);
    }
    return QByteArray();
}

}  // namespace

std::unique_ptr<QCoreApplication> drawingApplication(int& /*argc*/, char** argv)
{
    const QString folder = ownFolder();
    const QByteArray helper = helperPath(folder);
    if (!helper.isEmpty()) {
        ::setenv(kProgramDirVariable, QFile::encodeName(folder).constData(), 1);
        ::execv(helper.constData(), argv);
    }
    std::fprintf(stderr, "quillon-cli: cannot start %s: %s\n", helper.isEmpty() ? kHelper : helper.constData(),
                 helper.isEmpty() ? "not found" : std::strerror(errno));
    std::exit(kExitFailed);
}

int runPrintCommand(CliContext&) { return kExitFailed; }
int runPreviewCommand(CliContext&) { return kExitFailed; }

}  // namespace quillon::cli

#include "CliCommands.h"
#include "CliContext.h"

#include "print/ListingRenderer.h"

#include <QDateTime>
#include <QFileInfo>

namespace quillon::cli {

int runPrintCommand(CliContext& context)
{
    QString error;
    const std::optional<QString> pdf = context.takeOption(QStringLiteral("--pdf"), &error);
    if (!error.isEmpty())
        return CliContext::usageError(error);
    if (!pdf || pdf->isEmpty())
        return CliContext::usageError(QStringLiteral("print needs --pdf OUT"));
    int exitCode = kExitOk;
    const std::optional<CliContext::OneProgram> loaded = context.takeOneProgram(QStringLiteral("print"), &exitCode);
    if (!loaded)
        return exitCode;
    const QString& path = loaded->path;

    // The editor's header names the full path of the open file.
    const ListingRenderer::Result printed =
        ListingRenderer::writePdf(*pdf, loaded->program, loaded->machine, QFileInfo(path).absoluteFilePath(),
                                  printStamp(QDateTime::currentDateTime()));
    // A path that cannot be written is named with its reason; no printer
    // is involved.
    if (!printed.fileError.isEmpty()) {
        CliContext::err(QStringLiteral("cannot write %1: %2\n").arg(*pdf, printed.fileError));
        return kExitFailed;
    }
    if (!printed.ok) {
        CliContext::err(QStringLiteral("%1: %2\n").arg(*pdf, QString(printed.message).replace(QLatin1String("\r\n"), QLatin1String(" "))));
        return kExitFailed;
    }
    CliContext::out(printed.pages == 1 ? QStringLiteral("%1: 1 page\n").arg(*pdf)
                                       : QStringLiteral("%1: %2 pages\n").arg(*pdf).arg(printed.pages));
    return kExitOk;
}

}  // namespace quillon::cli

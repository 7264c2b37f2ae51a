#include "CliCommands.h"
#include "CliContext.h"

#include "print/ListingRenderer.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPdfWriter>

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

    QPdfWriter writer(*pdf);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    writer.setTitle(QFileInfo(path).fileName());
    writer.setCreator(QStringLiteral("Quillon"));
    // The editor's header names the full path of the open file.
    const ListingRenderer::Result printed =
        ListingRenderer::render(writer, loaded->program, loaded->machine, QFileInfo(path).absoluteFilePath(),
                                printStamp(QDateTime::currentDateTime()));
    if (!printed.ok) {
        CliContext::err(QStringLiteral("%1: %2\n").arg(*pdf, QString(printed.message).replace(QLatin1String("\r\n"), QLatin1String(" "))));
        return kExitFailed;
    }
    CliContext::out(QStringLiteral("%1: %2 pages\n").arg(*pdf).arg(printed.pages));
    return kExitOk;
}

}  // namespace quillon::cli

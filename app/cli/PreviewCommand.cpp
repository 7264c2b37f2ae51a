#include "CliCommands.h"
#include "CliContext.h"

#include "preview/ToolpathRenderer.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>
#include <QStringList>
#include <QSvgGenerator>

namespace quillon::cli {

namespace {

// The drawing's size in pixels: about the pane's size on a common screen.
constexpr int kSvgWidth = 800;
constexpr int kSvgHeight = 560;

}  // namespace

int runPreviewCommand(CliContext& context)
{
    QString error;
    const std::optional<QString> svg = context.takeOption(QStringLiteral("--svg"), &error);
    if (!error.isEmpty())
        return CliContext::usageError(error);
    const std::optional<QString> view = context.takeOption(QStringLiteral("--view"), &error);
    if (!error.isEmpty())
        return CliContext::usageError(error);
    if (!svg || svg->isEmpty())
        return CliContext::usageError(QStringLiteral("preview needs --svg OUT"));
    if (view && *view != QLatin1String("top") && *view != QLatin1String("side"))
        return CliContext::usageError(QStringLiteral("--view takes top or side, not \"%1\"").arg(*view));
    int exitCode = kExitOk;
    const std::optional<CliContext::OneProgram> loaded = context.takeOneProgram(QStringLiteral("preview"), &exitCode);
    if (!loaded)
        return exitCode;
    PreviewPlane plane = defaultPlane(loaded->machine);
    if (view) {
        if (isLathe(loaded->machine))
            return CliContext::usageError(QStringLiteral("--view is for F1 mill programs; a lathe has one view"));
        plane = *view == QLatin1String("side") ? PreviewPlane::MillSide : PreviewPlane::MillTop;
    }

    const Toolpath path = buildToolpath(loaded->program, loaded->machine);
    // Drawn into memory first, so that a file that cannot be written is
    // reported and an existing OUT is never left half written.
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(kSvgWidth, kSvgHeight));
    generator.setResolution(96);
    generator.setViewBox(QRect(0, 0, kSvgWidth, kSvgHeight));
    generator.setTitle(QFileInfo(loaded->path).fileName());
    generator.setDescription(QStringLiteral("Werkzeugweg"));
    {
        QPainter painter(&generator);
        const QRectF area(0, 0, kSvgWidth, kSvgHeight);
        ToolpathRenderer::paint(painter, path, plane, ToolpathRenderer::fit(path, plane, area), area, -1);
    }
    QSaveFile out(*svg);
    if (!out.open(QIODevice::WriteOnly) || out.write(buffer.data()) != buffer.data().size() || !out.commit()) {
        CliContext::err(QStringLiteral("%1: %2\n").arg(*svg, out.errorString()));
        return kExitFailed;
    }
    // A program the walk cannot finish is still drawn up to the stop; the
    // drawing says where, and so does standard error.
    if (!path.stopMessage.isEmpty()) {
        QStringList lines;
        for (const QString& line : path.stopMessage.split(QLatin1String("\r\n")))
            if (!line.trimmed().isEmpty())
                lines << line.trimmed();
        CliContext::err(QStringLiteral("%1: stopped: %2\n").arg(loaded->path, lines.join(QLatin1String(": "))));
    }
    CliContext::out(QStringLiteral("%1: %2 moves\n").arg(*svg).arg(path.moves.size()));
    return kExitOk;
}

}  // namespace quillon::cli

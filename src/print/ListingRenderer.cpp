#include "ListingRenderer.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QSaveFile>
#include <cmath>

namespace quillon {

namespace {

// Every line starts after this many character widths of the print font.
constexpr int kIndentChars = 4;

}  // namespace

QString ListingRenderer::failureText(const QString& reason)
{
    return QStringLiteral("Die Datei konnte nicht gedruckt werden.\r\n") + reason;
}

QFont ListingRenderer::printFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(10);
    font.setBold(false);
    return font;
}

PrintPageSize ListingRenderer::pageSize(const QPaintDevice& device)
{
    const QFontMetricsF metrics(printFont(), &device);
    const qreal charWidth = metrics.horizontalAdvance(QLatin1Char('X'));
    PrintPageSize size;
    size.lines = int(std::floor(device.height() / metrics.lineSpacing()));
    size.charsPerLine = int(std::floor(device.width() / charWidth)) - kIndentChars;
    // A page too small for a single character still prints, cut at its edge.
    if (size.charsPerLine < 1)
        size.charsPerLine = 0;
    return size;
}

ListingRenderer::Result ListingRenderer::render(QPagedPaintDevice& device, const Program& program,
                                                MachineType machine, const QString& fileName, const PrintStamp& stamp)
{
    Result result;
    const PrintListing listing = buildPrintListing(program, machine, fileName, stamp, pageSize(device));

    QPainter painter;
    if (!painter.begin(&device)) {
        result.message = failureText(QStringLiteral("Der Drucker ist nicht bereit."));
        return result;
    }
    painter.setFont(printFont());
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(painter.font(), &device);
    const qreal left = kIndentChars * metrics.horizontalAdvance(QLatin1Char('X'));

    for (const PrintPage& page : listing.pages) {
        if (page.number > 1 && !device.newPage()) {
            painter.end();
            result.pages = page.number - 1;
            result.message = failureText(QStringLiteral("Der Drucker hat nach Seite %1 abgebrochen.").arg(result.pages));
            return result;
        }
        qreal baseline = metrics.ascent();
        for (const QString& line : page.lines) {
            if (!line.isEmpty())
                painter.drawText(QPointF(left, baseline), line);
            baseline += metrics.lineSpacing();
        }
    }
    result.pages = int(listing.pages.size());
    if (!painter.end()) {
        result.message = failureText(QStringLiteral("Der Druckauftrag wurde nicht abgeschlossen."));
        return result;
    }
    result.ok = true;
    return result;
}

ListingRenderer::Result ListingRenderer::writePdf(const QString& pdfPath, const Program& program, MachineType machine,
                                                  const QString& fileName, const PrintStamp& stamp)
{
    Result result;
    QSaveFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly)) {
        result.fileError = file.errorString();
        return result;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        writer.setTitle(fileName.isEmpty() ? QString::fromUtf8(kUnnamedFileText) : QFileInfo(fileName).fileName());
        writer.setCreator(QStringLiteral("Quillon"));
        result = render(writer, program, machine, fileName, stamp);
    }
    if (!result.ok) {
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.ok = false;
        result.fileError = file.errorString();
    }
    return result;
}

}  // namespace quillon

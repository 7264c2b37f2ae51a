#include "ToolpathRenderer.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace quillon {

namespace {

constexpr double kArcStep = 2.0 * std::numbers::pi / 180.0;  // one chord per two degrees
constexpr double kRapidWidth = 1.2;
constexpr double kFeedWidth = 1.6;
constexpr double kCycleWidth = 2.2;
constexpr double kHighlightWidth = 8.0;

// Coordinates of a point in an arc's own plane: the lathe turns in Z/X, the
// mill in X/Y; the third coordinate runs along (a helix seen from the side).
struct ArcFrame {
    bool lathe;
    double h(const ToolPoint& p) const { return lathe ? p.z : p.x; }
    double v(const ToolPoint& p) const { return lathe ? p.x : p.y; }
    double depth(const ToolPoint& p) const { return lathe ? p.y : p.z; }
    ToolPoint point(double h, double v, double depth) const
    {
        ToolPoint p;
        if (lathe) {
            p.z = h;
            p.x = v;
            p.y = depth;
        } else {
            p.x = h;
            p.y = v;
            p.z = depth;
        }
        return p;
    }
};

std::vector<ToolPoint> arcPoints(const ToolpathMove& move, MachineType machine)
{
    const ArcFrame f{isLathe(machine)};
    const double ch = f.h(move.centre);
    const double cv = f.v(move.centre);
    const double a0 = std::atan2(f.v(move.from) - cv, f.h(move.from) - ch);
    const double a1 = std::atan2(f.v(move.to) - cv, f.h(move.to) - ch);
    const double r0 = std::hypot(f.v(move.from) - cv, f.h(move.from) - ch);
    const double r1 = std::hypot(f.v(move.to) - cv, f.h(move.to) - ch);
    if (!std::isfinite(a0) || !std::isfinite(a1) || r0 <= 0.0 || r1 <= 0.0)
        return {move.from, move.to};
    double sweep = a1 - a0;
    const double full = 2.0 * std::numbers::pi;
    // Equal end points make a whole circle, as the control runs it.
    const bool closed = move.from == move.to;
    if (move.clockwise) {
        if (sweep >= 0.0 || closed)
            sweep -= full;
    } else if (sweep <= 0.0 || closed) {
        sweep += full;
    }
    const int steps = std::max(2, static_cast<int>(std::ceil(std::abs(sweep) / kArcStep)));
    std::vector<ToolPoint> points;
    points.reserve(static_cast<std::size_t>(steps) + 1);
    points.push_back(move.from);
    for (int i = 1; i < steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double a = a0 + sweep * t;
        // A radius that differs at the two ends (rounded values) blends
        // across, so the chords still meet both end points.
        const double r = r0 + (r1 - r0) * t;
        const double depth = f.depth(move.from) + (f.depth(move.to) - f.depth(move.from)) * t;
        points.push_back(f.point(ch + r * std::cos(a), cv + r * std::sin(a), depth));
    }
    points.push_back(move.to);
    return points;
}

QPolygonF toDevice(const QPolygonF& plane, const ToolpathViewport& viewport)
{
    QPolygonF device;
    device.reserve(plane.size());
    for (const QPointF& p : plane)
        device << viewport.toDevice(p);
    return device;
}

// Moves a test run has not yet made: the same lines, barely there.
constexpr int kFaintAlpha = 60;

QPen movePen(MoveKind kind, bool faint = false)
{
    QPen pen;
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    switch (kind) {
    case MoveKind::Rapid:
        pen.setColor(ToolpathColours::rapid());
        pen.setWidthF(kRapidWidth);
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern({5.0, 4.0});
        break;
    case MoveKind::Feed:
    case MoveKind::Arc:
        pen.setColor(ToolpathColours::feed());
        pen.setWidthF(kFeedWidth);
        break;
    case MoveKind::Cycle:
        pen.setColor(ToolpathColours::cycle());
        pen.setWidthF(kCycleWidth);
        break;
    }
    if (faint) {
        QColor c = pen.color();
        c.setAlpha(kFaintAlpha);
        pen.setColor(c);
    }
    return pen;
}

// The tool of a test run. The lathe's is a turning tool whose tip touches
// the point, its insert and shank reaching up and to the right as a tool
// in front of the work does; it has no known size, so it keeps its size on
// the screen. The mill's cutter is drawn to scale: a circle from above, its
// outline from the front, standing on its tip.
void drawTool(QPainter& painter, const RunDrawing& run, PreviewPlane plane, const ToolpathViewport& viewport)
{
    const QPointF tip = viewport.toDevice(planePoint(*run.tool, plane));
    QColor fill = ToolpathColours::tool();
    fill.setAlpha(110);
    QPen pen(ToolpathColours::tool(), 1.4);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(fill);
    const double r = run.cutterRadius * viewport.scale;
    switch (plane) {
    case PreviewPlane::LatheXZ:
        painter.drawPolygon(QPolygonF({tip, tip + QPointF(11, -3), tip + QPointF(15, -15), tip + QPointF(3, -11)}));
        painter.drawPolygon(QPolygonF({tip + QPointF(8, -12), tip + QPointF(15, -15), tip + QPointF(26, -36),
                                       tip + QPointF(19, -39)}));
        break;
    case PreviewPlane::MillTop:
        if (r >= 2.0)
            painter.drawEllipse(tip, r, r);
        break;
    case PreviewPlane::MillSide:
        if (r >= 2.0)
            painter.drawRect(QRectF(tip.x() - r, tip.y() - std::max(3.0 * r, 30.0), 2.0 * r, std::max(3.0 * r, 30.0)));
        break;
    }
    painter.setBrush(Qt::NoBrush);
    // The centre (the tip) as a cross, the one mark a cutter of unknown size gets.
    painter.drawLine(tip + QPointF(-5, 0), tip + QPointF(5, 0));
    painter.drawLine(tip + QPointF(0, -5), tip + QPointF(0, 5));
}

double distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b)
{
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    double t = len2 > 0.0 ? QPointF::dotProduct(p - a, ab) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF d = p - (a + ab * t);
    return std::hypot(d.x(), d.y());
}

QColor blend(const QColor& a, const QColor& b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// The material of a test run, under the moves: the whole billet or block in
// the colour of material taken off, what is left over it. The lathe shows
// its half section; the mill from above shades each cell by its depth, from
// the front shows the deepest cut along each X.
void drawMaterial(QPainter& painter, const MaterialRun& material, PreviewPlane plane, const ToolpathViewport& viewport)
{
    const QRectF whole = ToolpathRenderer::materialRect(material, plane);
    const QRectF device = QRectF(viewport.toDevice(whole.topLeft()), viewport.toDevice(whole.bottomRight())).normalized();
    painter.fillRect(device, ToolpathColours::removed());
    QPainterPath left;
    if (plane == PreviewPlane::LatheXZ) {
        for (const StockSpan& span : material.stock().spans())
            if (span.outer > span.bore)
                left.addRect(QRectF(viewport.toDevice(QPointF(span.z0, span.outer)),
                                    viewport.toDevice(QPointF(span.z1, span.bore))).normalized());
    } else if (plane == PreviewPlane::MillTop) {
        const MillBlock& block = material.block();
        QImage image(block.columns(), block.rows(), QImage::Format_RGB32);
        for (int row = 0; row < block.rows(); ++row) {
            // Rows of the image run down, the block's Y up.
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(block.rows() - 1 - row));
            for (int column = 0; column < block.columns(); ++column) {
                const double depth = -block.topAt(column, row);
                line[column] = depth <= 0.0 ? ToolpathColours::stock().rgb()
                                            : blend(ToolpathColours::shallow(), ToolpathColours::deep(),
                                                    block.sizeZ() > 0 ? depth / block.sizeZ() : 1.0).rgb();
            }
        }
        painter.drawImage(QRectF(viewport.toDevice(QPointF(0, block.rows() * block.cell())),
                                 viewport.toDevice(QPointF(block.columns() * block.cell(), 0))),
                          image);
    } else {
        const MillBlock& block = material.block();
        const std::vector<double> tops = block.deepestAlongX();
        QPolygonF outline;
        outline << viewport.toDevice(QPointF(0, -block.sizeZ()));
        for (std::size_t i = 0; i < tops.size(); ++i) {
            const double x0 = double(i) * block.cell();
            const double x1 = std::min(block.sizeX(), x0 + block.cell());
            outline << viewport.toDevice(QPointF(x0, tops[i])) << viewport.toDevice(QPointF(x1, tops[i]));
        }
        outline << viewport.toDevice(QPointF(block.sizeX(), -block.sizeZ()));
        left.addPolygon(outline);
    }
    painter.fillPath(left, ToolpathColours::stock());
    QPen pen(ToolpathColours::billet(), 1.0);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawRect(device);
}

QString unitName(const Toolpath& path) { return path.inch ? QStringLiteral("inch") : QStringLiteral("mm"); }

void drawAxisCross(QPainter& painter, const ToolpathViewport& viewport, PreviewPlane plane, const QRectF& area)
{
    const QPointF o = viewport.toDevice(QPointF(0, 0));
    if (!area.adjusted(10, 10, -10, -10).contains(o))
        return;
    const char* names[3][2] = {{"Z", "X"}, {"X", "Y"}, {"X", "Z"}};
    const auto& n = names[static_cast<int>(plane)];
    QPen pen(ToolpathColours::axis(), 1.0);
    pen.setCosmetic(true);
    painter.setPen(pen);
    const double len = 18.0;
    painter.drawLine(o, o + QPointF(len, 0));
    painter.drawLine(o, o - QPointF(0, len));
    painter.drawLine(o + QPointF(len, 0), o + QPointF(len - 4, -3));
    painter.drawLine(o + QPointF(len, 0), o + QPointF(len - 4, 3));
    painter.drawLine(o - QPointF(0, len), o - QPointF(3, len - 4));
    painter.drawLine(o - QPointF(0, len), o - QPointF(-3, len - 4));
    painter.setPen(ToolpathColours::axis());
    // Above the line: on the lathe the spindle axis runs through here.
    painter.drawText(o + QPointF(len + 2, -3), QString::fromLatin1(n[0]));
    painter.drawText(o + QPointF(-4, -len - 4), QString::fromLatin1(n[1]));
}

void drawScaleBar(QPainter& painter, const Toolpath& path, const ToolpathViewport& viewport, const QRectF& area)
{
    const double length = ToolpathRenderer::scaleBarLength(viewport.scale);
    const double pixels = length * viewport.scale;
    const QPointF left(area.left() + 12, area.bottom() - 12);
    QPen pen(ToolpathColours::text(), 1.2);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawLine(left, left + QPointF(pixels, 0));
    painter.drawLine(left + QPointF(0, -4), left + QPointF(0, 4));
    painter.drawLine(left + QPointF(pixels, -4), left + QPointF(pixels, 4));
    painter.drawText(left + QPointF(pixels + 6, 4),
                     QStringLiteral("%1 %2").arg(QString::number(length, 'g', 6), unitName(path)));
}

QString stopText(const Toolpath& path)
{
    // The walk's messages are the export's, lines ended by CR LF.
    return QString(path.stopMessage).replace(QLatin1String("\r\n"), QLatin1String("\n")).trimmed();
}

void drawStopMessage(QPainter& painter, const Toolpath& path, const QRectF& area)
{
    const QRectF box = ToolpathRenderer::stopMessageRect(path, area);
    QPen frame(ToolpathColours::stop(), 1.0);
    frame.setCosmetic(true);
    painter.setPen(frame);
    painter.setBrush(ToolpathColours::stopFill());
    painter.drawRect(box);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(ToolpathColours::stop());
    painter.drawText(box.adjusted(8, 6, -8, -6), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, stopText(path));
}

// The labels of the cycles, each beside the start of its contour; a label
// that would cover one already placed moves down until it is free.
void drawCycleLabels(QPainter& painter, const Toolpath& path, PreviewPlane plane, const ToolpathViewport& viewport,
                     const QRectF& area)
{
    const QFontMetricsF metrics(painter.font());
    std::vector<QRectF> placed;
    int lastRow = -2;
    painter.setPen(ToolpathColours::cycle());
    for (const ToolpathMove& m : path.moves) {
        if (m.kind != MoveKind::Cycle || m.label.isEmpty() || m.row == lastRow)
            continue;
        lastRow = m.row;
        const QPointF anchor = viewport.toDevice(planePoint(m.from, plane));
        QRectF rect = metrics.boundingRect(m.label);
        rect.moveTopLeft(anchor + QPointF(5, -rect.height() - 3));
        // Kept inside the pane: to the left of a point at its right edge,
        // below one at its top.
        if (rect.right() > area.right() - 2)
            rect.moveRight(anchor.x() - 5);
        if (rect.top() < area.top() + 2)
            rect.moveTop(anchor.y() + 3);
        for (int tries = 0; tries < 20; ++tries) {
            const auto hit = std::find_if(placed.begin(), placed.end(),
                                          [&](const QRectF& r) { return r.intersects(rect); });
            if (hit == placed.end())
                break;
            rect.moveTop(hit->bottom() + 1);
        }
        placed.push_back(rect);
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop, m.label);
    }
}

}  // namespace

QFont ToolpathRenderer::labelFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    return font;
}

QRectF ToolpathRenderer::stopMessageRect(const Toolpath& path, const QRectF& area)
{
    if (path.stopMessage.isEmpty())
        return QRectF();
    const QFontMetricsF metrics(labelFont());
    const QRectF room = area.adjusted(8, 8, -8, -8);
    QRectF box = metrics.boundingRect(QRectF(room.left() + 8, room.top() + 6, std::max(40.0, room.width() - 16), 1e6),
                                      Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, stopText(path));
    box.adjust(-8, -6, 8, 6);
    box.setWidth(std::min(box.width(), room.width()));
    return box;
}

QPolygonF ToolpathRenderer::planePolyline(const ToolpathMove& move, MachineType machine, PreviewPlane plane)
{
    QPolygonF polyline;
    if (move.kind == MoveKind::Arc) {
        for (const ToolPoint& p : arcPoints(move, machine))
            polyline << planePoint(p, plane);
    } else {
        polyline << planePoint(move.from, plane) << planePoint(move.to, plane);
    }
    return polyline;
}

std::optional<QRectF> ToolpathRenderer::billetRect(const Toolpath& path)
{
    if (!isLathe(path.machine) || !path.billetDiameter || !(*path.billetDiameter > 0))
        return std::nullopt;
    // The billet the material starts from: its face at Z 0, reaching back as far as the cuts go.
    const auto [left, right] = latheBilletExtent(path, *path.billetDiameter);
    return QRectF(QPointF(left, 0.0), QPointF(right, *path.billetDiameter / 2.0));
}

QRectF ToolpathRenderer::bounds(const Toolpath& path, PreviewPlane plane)
{
    double left = 0, right = 0, bottom = 0, top = 0;
    bool any = false;
    auto add = [&](const QPointF& p) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
            return;
        if (!any) {
            left = right = p.x();
            bottom = top = p.y();
            any = true;
            return;
        }
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        bottom = std::min(bottom, p.y());
        top = std::max(top, p.y());
    };
    for (const ToolpathMove& m : path.moves)
        for (const QPointF& p : planePolyline(m, path.machine, plane))
            add(p);
    if (plane == PreviewPlane::LatheXZ) {
        if (const std::optional<QRectF> billet = billetRect(path)) {
            add(billet->topLeft());
            add(billet->bottomRight());
        }
        // The spindle axis belongs in the picture.
        if (any)
            add(QPointF(left, 0.0));
    }
    if (!any)
        return QRectF();
    return QRectF(QPointF(left, bottom), QPointF(right, top));
}

QRectF ToolpathRenderer::materialRect(const MaterialRun& material, PreviewPlane plane)
{
    switch (plane) {
    case PreviewPlane::LatheXZ:
        return QRectF(QPointF(material.stock().zLeft(), 0.0),
                      QPointF(material.stock().zRight(), material.stock().billetRadius()));
    case PreviewPlane::MillTop:
        return QRectF(0.0, 0.0, material.block().sizeX(), material.block().sizeY());
    case PreviewPlane::MillSide:
        return QRectF(0.0, -material.block().sizeZ(), material.block().sizeX(), material.block().sizeZ());
    }
    return {};
}

ToolpathViewport ToolpathRenderer::fit(const Toolpath& path, PreviewPlane plane, const QRectF& area,
                                       const RunDrawing& run)
{
    QRectF room = area;
    // Leave the stop message its own strip at the top, so that it does not
    // cover the end of the path it reports.
    if (!path.stopMessage.isEmpty())
        room.setTop(stopMessageRect(path, area).bottom() + 4);
    // And the scale bar its own strip at the bottom.
    room.setBottom(room.bottom() - 16);
    QRectF drawn = bounds(path, plane);
    if (run.material)
        drawn = drawn.isNull() ? materialRect(*run.material, plane) : drawn.united(materialRect(*run.material, plane));
    return ToolpathViewport::fit(drawn, room, kFitMargin);
}

double ToolpathRenderer::scaleBarLength(double scale, double pixels)
{
    if (!(scale > 0) || !std::isfinite(scale))
        return 1.0;
    const double raw = pixels / scale;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double step : {5.0, 2.0, 1.0})
        if (step * power <= raw)
            return step * power;
    return power;
}

void ToolpathRenderer::paint(QPainter& painter, const Toolpath& path, PreviewPlane plane,
                             const ToolpathViewport& viewport, const QRectF& area, int currentRow,
                             const RunDrawing& run)
{
    painter.save();
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(labelFont());
    painter.fillRect(area, ToolpathColours::background());

    if (run.material)
        drawMaterial(painter, *run.material, plane, viewport);
    if (plane == PreviewPlane::LatheXZ) {
        if (const std::optional<QRectF> billet = run.material ? std::nullopt : billetRect(path)) {
            QPen pen(ToolpathColours::billet(), 1.0);
            pen.setCosmetic(true);
            painter.setPen(pen);
            painter.setBrush(ToolpathColours::billetFill());
            painter.drawPolygon(toDevice(QPolygonF(*billet), viewport));
            painter.setBrush(Qt::NoBrush);
        }
        // The spindle axis runs across the whole pane.
        const double y = viewport.toDevice(QPointF(0, 0)).y();
        QPen axis(ToolpathColours::axis(), 1.0);
        axis.setCosmetic(true);
        axis.setDashPattern({14.0, 4.0, 2.0, 4.0});
        painter.setPen(axis);
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
    drawAxisCross(painter, viewport, plane, area);

    std::vector<QPolygonF> polylines;
    polylines.reserve(path.moves.size());
    for (const ToolpathMove& m : path.moves)
        polylines.push_back(toDevice(planePolyline(m, path.machine, plane), viewport));

    // A move seen end on (a plunge from above, a drilling cycle) would vanish;
    // it is marked by a small ring where it lies.
    const auto endOn = [&](std::size_t i) {
        const QPolygonF& line = polylines[i];
        const QPointF d = line.back() - line.front();
        return line.size() == 2 && std::hypot(d.x(), d.y()) < 1.5;
    };
    // The current row first as a broad underlay, so the move keeps its own
    // line style on top of it.
    if (currentRow >= 0) {
        QPen under(ToolpathColours::highlight(), kHighlightWidth);
        under.setCosmetic(true);
        under.setCapStyle(Qt::RoundCap);
        under.setJoinStyle(Qt::RoundJoin);
        painter.setPen(under);
        for (std::size_t i = 0; i < path.moves.size(); ++i) {
            if (path.moves[i].row != currentRow)
                continue;
            if (endOn(i))
                painter.drawEllipse(polylines[i].front(), 4.0, 4.0);
            else
                painter.drawPolyline(polylines[i]);
        }
    }
    const std::size_t done = run.movesDone < 0 ? path.moves.size() : std::size_t(run.movesDone);
    for (std::size_t i = 0; i < path.moves.size(); ++i) {
        painter.setPen(movePen(path.moves[i].kind, i >= done));
        painter.drawPolyline(polylines[i]);
        if (endOn(i) && path.moves[i].kind != MoveKind::Rapid)
            painter.drawEllipse(polylines[i].front(), 3.0, 3.0);
    }
    drawCycleLabels(painter, path, plane, viewport, area);
    if (run.tool)
        drawTool(painter, run, plane, viewport);

    if (!path.moves.empty()) {
        const QPointF start = viewport.toDevice(planePoint(path.moves.front().from, plane));
        QPen pen(ToolpathColours::text(), 1.4);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(start, 4.5, 4.5);
        painter.setBrush(ToolpathColours::text());
        painter.drawEllipse(start, 1.5, 1.5);
        painter.setBrush(Qt::NoBrush);
    } else if (path.stopMessage.isEmpty()) {
        // Above the middle, clear of the axis and the origin's arrows.
        painter.setPen(ToolpathColours::axis());
        painter.drawText(QRectF(area.left(), area.top() + 16, area.width(), 24), Qt::AlignCenter,
                         QStringLiteral("Kein Werkzeugweg"));
    }
    if (!path.stopMessage.isEmpty()) {
        if (!path.moves.empty()) {
            // Where the walk stopped: a cross on the last point it reached.
            const QPointF end = viewport.toDevice(planePoint(path.moves.back().to, plane));
            QPen pen(ToolpathColours::stop(), 2.0);
            pen.setCosmetic(true);
            painter.setPen(pen);
            painter.drawLine(end + QPointF(-5, -5), end + QPointF(5, 5));
            painter.drawLine(end + QPointF(-5, 5), end + QPointF(5, -5));
        }
        drawStopMessage(painter, path, area);
    }
    drawScaleBar(painter, path, viewport, area);
    painter.restore();
}

int ToolpathRenderer::rowAt(const Toolpath& path, PreviewPlane plane, const ToolpathViewport& viewport,
                            const QPointF& device, double tolerance)
{
    int row = -1;
    double best = tolerance;
    for (const ToolpathMove& m : path.moves) {
        const QPolygonF line = toDevice(planePolyline(m, path.machine, plane), viewport);
        for (qsizetype i = 0; i + 1 < line.size(); ++i) {
            const double d = distanceToSegment(device, line[i], line[i + 1]);
            // Later moves are drawn over earlier ones; on a tie the top one wins.
            if (d <= best) {
                best = d;
                row = m.row;
            }
        }
    }
    return row;
}

}  // namespace quillon

#include "ToolpathViewport.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

// Zoom limits: a pixel per 1000 units up to 10000 pixels per unit; beyond
// them the numbers stop meaning anything on a screen.
constexpr double kMinScale = 1e-3;
constexpr double kMaxScale = 1e4;
// A bounds smaller than this (program units) is shown as this size.
constexpr double kMinExtent = 1.0;

}  // namespace

QPointF ToolpathViewport::toDevice(const QPointF& plane) const
{
    return {offset.x() + plane.x() * scale, offset.y() - plane.y() * scale};
}

QPointF ToolpathViewport::toPlane(const QPointF& device) const
{
    return {(device.x() - offset.x()) / scale, (offset.y() - device.y()) / scale};
}

ToolpathViewport ToolpathViewport::fit(const QRectF& bounds, const QRectF& area, double margin)
{
    QRectF b = bounds.normalized();
    if (!std::isfinite(b.width()) || !std::isfinite(b.height()))
        b = QRectF();
    const QPointF centre = b.center();
    const double w = std::max(b.width(), kMinExtent);
    const double h = std::max(b.height(), kMinExtent);
    const double room_w = std::max(1.0, area.width() - 2 * margin);
    const double room_h = std::max(1.0, area.height() - 2 * margin);
    ToolpathViewport v;
    v.scale = std::clamp(std::min(room_w / w, room_h / h), kMinScale, kMaxScale);
    const QPointF mid = area.center();
    v.offset = QPointF(mid.x() - centre.x() * v.scale, mid.y() + centre.y() * v.scale);
    return v;
}

void ToolpathViewport::zoomAbout(const QPointF& device, double factor)
{
    if (!(factor > 0) || !std::isfinite(factor))
        return;
    const QPointF anchor = toPlane(device);
    scale = std::clamp(scale * factor, kMinScale, kMaxScale);
    offset = QPointF(device.x() - anchor.x() * scale, device.y() + anchor.y() * scale);
}

}  // namespace quillon

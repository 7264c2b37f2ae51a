#pragma once

#include <QPointF>
#include <QRectF>

namespace quillon {

// Maps plane coordinates (program units, y upward) to device pixels
// (y downward): device = offset + (x, -y) * scale.
struct ToolpathViewport {
    double scale = 1.0;  // pixels per program unit
    QPointF offset;      // device position of the plane's origin

    QPointF toDevice(const QPointF& plane) const;
    QPointF toPlane(const QPointF& device) const;

    // The largest scale that shows `bounds` inside `area` less `margin`
    // pixels on every side, centred. An empty or degenerate bounds gets a
    // sensible size so that a single point still shows.
    static ToolpathViewport fit(const QRectF& bounds, const QRectF& area, double margin);
    // Scales by `factor` keeping the plane point under `device` where it is.
    void zoomAbout(const QPointF& device, double factor);
    void pan(const QPointF& delta) { offset += delta; }

    bool operator==(const ToolpathViewport&) const = default;
};

}  // namespace quillon

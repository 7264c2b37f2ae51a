#pragma once

#include "Material.h"
#include "PreviewPlane.h"
#include "Toolpath.h"
#include "ToolpathViewport.h"

#include <QColor>
#include <QFont>
#include <QPolygonF>
#include <QRectF>

class QPainter;

namespace quillon {

// The colours of the drawing, the same in the pane and in the SVG file.
// Chosen to read well on white and to stay apart for the common forms of
// colour blindness (blue against orange, green only with its label).
struct ToolpathColours {
    static QColor rapid() { return QColor(0xC8, 0x4B, 0x1E); }      // rust, dashed
    static QColor feed() { return QColor(0x1F, 0x4E, 0x9A); }       // dark blue, solid
    static QColor cycle() { return QColor(0x1E, 0x7F, 0x4F); }      // green, with its label
    static QColor highlight() { return QColor(0xFF, 0xB0, 0x20); }  // amber underlay of the current row
    static QColor axis() { return QColor(0x70, 0x70, 0x70); }       // spindle axis, dash-dot
    static QColor billet() { return QColor(0x9A, 0x8C, 0x6E); }
    static QColor billetFill() { return QColor(0xF4, 0xF0, 0xE6); }
    static QColor text() { return QColor(0x30, 0x30, 0x30); }
    static QColor stop() { return QColor(0xA6, 0x1B, 0x1B); }
    static QColor stopFill() { return QColor(0xFD, 0xEC, 0xEA); }
    static QColor background() { return QColor(Qt::white); }
    static QColor tool() { return QColor(0x4A, 0x4A, 0x55); }       // the tool of a test run
    static QColor stock() { return QColor(0xDD, 0xCB, 0x9C); }      // material still there
    static QColor removed() { return QColor(0xFB, 0xF9, 0xF4); }    // material taken off
    static QColor shallow() { return QColor(0xC4, 0xD4, 0xE4); }    // the mill's cuts, from shallow ...
    static QColor deep() { return QColor(0x3E, 0x5C, 0x7C); }       // ... to through the block
};

// What a test run adds to the drawing: the moves not yet made drawn faint,
// and the tool where it stands.
struct RunDrawing {
    int movesDone = -1;             // moves from this one on are faint; -1 when no run is shown
    std::optional<ToolPoint> tool;  // lathe: the tool tip; mill: the cutter's centre at its tip
    double cutterRadius = 0.0;      // mill: the cutter's radius; 0 while no M06 has named it
    const MaterialRun* material = nullptr;  // the billet or block as the run has cut it so far
};

// Draws a toolpath with a QPainter on any device (a widget, an SVG file, an
// image) and finds the move under a point. Pure geometry and painting, no
// widgets, so the pane and the command line share every line of it.
class ToolpathRenderer {
public:
    // Pixels kept free around the drawing when it is fitted.
    static constexpr double kFitMargin = 28.0;
    // How near (pixels) a click must come to a move to pick it.
    static constexpr double kPickTolerance = 5.0;

    static QFont labelFont();

    // A move as plane points (arcs as short chords in their turning sense),
    // before the viewport is applied.
    static QPolygonF planePolyline(const ToolpathMove& move, MachineType machine, PreviewPlane plane);
    // Everything drawn in plane units: the moves, and on the lathe the
    // spindle axis and the billet.
    static QRectF bounds(const Toolpath& path, PreviewPlane plane);
    // The billet's or block's outline in the plane.
    static QRectF materialRect(const MaterialRun& material, PreviewPlane plane);
    // The lathe billet as plane rectangle, when its diameter is known.
    static std::optional<QRectF> billetRect(const Toolpath& path);
    // The viewport that shows the drawing (and the run's material) in `area`.
    static ToolpathViewport fit(const Toolpath& path, PreviewPlane plane, const QRectF& area,
                                const RunDrawing& run = {});

    // Paints the whole drawing into `area` (background included).
    // `currentRow` (0-based, -1 for none) is highlighted.
    static void paint(QPainter& painter, const Toolpath& path, PreviewPlane plane, const ToolpathViewport& viewport,
                      const QRectF& area, int currentRow, const RunDrawing& run = {});

    // Where the note of a walk that stopped is drawn (empty when it did not).
    static QRectF stopMessageRect(const Toolpath& path, const QRectF& area);

    // The row of the move nearest to `device` within `tolerance` pixels, or -1.
    static int rowAt(const Toolpath& path, PreviewPlane plane, const ToolpathViewport& viewport,
                     const QPointF& device, double tolerance = kPickTolerance);

    // A round length (1, 2 or 5 times a power of ten) that the viewport
    // draws about `pixels` long; the scale bar's length.
    static double scaleBarLength(double scale, double pixels = 80.0);
};

}  // namespace quillon

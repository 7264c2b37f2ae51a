#include "QtPrinters.h"
#include "SvgScan.h"

#include "preview/Material.h"
#include "preview/ToolpathRenderer.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <gtest/gtest.h>

#include <cmath>

namespace quillon {
namespace {

using svgscan::Shape;
const QRectF kArea(0, 0, 400, 300);

std::vector<Shape> draw(const Toolpath& path, PreviewPlane plane, const ToolpathViewport& viewport, int currentRow = -1)
{
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(kArea.size().toSize());
    generator.setViewBox(kArea);
    QPainter painter(&generator);
    ToolpathRenderer::paint(painter, path, plane, viewport, kArea, currentRow);
    painter.end();
    return svgscan::scan(buffer.data());
}

ToolpathViewport viewport(double scale, QPointF offset)
{
    ToolpathViewport v;
    v.scale = scale;
    v.offset = offset;
    return v;
}

ToolPoint lathe(double z, double x) { return ToolPoint{x, 0.0, z}; }
ToolPoint mill(double x, double y, double z) { return ToolPoint{x, y, z}; }

ToolpathMove move(MoveKind kind, int row, ToolPoint from, ToolPoint to, int code = 1)
{
    ToolpathMove m;
    m.kind = kind;
    m.row = row;
    m.code = code;
    m.from = from;
    m.to = to;
    return m;
}

ToolpathMove arc(int row, ToolPoint from, ToolPoint to, ToolPoint centre, bool clockwise, double radius)
{
    ToolpathMove m = move(MoveKind::Arc, row, from, to, clockwise ? 2 : 3);
    m.centre = centre;
    m.clockwise = clockwise;
    m.radius = radius;
    return m;
}

// A small turning job: approach, a cycle, a face, a radius, back out.
Toolpath latheJob()
{
    Toolpath p;
    p.machine = MachineType::Mark4;
    p.billetDiameter = 25.0;
    p.moves.push_back(move(MoveKind::Rapid, 0, lathe(20, 15), lathe(2, 13), 0));
    p.moves.push_back(move(MoveKind::Cycle, 1, lathe(2, 13), lathe(-20, 10), 84));
    p.moves.back().label = QStringLiteral("G84");
    p.moves.push_back(move(MoveKind::Feed, 2, lathe(0, 13), lathe(0, 5)));
    p.moves.push_back(move(MoveKind::Feed, 3, lathe(0, 5), lathe(-5, 5)));
    p.moves.push_back(arc(4, lathe(-5, 5), lathe(-10, 10), lathe(-10, 5), true, 5));
    p.moves.push_back(move(MoveKind::Feed, 5, lathe(-10, 10), lathe(-20, 10)));
    p.moves.push_back(move(MoveKind::Rapid, 6, lathe(-20, 10), lathe(20, 15), 0));
    return p;
}

TEST(ToolpathRendererTest, BilletLiesAlongTheCutAndTheScaleBarIsRound)
{
    // The billet: radius 12.5 from the face at Z 0 back along the cut to Z -20;
    // a peck that starts in front of the face does not lengthen it.
    Toolpath path = latheJob();
    path.moves.push_back(move(MoveKind::Feed, 7, lathe(2, 0), lathe(-4, 0), 83));
    EXPECT_EQ(ToolpathRenderer::billetRect(path), QRectF(QPointF(-20, 0), QPointF(0, 12.5)));
    // With the zero at the chuck the work lies in plus Z.
    Toolpath chuck;
    chuck.machine = MachineType::Mark2;
    chuck.billetDiameter = 20.0;
    chuck.moves.push_back(move(MoveKind::Feed, 0, lathe(45, 10), lathe(15, 10)));
    EXPECT_EQ(ToolpathRenderer::billetRect(chuck), QRectF(QPointF(0, 0), QPointF(45, 10)));
    chuck.moves.clear();
    EXPECT_EQ(ToolpathRenderer::billetRect(chuck), QRectF(QPointF(-40, 0), QPointF(0, 10)));
    path.machine = MachineType::F1;
    EXPECT_FALSE(ToolpathRenderer::billetRect(path).has_value());

    // The scale bar is a round length in the program's units.
    EXPECT_DOUBLE_EQ(ToolpathRenderer::scaleBarLength(8.0), 10.0);
    EXPECT_DOUBLE_EQ(ToolpathRenderer::scaleBarLength(300.0), 0.2);
    Toolpath inch = latheJob();
    inch.inch = true;
    EXPECT_TRUE(svgscan::allText(draw(inch, PreviewPlane::LatheXZ, viewport(8.0, {200, 150}))).contains("10 inch"));
}

// An arc drawn from (0|10) to (10|0) about the origin: its chords start and
// end on the end points, stay on the radius, and go round the side the turning
// sense says, once y points down on the device.
TEST(ToolpathRendererTest, ArcsKeepEndPointsRadiusAndTurningSense)
{
    for (bool clockwise : {true, false}) {
        Toolpath lathePath;
        lathePath.machine = MachineType::Mark2;
        lathePath.moves.push_back(arc(0, lathe(0, 10), lathe(10, 0), lathe(0, 0), clockwise, 10));
        Toolpath millPath;
        millPath.machine = MachineType::F1;
        millPath.moves.push_back(arc(0, mill(0, 10, -2), mill(10, 0, -2), mill(0, 0, -2), clockwise, 10));
        for (const auto& [path, plane] : {std::pair{lathePath, PreviewPlane::LatheXZ}, {millPath, PreviewPlane::MillTop}}) {
            SCOPED_TRACE(clockwise ? "clockwise" : "anticlockwise");
            const ToolpathViewport v = viewport(8.0, {200, 150});
            const std::vector<Shape> arcs = svgscan::lines(draw(path, plane, v), ToolpathColours::feed());
            ASSERT_EQ(arcs.size(), 1u);
            const std::vector<QPointF>& pts = arcs[0].points;
            ASSERT_GE(pts.size(), 10u);
            const QPointF centre = v.toDevice(QPointF(0, 0));
            EXPECT_NEAR(QLineF(pts.front(), v.toDevice(QPointF(0, 10))).length(), 0.0, 0.05);
            EXPECT_NEAR(QLineF(pts.back(), v.toDevice(QPointF(10, 0))).length(), 0.0, 0.05);
            for (const QPointF& p : pts)
                EXPECT_NEAR(QLineF(p, centre).length(), 80.0, 0.05);
            // Clockwise from 12 to 3 o'clock is the short way through the upper
            // right; anticlockwise the long way round through the lower left.
            const QPointF mid = v.toPlane(pts[pts.size() / 2]);
            EXPECT_GT(clockwise ? mid.x() : -mid.x(), 5.0);
            EXPECT_GT(clockwise ? mid.y() : -mid.y(), 5.0);
        }
    }
}

TEST(ToolpathRendererTest, MillSideViewShowsDepthAndArcReach)
{
    Toolpath path;
    path.machine = MachineType::F1;
    path.moves.push_back(move(MoveKind::Rapid, 0, mill(0, 0, 5), mill(0, 10, 5), 0));
    path.moves.push_back(move(MoveKind::Feed, 1, mill(0, 10, 5), mill(0, 10, -3)));
    // Half a circle to the right: from the side it reaches out to X 10.
    path.moves.push_back(arc(2, mill(0, 10, -3), mill(0, -10, -3), mill(0, 0, -3), true, 10));
    const QRectF side = ToolpathRenderer::bounds(path, PreviewPlane::MillSide);
    EXPECT_NEAR(QLineF(side.topLeft(), QPointF(0, -3)).length(), 0.0, 1e-6);
    EXPECT_NEAR(QLineF(side.bottomRight(), QPointF(10, 5)).length(), 0.0, 1e-6);
    for (const QPointF& q : ToolpathRenderer::planePolyline(path.moves[2], path.machine, PreviewPlane::MillSide))
        EXPECT_NEAR(q.y(), -3.0, 1e-6);
    // The plunge is a vertical line from the side.
    EXPECT_EQ(ToolpathRenderer::planePolyline(path.moves[1], path.machine, PreviewPlane::MillSide), QPolygonF({QPointF(0, 5), QPointF(0, -3)}));
}

// A slot along Y 40 of the 80 x 60 x 20 block, 10 deep and 10 wide: from
// above it is shaded at Y 43 and not at Y 22 (where an upside-down block
// would show it); from the side the block is cut away above Z -10.
TEST(ToolpathRendererTest, MillMaterialShowsTheCutFromAboveAndFromTheSide)
{
    Toolpath path;
    path.machine = MachineType::F1;
    path.moves.push_back(move(MoveKind::Feed, 0, mill(20, 40, 2), mill(20, 40, -10)));
    path.moves.push_back(move(MoveKind::Feed, 1, mill(20, 40, -10), mill(60, 40, -10)));
    for (ToolpathMove& m : path.moves)
        m.toolRadius = 5;
    MaterialRun material(path, MaterialSetup{});
    material.runTo(path.moves.size());
    const RunDrawing run{2, path.moves.back().to, 5.0, &material};
    for (const PreviewPlane plane : {PreviewPlane::MillTop, PreviewPlane::MillSide}) {
        const ToolpathViewport v = ToolpathRenderer::fit(path, plane, kArea, run);
        QImage image(kArea.size().toSize(), QImage::Format_RGB32);
        QPainter painter(&image);
        ToolpathRenderer::paint(painter, path, plane, v, kArea, -1, run);
        painter.end();
        const auto at = [&](double x, double y) { return image.pixelColor(v.toDevice(QPointF(x, y)).toPoint()); };
        const bool top = plane == PreviewPlane::MillTop;
        EXPECT_EQ(at(40, top ? 22 : -15), ToolpathColours::stock());
        EXPECT_EQ(at(75, top ? 43 : -5), ToolpathColours::stock());
        EXPECT_NE(at(40, top ? 43 : -5), ToolpathColours::stock());
    }
}

TEST(ToolpathRendererTest, CurrentRowIsUnderlaidAndStopMessageShown)
{
    Toolpath path = latheJob();
    path.stopMessage = QStringLiteral("Sprungziel N 45 fehlt");
    path.stopRow = 6;
    const ToolpathViewport v = ToolpathRenderer::fit(path, PreviewPlane::LatheXZ, kArea);
    const std::vector<Shape> marked = draw(path, PreviewPlane::LatheXZ, v, 4);
    const std::vector<Shape> under = svgscan::lines(marked, ToolpathColours::highlight());
    ASSERT_EQ(under.size(), 1u);
    // The underlay follows the arc of row 4.
    EXPECT_NEAR(under[0].points.front().x(), v.toDevice(planePoint(path.moves[4].from, PreviewPlane::LatheXZ)).x(), 0.05);
    EXPECT_TRUE(svgscan::allText(marked).contains("Sprungziel N 45 fehlt"));
}

TEST(ToolpathRendererTest, ClickPicksTheNearestMoveAndTheFitCentresTheDrawing)
{
    const Toolpath path = latheJob();
    const ToolpathViewport v = viewport(10.0, {250, 200});
    const auto rowAt = [&](double z, double x, QPointF shift = {}) {
        return ToolpathRenderer::rowAt(path, PreviewPlane::LatheXZ, v, v.toDevice(QPointF(z, x)) + shift);
    };
    EXPECT_EQ(rowAt(0, 9, {3, 0}), 2);  // on the face feed, a little off it
    // On the arc's middle, not on its chord.
    EXPECT_EQ(rowAt(-10 + 5 * std::cos(3 * M_PI / 4), 5 + 5 * std::sin(3 * M_PI / 4)), 4);
    EXPECT_EQ(rowAt(-7.5, 7.5), -1);
    // Between two moves the nearer wins.
    EXPECT_EQ(rowAt(-15, 10, {0, 2}), 5);

    // The fit centres the drawing; the width limits here: 360 pixels for 40 units.
    const QRectF bounds(QPointF(-20, 0), QPointF(20, 10));
    const ToolpathViewport fitted = ToolpathViewport::fit(bounds, kArea, 20);
    EXPECT_DOUBLE_EQ(fitted.scale, 9.0);
    EXPECT_EQ(fitted.toDevice(bounds.center()), kArea.center());
    // A single point still gives a usable scale.
    const ToolpathViewport point = ToolpathViewport::fit(QRectF(QPointF(5, 5), QSizeF(0, 0)), kArea, 20);
    EXPECT_TRUE(std::isfinite(point.scale) && point.scale > 0);
    EXPECT_EQ(point.toDevice(QPointF(5, 5)), kArea.center());
}

}  // namespace
}  // namespace quillon

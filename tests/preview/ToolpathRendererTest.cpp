#include "QtPrinters.h"
#include "SvgScan.h"

#include "preview/ToolpathRenderer.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>
#include <gtest/gtest.h>

#include <cmath>

namespace quillon {
namespace {

using svgscan::Shape;

const QRectF kArea(0, 0, 400, 300);

QByteArray drawSvg(const Toolpath& path, PreviewPlane plane, const ToolpathViewport& viewport, int currentRow = -1)
{
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(kArea.size().toSize());
    generator.setViewBox(kArea);
    QPainter painter(&generator);
    ToolpathRenderer::paint(painter, path, plane, viewport, kArea, currentRow);
    painter.end();
    return buffer.data();
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

ToolpathMove arc(int row, ToolPoint from, ToolPoint to, ToolPoint centre, bool clockwise)
{
    ToolpathMove m = move(MoveKind::Arc, row, from, to, clockwise ? 2 : 3);
    m.centre = centre;
    m.clockwise = clockwise;
    m.radius = std::hypot(from.x - centre.x, from.z - centre.z);
    return m;
}

// A small turning job: approach, a cycle, a face, a radius, back out.
Toolpath latheJob()
{
    Toolpath p;
    p.machine = MachineType::Mark4;
    p.billetDiameter = 25.0;
    p.moves.push_back(move(MoveKind::Rapid, 0, lathe(20, 15), lathe(2, 13), 0));
    ToolpathMove cycle = move(MoveKind::Cycle, 1, lathe(2, 13), lathe(-20, 10), 84);
    cycle.label = QStringLiteral("G84");
    p.moves.push_back(cycle);
    p.moves.push_back(move(MoveKind::Feed, 2, lathe(0, 13), lathe(0, 5)));
    p.moves.push_back(move(MoveKind::Feed, 3, lathe(0, 5), lathe(-5, 5)));
    p.moves.push_back(arc(4, lathe(-5, 5), lathe(-10, 10), lathe(-10, 5), true));
    p.moves.push_back(move(MoveKind::Feed, 5, lathe(-10, 10), lathe(-20, 10)));
    p.moves.push_back(move(MoveKind::Rapid, 6, lathe(-20, 10), lathe(20, 15), 0));
    return p;
}

TEST(ToolpathRendererTest, LineStylesTellRapidFeedAndCycleApart)
{
    const Toolpath path = latheJob();
    const ToolpathViewport v = ToolpathRenderer::fit(path, PreviewPlane::LatheXZ, kArea);
    const std::vector<Shape> shapes = svgscan::scan(drawSvg(path, PreviewPlane::LatheXZ, v));

    EXPECT_EQ(svgscan::lines(shapes, ToolpathColours::rapid(), true).size(), 2u);
    EXPECT_TRUE(svgscan::lines(shapes, ToolpathColours::rapid(), false).empty());
    // Three straight feeds and the arc, all solid.
    EXPECT_EQ(svgscan::lines(shapes, ToolpathColours::feed(), false).size(), 4u);
    EXPECT_TRUE(svgscan::lines(shapes, ToolpathColours::feed(), true).empty());
    EXPECT_EQ(svgscan::lines(shapes, ToolpathColours::cycle(), false).size(), 1u);
    // The spindle axis, dash-dot, runs across the whole drawing at radius 0.
    const std::vector<Shape> axis = svgscan::lines(shapes, ToolpathColours::axis(), true);
    ASSERT_EQ(axis.size(), 1u);
    ASSERT_EQ(axis[0].points.size(), 2u);
    EXPECT_NEAR(axis[0].points[0].x(), kArea.left(), 0.01);
    EXPECT_NEAR(axis[0].points[1].x(), kArea.right(), 0.01);
    EXPECT_NEAR(axis[0].points[0].y(), v.toDevice(QPointF(0, 0)).y(), 0.01);

    const QString text = svgscan::allText(shapes);
    EXPECT_TRUE(text.contains(QLatin1String("G84"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String(" mm"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1String("inch"))) << text.toStdString();

    // Every move lies inside the area once fitted, margin kept.
    for (const Shape& s : shapes) {
        const bool move = s.stroke == ToolpathColours::rapid() || s.stroke == ToolpathColours::feed()
                          || s.stroke == ToolpathColours::cycle();
        if (s.element != QLatin1String("polyline") || !move)
            continue;
        for (const QPointF& p : s.points)
            EXPECT_TRUE(kArea.adjusted(20, 20, -20, -20).contains(p)) << p.x() << "," << p.y();
    }
}

TEST(ToolpathRendererTest, BilletOnlyWhenItsDiameterIsKnown)
{
    Toolpath path = latheJob();
    const ToolpathViewport v = ToolpathRenderer::fit(path, PreviewPlane::LatheXZ, kArea);
    auto billets = [&](const Toolpath& p) {
        int n = 0;
        for (const Shape& s : svgscan::scan(drawSvg(p, PreviewPlane::LatheXZ, v)))
            if (s.stroke == ToolpathColours::billet() && s.fill == ToolpathColours::billetFill())
                ++n;
        return n;
    };
    EXPECT_EQ(billets(path), 1);
    // Radius 12.5 from the face at Z 0 back along the cut to Z -20.
    EXPECT_EQ(ToolpathRenderer::billetRect(path), QRectF(QPointF(-20, 0), QPointF(0, 12.5)));
    // A peck that starts in front of the face does not lengthen the billet.
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
    path.billetDiameter.reset();
    EXPECT_EQ(billets(path), 0);
    path.machine = MachineType::F1;
    path.billetDiameter = 25.0;
    EXPECT_FALSE(ToolpathRenderer::billetRect(path).has_value());
}

// Checks an arc drawn from (0|10) to (10|0) about the origin: its chords
// start and end on the end points, stay on the radius, and go round the
// side the turning sense says, once y points down on the device.
void checkQuarter(const Toolpath& path, PreviewPlane plane, bool clockwise)
{
    ToolpathViewport v;
    v.scale = 8.0;
    v.offset = QPointF(200, 150);
    const std::vector<Shape> arcs = svgscan::lines(svgscan::scan(drawSvg(path, plane, v)), ToolpathColours::feed(), false);
    ASSERT_EQ(arcs.size(), 1u);
    const std::vector<QPointF>& pts = arcs[0].points;
    ASSERT_GE(pts.size(), 10u);
    const QPointF centre = v.toDevice(QPointF(0, 0));
    EXPECT_NEAR(pts.front().x(), v.toDevice(QPointF(0, 10)).x(), 0.05);
    EXPECT_NEAR(pts.front().y(), v.toDevice(QPointF(0, 10)).y(), 0.05);
    EXPECT_NEAR(pts.back().x(), v.toDevice(QPointF(10, 0)).x(), 0.05);
    EXPECT_NEAR(pts.back().y(), v.toDevice(QPointF(10, 0)).y(), 0.05);
    for (const QPointF& p : pts)
        EXPECT_NEAR(std::hypot(p.x() - centre.x(), p.y() - centre.y()), 80.0, 0.05);
    // Clockwise from 12 to 3 o'clock is the short way through the upper
    // right; anticlockwise goes the long way round through the lower left.
    const QPointF mid = v.toPlane(pts[pts.size() / 2]);
    if (clockwise) {
        EXPECT_GT(mid.x(), 5.0);
        EXPECT_GT(mid.y(), 5.0);
    } else {
        EXPECT_LT(mid.x(), -5.0);
        EXPECT_LT(mid.y(), -5.0);
    }
}

TEST(ToolpathRendererTest, ArcsKeepEndPointsRadiusAndTurningSense)
{
    for (bool clockwise : {true, false}) {
        SCOPED_TRACE(clockwise ? "clockwise" : "anticlockwise");
        Toolpath lathePath;
        lathePath.machine = MachineType::Mark2;
        lathePath.moves.push_back(arc(0, lathe(0, 10), lathe(10, 0), lathe(0, 0), clockwise));
        checkQuarter(lathePath, PreviewPlane::LatheXZ, clockwise);

        Toolpath millPath;
        millPath.machine = MachineType::F1;
        ToolpathMove m = move(MoveKind::Arc, 0, mill(0, 10, -2), mill(10, 0, -2), clockwise ? 2 : 3);
        m.clockwise = clockwise;
        m.radius = 10;
        millPath.moves.push_back(m);
        checkQuarter(millPath, PreviewPlane::MillTop, clockwise);
    }
}

TEST(ToolpathRendererTest, MillSideViewShowsDepthAndArcReach)
{
    Toolpath path;
    path.machine = MachineType::F1;
    path.moves.push_back(move(MoveKind::Rapid, 0, mill(0, 0, 5), mill(0, 10, 5), 0));
    path.moves.push_back(move(MoveKind::Feed, 1, mill(0, 10, 5), mill(0, 10, -3)));
    // Half a circle to the right: from the side it reaches out to X 10.
    ToolpathMove m = move(MoveKind::Arc, 2, mill(0, 10, -3), mill(0, -10, -3), 2);
    m.clockwise = true;
    m.radius = 10;
    path.moves.push_back(m);
    const QRectF side = ToolpathRenderer::bounds(path, PreviewPlane::MillSide);
    EXPECT_NEAR(side.left(), 0.0, 1e-9);
    EXPECT_NEAR(side.right(), 10.0, 1e-6);
    EXPECT_NEAR(side.top(), -3.0, 1e-9);
    EXPECT_NEAR(side.bottom(), 5.0, 1e-9);
    const QRectF top = ToolpathRenderer::bounds(path, PreviewPlane::MillTop);
    EXPECT_NEAR(top.top(), -10.0, 1e-9);
    EXPECT_NEAR(top.bottom(), 10.0, 1e-9);
    // The plunge is a vertical line from the side, and from above a ring
    // where it goes down (so that it can be seen and clicked).
    const QPolygonF plunge = ToolpathRenderer::planePolyline(path.moves[1], path.machine, PreviewPlane::MillSide);
    EXPECT_EQ(plunge, QPolygonF({QPointF(0, 5), QPointF(0, -3)}));
    ToolpathViewport v;
    v.scale = 10;
    v.offset = QPointF(200, 150);
    const auto rings = [&](PreviewPlane plane) {
        int n = 0;
        for (const Shape& s : svgscan::scan(drawSvg(path, plane, v)))
            if ((s.element == QLatin1String("ellipse") || s.element == QLatin1String("circle"))
                && s.stroke == ToolpathColours::feed())
                ++n;
        return n;
    };
    EXPECT_EQ(rings(PreviewPlane::MillTop), 1);
    EXPECT_EQ(rings(PreviewPlane::MillSide), 0);
    // Its row highlighted, the ring gets the amber underlay too.
    int underlays = 0;
    for (const Shape& s : svgscan::scan(drawSvg(path, PreviewPlane::MillTop, v, 1)))
        if ((s.element == QLatin1String("ellipse") || s.element == QLatin1String("circle"))
            && s.stroke == ToolpathColours::highlight())
            ++underlays;
    EXPECT_EQ(underlays, 1);
}

TEST(ToolpathRendererTest, CurrentRowIsUnderlaidAndStopMessageShown)
{
    Toolpath path = latheJob();
    path.stopMessage = QStringLiteral("Sprungziel N 45 fehlt");
    path.stopRow = 6;
    const ToolpathViewport v = ToolpathRenderer::fit(path, PreviewPlane::LatheXZ, kArea);
    auto underlays = [](const std::vector<Shape>& shapes) {
        return svgscan::lines(shapes, ToolpathColours::highlight(), false);
    };
    const std::vector<Shape> plain = svgscan::scan(drawSvg(path, PreviewPlane::LatheXZ, v, -1));
    EXPECT_TRUE(underlays(plain).empty());
    const std::vector<Shape> marked = svgscan::scan(drawSvg(path, PreviewPlane::LatheXZ, v, 4));
    const std::vector<Shape> under = underlays(marked);
    ASSERT_EQ(under.size(), 1u);
    // The underlay follows the arc of row 4 and the arc is still drawn on it.
    const QPointF arcStart = v.toDevice(planePoint(path.moves[4].from, PreviewPlane::LatheXZ));
    EXPECT_NEAR(under[0].points.front().x(), arcStart.x(), 0.05);
    EXPECT_EQ(svgscan::lines(marked, ToolpathColours::feed(), false).size(), 4u);

    const QString text = svgscan::allText(marked);
    EXPECT_TRUE(text.contains(QLatin1String("Sprungziel N 45 fehlt"))) << text.toStdString();
    // The fitted drawing leaves the note's strip free, however many lines it has.
    path.stopMessage = QStringLiteral("Die Ziel Zeile für den Sprungbefehl ist nicht vorhanden\r\n"
                                      "    06 27             45     \r\n");
    const QRectF note = ToolpathRenderer::stopMessageRect(path, kArea);
    EXPECT_GT(note.height(), 30.0);
    const ToolpathViewport below = ToolpathRenderer::fit(path, PreviewPlane::LatheXZ, kArea);
    const std::vector<Shape> twoLines = svgscan::scan(drawSvg(path, PreviewPlane::LatheXZ, below));
    EXPECT_TRUE(svgscan::allText(twoLines).contains(QLatin1String("06 27"))) << svgscan::allText(twoLines).toStdString();
    for (const Shape& s : svgscan::lines(twoLines, ToolpathColours::feed(), false))
        for (const QPointF& p : s.points)
            EXPECT_GT(p.y(), note.bottom());
    EXPECT_TRUE(ToolpathRenderer::stopMessageRect(latheJob(), kArea).isEmpty());
}

TEST(ToolpathRendererTest, ClickPicksTheNearestMoveOrNothing)
{
    const Toolpath path = latheJob();
    ToolpathViewport v;
    v.scale = 10.0;
    v.offset = QPointF(250, 200);
    const auto at = [&](double z, double x) { return v.toDevice(QPointF(z, x)); };
    // On the face feed (row 2), a little off it.
    EXPECT_EQ(ToolpathRenderer::rowAt(path, PreviewPlane::LatheXZ, v, at(0, 9) + QPointF(3, 0)), 2);
    // On the arc's middle, not on its chord.
    const QPointF onArc = at(-10 + 5 * std::cos(3 * M_PI / 4), 5 + 5 * std::sin(3 * M_PI / 4));
    EXPECT_EQ(ToolpathRenderer::rowAt(path, PreviewPlane::LatheXZ, v, onArc), 4);
    EXPECT_EQ(ToolpathRenderer::rowAt(path, PreviewPlane::LatheXZ, v, at(-7.5, 7.5)), -1);
    // Between two moves the nearer wins; far away nothing.
    EXPECT_EQ(ToolpathRenderer::rowAt(path, PreviewPlane::LatheXZ, v, at(-15, 10) + QPointF(0, 2)), 5);
    EXPECT_EQ(ToolpathRenderer::rowAt(path, PreviewPlane::LatheXZ, v, at(-15, 10) + QPointF(0, 6)), -1);
    EXPECT_EQ(ToolpathRenderer::rowAt(Toolpath{}, PreviewPlane::LatheXZ, v, at(0, 0)), -1);
}

TEST(ToolpathRendererTest, ViewportFitsZoomsAndPans)
{
    const QRectF bounds(QPointF(-20, 0), QPointF(20, 10));
    const ToolpathViewport v = ToolpathViewport::fit(bounds, kArea, 20);
    // Width limits: 360 pixels for 40 units.
    EXPECT_DOUBLE_EQ(v.scale, 9.0);
    EXPECT_EQ(v.toDevice(bounds.center()), kArea.center());
    EXPECT_NEAR(v.toDevice(QPointF(-20, 0)).x(), 20.0, 1e-9);
    // y upward in the plane is downward on the device.
    EXPECT_LT(v.toDevice(QPointF(0, 10)).y(), v.toDevice(QPointF(0, 0)).y());

    ToolpathViewport zoomed = v;
    const QPointF pointer(300, 80);
    const QPointF under = v.toPlane(pointer);
    zoomed.zoomAbout(pointer, 2.0);
    EXPECT_DOUBLE_EQ(zoomed.scale, 18.0);
    EXPECT_NEAR(zoomed.toDevice(under).x(), pointer.x(), 1e-9);
    EXPECT_NEAR(zoomed.toDevice(under).y(), pointer.y(), 1e-9);
    zoomed.pan(QPointF(-30, 12));
    EXPECT_NEAR(zoomed.toDevice(under).x(), 270.0, 1e-9);

    // A single point or nothing at all still gives a usable scale.
    const ToolpathViewport point = ToolpathViewport::fit(QRectF(QPointF(5, 5), QSizeF(0, 0)), kArea, 20);
    EXPECT_TRUE(std::isfinite(point.scale) && point.scale > 0);
    EXPECT_EQ(point.toDevice(QPointF(5, 5)), kArea.center());
}

TEST(ToolpathRendererTest, ScaleBarIsARoundLengthInTheProgramUnits)
{
    struct Case { double scale; double length; };
    for (const Case& c : {Case{8.0, 10.0}, Case{1.0, 50.0}, Case{0.5, 100.0}, Case{40.0, 2.0}, Case{300.0, 0.2}})
        EXPECT_DOUBLE_EQ(ToolpathRenderer::scaleBarLength(c.scale), c.length) << c.scale;
    Toolpath path = latheJob();
    path.inch = true;
    ToolpathViewport v;
    v.scale = 8.0;
    v.offset = QPointF(200, 150);
    const QString text = svgscan::allText(svgscan::scan(drawSvg(path, PreviewPlane::LatheXZ, v)));
    EXPECT_TRUE(text.contains(QLatin1String("10 inch"))) << text.toStdString();
}

}  // namespace
}  // namespace quillon

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

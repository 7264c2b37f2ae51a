// Small programs of each machine, walked and drawn: what the drawing shows
// must be what the machine does.

#include "QtPrinters.h"
#include "SvgScan.h"

#include "editing/ParameterRules.h"
#include "model/CodeTables.h"
#include "model/MachineProfile.h"
#include "model/NumberFormat.h"
#include "preview/ToolpathRenderer.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>

namespace quillon {
namespace {

using svgscan::Shape;
using Value = std::optional<long long>;

// One program line: the code as in the code lists and the values of the
// five slots (X, Y, Z, F, H) in the machine's units, as typed into the form.
struct Line {
    const char* code;
    std::array<Value, 5> values{};
};

Program program(MachineType machine, std::initializer_list<Line> lines, Units units = Units::Metric,
                const QString& description = {})
{
    CodeTables tables;
    tables.GetCommands(machine, false);
    const ColumnNumbers& c = machineProfile(machine).columns;
    const int columns[] = {c.x, c.y, c.z, c.f, c.h};
    Program p;
    p.units = units;
    p.description = description;
    for (const Line& line : lines) {
        const QString code = QString::fromLatin1(line.code);
        const CodeEntry* entry = tables.findCode(code);
        EXPECT_TRUE(entry) << line.code;
        ProgramRow row;
        row.setColumn(c.mark, QStringLiteral(" "));
        row.setColumn(c.n, strFormatNumber(QString::number(p.rows.size()), 3, false));
        row.setColumn(c.g, code.startsWith(QLatin1Char('M')) ? code : QLatin1Char(' ') + code.right(2));
        for (int slot = 1; slot <= 5; ++slot) {
            const int width = slotColumnWidth(machine, slot);
            if (width == 0)
                continue;
            const Value& v = line.values[static_cast<std::size_t>(slot - 1)];
            const QString letter = entry ? entry->slotLetters[static_cast<std::size_t>(slot - 1)] : QString();
            row.setColumn(columns[slot - 1], v && !letter.isEmpty() ? strSlotText(machine, slot, letter, *v)
                                                                    : QString(width, QLatin1Char(' ')));
        }
        p.rows.push_back(row);
    }
    return p;
}

// Lathe lines: X (a diameter) and Z in 1/100 mm.
Line line(const char* code, Value x, Value y, Value z, Value f, Value h)
{
    Line l{code};
    l.values = {x, y, z, f, h};
    return l;
}
Line lx(const char* code, Value x, Value z, Value f = {}, Value h = {}) { return line(code, x, {}, z, f, h); }
Line mx(const char* code, Value x, Value y, Value z, Value f = {}) { return line(code, x, y, z, f, {}); }
// A code with at most the F column (where calls and jumps keep their L).
Line only(const char* code, Value f = {}) { return line(code, {}, {}, {}, f, {}); }

const QRectF kArea(0, 0, 600, 400);

std::vector<Shape> draw(const Toolpath& path, PreviewPlane plane, ToolpathViewport* used = nullptr)
{
    const ToolpathViewport v = ToolpathRenderer::fit(path, plane, kArea);
    if (used)
        *used = v;
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(kArea.size().toSize());
    generator.setViewBox(kArea);
    QPainter painter(&generator);
    ToolpathRenderer::paint(painter, path, plane, v, kArea, -1);
    painter.end();
    return svgscan::scan(buffer.data());
}

std::size_t rapids(const std::vector<Shape>& s) { return svgscan::lines(s, ToolpathColours::rapid(), true).size(); }
std::size_t feeds(const std::vector<Shape>& s) { return svgscan::lines(s, ToolpathColours::feed(), false).size(); }

TEST(ToolpathProgramTest, Mark4MovesArcsAndTheirTurningSense)
{
    const Program p = program(MachineType::Mark4, {
        only("G90"),
        lx("G00", 1000, 200),
        lx("G01", 1000, -1000, 100),
        lx("G02", 2000, -1500, 100),  // a quarter circle of radius 5 out to diameter 20
        lx("G01", 2000, -3000, 100),
        lx("G00", 3000, 500),
        only("M30"),
    });
    const Toolpath path = buildToolpath(p, MachineType::Mark4);
    ASSERT_TRUE(path.stopMessage.isEmpty()) << path.stopMessage.toStdString();
    ToolpathViewport v;
    const std::vector<Shape> shapes = draw(path, PreviewPlane::LatheXZ, &v);
    EXPECT_EQ(rapids(shapes), 2u);
    EXPECT_EQ(feeds(shapes), 3u);  // two straight feeds and the arc

    // The arc in the SVG: from radius 5 at Z -10 to radius 10 at Z -15, every
    // chord point one radius (5 mm) from its centre.
    const auto arc = std::find_if(path.moves.begin(), path.moves.end(),
                                  [](const ToolpathMove& m) { return m.kind == MoveKind::Arc; });
    ASSERT_NE(arc, path.moves.end());
    EXPECT_EQ(arc->row, 3);
    EXPECT_NEAR(arc->radius, 5.0, 1e-6);
    const QPointF start = v.toDevice(QPointF(-10, 5));
    const QPointF end = v.toDevice(QPointF(-15, 10));
    const QPointF centre = v.toDevice(planePoint(arc->centre, PreviewPlane::LatheXZ));
    const std::vector<Shape> solid = svgscan::lines(shapes, ToolpathColours::feed(), false);
    const auto withChords = std::find_if(solid.begin(), solid.end(), [](const Shape& s) { return s.points.size() > 2; });
    ASSERT_NE(withChords, solid.end());
    EXPECT_NEAR(withChords->points.front().x(), start.x(), 0.05);
    EXPECT_NEAR(withChords->points.front().y(), start.y(), 0.05);
    EXPECT_NEAR(withChords->points.back().x(), end.x(), 0.05);
    EXPECT_NEAR(withChords->points.back().y(), end.y(), 0.05);
    for (const QPointF& q : withChords->points)
        EXPECT_NEAR(std::hypot(q.x() - centre.x(), q.y() - centre.y()), 5.0 * v.scale, 0.05);
    // Clockwise on a lathe drawing (Z right, X up) from (-10|5) to (-15|10)
    // bulges towards the spindle end: the middle lies left of the chord's middle.
    const QPointF mid = v.toPlane(withChords->points[withChords->points.size() / 2]);
    EXPECT_LT(mid.x() + mid.y(), -12.5 + 7.5 - 1.0) << mid.x() << "," << mid.y();
}

TEST(ToolpathProgramTest, Mark4PeckDrillingAndACallFollowed)
{
    const Program p = program(MachineType::Mark4, {
        only("G90"),
        lx("G00", 0, 200),
        lx("G83", {}, -2000, 50),  // deep hole 20 mm: pecks of 6 mm, each one 0.5 mm back
        lx("G00", 2000, 200),
        only("G25", 7),
        only("G25", 7),
        only("M30"),
        lx("G01", 1800, -500, 100),
        lx("G00", 2000, 200),
        only("M17"),
    });
    const Toolpath path = buildToolpath(p, MachineType::Mark4);
    ASSERT_TRUE(path.stopMessage.isEmpty()) << path.stopMessage.toStdString();

    // The pecks: feeds of row 2, each deeper than the one before, the last to
    // the target, and out to the start after each.
    std::vector<double> depths;
    int outs = 0;
    for (const ToolpathMove& m : path.moves) {
        if (m.row != 2)
            continue;
        EXPECT_EQ(m.code, 83);
        EXPECT_NEAR(m.to.x, 0.0, 1e-9);  // on the spindle axis
        if (m.kind == MoveKind::Feed)
            depths.push_back(m.to.z);
        else if (m.kind == MoveKind::Rapid && std::abs(m.to.z - 2.0) < 1e-6)
            ++outs;
    }
    ASSERT_GE(depths.size(), 4u);
    for (std::size_t i = 1; i < depths.size(); ++i)
        EXPECT_LT(depths[i], depths[i - 1]);
    EXPECT_NEAR(depths.front(), 2.0 - 6.0, 1e-4);
    EXPECT_NEAR(depths.back(), -20.0, 1e-4);
    EXPECT_EQ(outs, static_cast<int>(depths.size()));

    // The subroutine (rows 7 and 8) is drawn once per call.
    const auto ofRow = [&](int row) {
        return std::count_if(path.moves.begin(), path.moves.end(), [row](const ToolpathMove& m) { return m.row == row; });
    };
    EXPECT_EQ(ofRow(7), 2);
    EXPECT_EQ(ofRow(8), 2);
    // In the SVG: the pecks' feeds and the two subroutine feeds, all solid.
    const std::vector<Shape> shapes = draw(path, PreviewPlane::LatheXZ);
    EXPECT_EQ(feeds(shapes), depths.size() + 2);
}

TEST(ToolpathProgramTest, LatheCyclesAreContoursWithTheirLabelAndTheBillet)
{
    const Program p = program(MachineType::Mark2, {
        only("G90"),
        lx("G00", 2600, 200),
        lx("G84", 2000, -3000, 100),
        lx("G00", 3000, 500),
        only("G22"),  // the Mark 2's program end
    }, Units::Metric, QStringLiteral("Welle\r\nBillet diam. 26 mm"));
    const Toolpath path = buildToolpath(p, MachineType::Mark2);
    ASSERT_TRUE(path.stopMessage.isEmpty()) << path.stopMessage.toStdString();
    EXPECT_EQ(path.billetDiameter, std::optional<double>(26.0));
    const std::vector<Shape> shapes = draw(path, PreviewPlane::LatheXZ);
    EXPECT_GE(svgscan::lines(shapes, ToolpathColours::cycle(), false).size(), 2u);
    const QString text = svgscan::allText(shapes);
    EXPECT_EQ(text.count(QLatin1String("G84")), 1) << text.toStdString();
    // The billet: radius 13 from the face back along the cycle's length.
    const std::optional<QRectF> billet = ToolpathRenderer::billetRect(path);
    ASSERT_TRUE(billet.has_value());
    EXPECT_DOUBLE_EQ(billet->top() + billet->height(), 13.0);
    EXPECT_DOUBLE_EQ(billet->right(), 0.0);
    EXPECT_DOUBLE_EQ(billet->left(), -30.0);
}

TEST(ToolpathProgramTest, F1TopAndSideViewsOfAPocketAndAnArc)
{
    const Program p = program(MachineType::F1, {
        only("G90"),
        mx("G00", 0, 0, 200),
        mx("G01", 0, 0, -100, 50),
        mx("G01", 2000, 0, -100, 100),
        mx("G03", 3000, 1000, -100, 100),  // quarter circle, radius 10, anticlockwise from above
        mx("G00", 3000, 1000, 200),
        mx("G72", 1500, 800, -300, 60),
        only("M30"),
    });
    const Toolpath path = buildToolpath(p, MachineType::F1);
    ASSERT_TRUE(path.stopMessage.isEmpty()) << path.stopMessage.toStdString();
    const std::vector<Shape> top = draw(path, PreviewPlane::MillTop);
    EXPECT_EQ(rapids(top), 2u);
    EXPECT_EQ(feeds(top), 3u);
    EXPECT_TRUE(svgscan::allText(top).contains(QLatin1String("G72")));

    const auto arc = std::find_if(path.moves.begin(), path.moves.end(),
                                  [](const ToolpathMove& m) { return m.kind == MoveKind::Arc; });
    ASSERT_NE(arc, path.moves.end());
    EXPECT_FALSE(arc->clockwise);
    EXPECT_NEAR(arc->radius, 10.0, 1e-6);
    EXPECT_NEAR(arc->centre.x, 20.0, 1e-6);
    EXPECT_NEAR(arc->centre.y, 10.0, 1e-6);
    // Anticlockwise from (20|0) to (30|10) about (20|10) passes below and right.
    const QPolygonF chords = ToolpathRenderer::planePolyline(*arc, MachineType::F1, PreviewPlane::MillTop);
    const QPointF mid = chords[chords.size() / 2];
    EXPECT_GT(mid.x(), 25.0);
    EXPECT_LT(mid.y(), 5.0);

    // From the side the plunge is a vertical line and the arc a level one.
    const QRectF side = ToolpathRenderer::bounds(path, PreviewPlane::MillSide);
    EXPECT_NEAR(side.bottom(), 2.0, 1e-6);
    EXPECT_NEAR(side.top(), -3.0, 1e-6);
    const QPolygonF level = ToolpathRenderer::planePolyline(*arc, MachineType::F1, PreviewPlane::MillSide);
    for (const QPointF& q : level)
        EXPECT_NEAR(q.y(), -1.0, 1e-6);
}

TEST(ToolpathProgramTest, AWalkThatCannotFinishDrawsWhatItHadAndSaysWhy)
{
    const Program p = program(MachineType::Mark4, {
        only("G90"),
        lx("G00", 1000, 200),
        lx("G01", 1000, -1000, 100),
        only("G27", 45),
        only("M30"),
    });
    const Toolpath path = buildToolpath(p, MachineType::Mark4);
    ASSERT_FALSE(path.stopMessage.isEmpty());
    EXPECT_EQ(path.stopRow, 3);
    const std::vector<Shape> shapes = draw(path, PreviewPlane::LatheXZ);
    EXPECT_EQ(rapids(shapes), 1u);
    EXPECT_EQ(feeds(shapes), 1u);
    const QString text = svgscan::allText(shapes);
    EXPECT_TRUE(text.contains(QStringLiteral("Die Ziel Zeile für den Sprungbefehl ist nicht vorhanden"))) << text.toStdString();
}

}  // namespace
}  // namespace quillon

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#pragma once

// Reads back what QSvgGenerator wrote: every drawn shape with the stroke it
// inherits from its groups, points already in device pixels.

#include <QColor>
#include <QPointF>
#include <QRegularExpression>
#include <QStringList>
#include <QTransform>
#include <QXmlStreamReader>
#include <vector>

namespace quillon::svgscan {

struct Shape {
    QString element;  // polyline, polygon, path, text, ...
    QColor stroke;    // invalid when none
    std::vector<QPointF> points;  // polylines and polygons
    QString text;                 // text elements
};

inline std::vector<Shape> scan(const QByteArray& svg)
{
    struct Style {
        QColor stroke;
        QTransform transform;
    };
    const auto colour = [](const QStringView value) { return value.isEmpty() || value == u"none" ? QColor() : QColor(value.toString()); };
    static const QRegularExpression matrix(QStringLiteral("matrix\\(([^)]*)\\)"));
    std::vector<Style> stack{Style{}};
    std::vector<Shape> shapes;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == u"g" && stack.size() > 1)
            stack.pop_back();
        if (!xml.isStartElement())
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        Style style = stack.back();
        if (a.hasAttribute("stroke"))
            style.stroke = colour(a.value("stroke"));
        const QStringList n = matrix.match(a.value("transform").toString()).captured(1).split(QRegularExpression("[ ,]+"), Qt::SkipEmptyParts);
        if (n.size() == 6)
            style.transform = QTransform(n[0].toDouble(), n[1].toDouble(), n[2].toDouble(), n[3].toDouble(), n[4].toDouble(), n[5].toDouble()) * style.transform;
        if (xml.name() == u"g") {
            stack.push_back(style);
            continue;
        }
        Shape shape{xml.name().toString(), style.stroke, {}, {}};
        for (const QString& pair : a.value("points").toString().split(' ', Qt::SkipEmptyParts)) {
            const QStringList xy = pair.split(',');
            if (xy.size() == 2)
                shape.points.push_back(style.transform.map(QPointF(xy[0].toDouble(), xy[1].toDouble())));
        }
        if (shape.element == u"text")
            shape.text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        shapes.push_back(shape);
    }
    return shapes;
}

// Open lines (not filled shapes) drawn in `stroke`.
inline std::vector<Shape> lines(const std::vector<Shape>& shapes, const QColor& stroke)
{
    std::vector<Shape> result;
    for (const Shape& s : shapes)
        if (s.element == u"polyline" && s.stroke == stroke)
            result.push_back(s);
    return result;
}

inline QString allText(const std::vector<Shape>& shapes)
{
    QStringList texts;
    for (const Shape& s : shapes)
        if (!s.text.isEmpty())
            texts << s.text.simplified();
    return texts.join('\n');
}

}  // namespace quillon::svgscan

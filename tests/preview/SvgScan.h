#pragma once

// Reads back what QSvgGenerator wrote: every drawn shape with the stroke it
// inherits from its groups, points already in device pixels.

#include <QByteArray>
#include <QColor>
#include <QPointF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <QXmlStreamReader>
#include <vector>

namespace quillon::svgscan {

struct Shape {
    QString element;   // polyline, polygon, path, text, ...
    QColor stroke;     // invalid when none
    QColor fill;
    bool dashed = false;
    std::vector<QPointF> points;  // polylines and polygons
    QString text;                 // text elements
};

inline QColor colourOf(const QString& value)
{
    if (value.isEmpty() || value == QLatin1String("none"))
        return QColor();
    return QColor(value);
}

inline QTransform transformOf(const QString& value)
{
    static const QRegularExpression matrix(QStringLiteral("matrix\\(([^)]*)\\)"));
    const QRegularExpressionMatch m = matrix.match(value);
    if (!m.hasMatch())
        return QTransform();
    const QStringList n = m.captured(1).split(QRegularExpression(QStringLiteral("[ ,]+")), Qt::SkipEmptyParts);
    if (n.size() != 6)
        return QTransform();
    return QTransform(n[0].toDouble(), n[1].toDouble(), n[2].toDouble(), n[3].toDouble(), n[4].toDouble(),
                      n[5].toDouble());
}

inline std::vector<Shape> scan(const QByteArray& svg)
{
    struct Style {
        QColor stroke;
        QColor fill;
        bool dashed = false;
        QTransform transform;
    };
    std::vector<Style> stack{Style{}};
    std::vector<Shape> shapes;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("g") && stack.size() > 1)
                stack.pop_back();
            continue;
        }
        if (!xml.isStartElement())
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        Style style = stack.back();
        if (a.hasAttribute(QLatin1String("stroke")))
            style.stroke = colourOf(a.value(QLatin1String("stroke")).toString());
        if (a.hasAttribute(QLatin1String("fill")))
            style.fill = colourOf(a.value(QLatin1String("fill")).toString());
        if (a.hasAttribute(QLatin1String("stroke-dasharray")))
            style.dashed = a.value(QLatin1String("stroke-dasharray")) != QLatin1String("none");
        if (a.hasAttribute(QLatin1String("transform")))
            style.transform = transformOf(a.value(QLatin1String("transform")).toString()) * style.transform;
        if (xml.name() == QLatin1String("g")) {
            stack.push_back(style);
            continue;
        }
        Shape shape;
        shape.element = xml.name().toString();
        shape.stroke = style.stroke;
        shape.fill = style.fill;
        shape.dashed = style.dashed;
        const QString points = a.value(QLatin1String("points")).toString();
        for (const QString& pair : points.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QStringList xy = pair.split(QLatin1Char(','));
            if (xy.size() == 2)
                shape.points.push_back(style.transform.map(QPointF(xy[0].toDouble(), xy[1].toDouble())));
        }
        if (shape.element == QLatin1String("text"))
            shape.text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        shapes.push_back(shape);
    }
    return shapes;
}

// Open lines (not filled shapes) drawn in `stroke`, dashed or solid.
inline std::vector<Shape> lines(const std::vector<Shape>& shapes, const QColor& stroke, bool dashed)
{
    std::vector<Shape> result;
    for (const Shape& s : shapes)
        if (s.element == QLatin1String("polyline") && s.stroke == stroke && s.dashed == dashed)
            result.push_back(s);
    return result;
}

inline QString allText(const std::vector<Shape>& shapes)
{
    QStringList texts;
    for (const Shape& s : shapes)
        if (!s.text.isEmpty())
            texts << s.text.simplified();
    return texts.join(QLatin1Char('\n'));
}

}  // namespace quillon::svgscan

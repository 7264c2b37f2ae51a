#include "MoveText.h"

#include "ExportNumber.h"

#include <QStringList>

namespace quillon {

QString strMoveLine(int lineNumber, const ToolMove& move, const ExportUnits& units)
{
    const auto coord = [&units](float v) { return strExportNumber(v, units.coordinateDecimals); };
    QString line = QStringLiteral("N%1 G%2").arg(lineNumber).arg(move.code);
    if (move.code == 4)
        return line + QStringLiteral(" X") + QString::number(double(move.dwell), 'g', 7);

    line += QStringLiteral(" X") + coord(move.x) + QStringLiteral(" Z") + coord(move.z);
    if (move.radius)
        line += QStringLiteral(" R") + coord(*move.radius);
    if (move.feed)
        line += (move.radius ? QStringLiteral("F") : QStringLiteral(" F"))
                + strExportNumber(*move.feed, units.feedDecimals);
    if (move.pitch)
        line += QStringLiteral(" F") + coord(*move.pitch);
    if (move.h)
        line += QStringLiteral(" H") + coord(*move.h);
    return line;
}

QString strMoveLines(int& counter, const std::vector<ToolMove>& moves, const ExportUnits& units)
{
    QStringList lines;
    for (const ToolMove& move : moves) {
        counter += 10;
        lines << strMoveLine(counter, move, units);
    }
    return lines.join(QStringLiteral("\r\n"));
}

QString strDrilling(int& counter, float zt, int code, const CycleStart& start, const ExportUnits& units)
{
    return strMoveLines(counter, drillingMoves(start, zt, code), units);
}

QString strChipBreakageG73(int& counter, float zt, const CycleStart& start, const ExportUnits& units)
{
    return strMoveLines(counter, chipBreakageG73Moves(start, zt, units.inch), units);
}

QString strDrillDeepG83(int& counter, float zt, const CycleStart& start, const ExportUnits& units)
{
    return strMoveLines(counter, drillDeepG83Moves(start, zt, units.inch), units);
}

}  // namespace quillon

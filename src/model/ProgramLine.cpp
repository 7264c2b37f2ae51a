#include "ProgramLine.h"

#include "MachineProfile.h"

#include <algorithm>

namespace quillon {

namespace {

// Characters from 1-based `position` on; past the end of the line the piece
// is shorter or empty, never an error.
QString piece(const QString& line, int position, int count)
{
    return line.mid(position - 1, count);
}

QString rest(const QString& line, int position)
{
    return line.mid(position - 1);
}

// A field filled out to its place in the line. A field cut short by a short
// line gets blanks where the line ended, so the written line reads back as
// the same fields and saving it again writes the same bytes.
QString placed(const QString& field, int width)
{
    return field.size() >= width ? field : field + QString(width - field.size(), QLatin1Char(' '));
}

// A Mark 2 field in memory carries one character in front of its place (the
// blank standing for the address letter); a full field gives its last
// characters, a short one drops that blank and is filled out behind.
QString mark2Placed(const QString& field, int width)
{
    return field.size() > width ? field.right(width) : placed(field.mid(1), width);
}

// Only blanks count as blank in front of a unit or "%" mark; a tab or a
// no-break space there makes the line a program row.
QChar firstNonBlank(const QString& line)
{
    for (qsizetype i = 0; i < std::min<qsizetype>(5, line.size()); ++i)
        if (line[i] != QLatin1Char(' '))
            return line[i];
    return QChar();
}

}  // namespace

ParsedLine parseProgramLine(const QString& line, bool blnNew, MachineType machine)
{
    ParsedLine result;
    const QChar first = firstNonBlank(line);
    if (first == QLatin1Char('%'))
        return result;
    if (first == QLatin1Char('M') || first == QLatin1Char('"')) {
        result.kind = ParsedLine::Kind::UnitSwitch;
        result.units = first == QLatin1Char('M') ? Units::Metric : Units::Imperial;
        return result;
    }

    result.kind = ParsedLine::Kind::Row;
    const ColumnNumbers& c = machineProfile(machine).columns;
    ProgramRow& row = result.row;
    row.setColumn(c.mark, blnNew ? QStringLiteral("+") : QStringLiteral(" "));
    const QString blank(QLatin1Char(' '));
    switch (machine) {
    case MachineType::Mark2:
        row.setColumn(c.n, blank + piece(line, 5, 2));
        row.setColumn(c.g, blank + piece(line, 9, 2));
        row.setColumn(c.x, blank + piece(line, 13, 5));
        row.setColumn(c.z, blank + piece(line, 20, 6));
        row.setColumn(c.f, blank + piece(line, 28, 3));
        break;
    case MachineType::Mark4:
        row.setColumn(c.n, piece(line, 4, 3));
        row.setColumn(c.g, piece(line, 7, 3));
        row.setColumn(c.x, piece(line, 10, 6));
        row.setColumn(c.z, piece(line, 16, 7));
        row.setColumn(c.f, piece(line, 23, 4));
        row.setColumn(c.h, piece(line, 27, 4));
        break;
    case MachineType::F1:
        row.setColumn(c.n, piece(line, 4, 3));
        row.setColumn(c.g, piece(line, 7, 3));
        row.setColumn(c.x, piece(line, 10, 6));
        row.setColumn(c.y, piece(line, 16, 5));
        row.setColumn(c.z, piece(line, 21, 6));
        row.setColumn(c.f, piece(line, 27, 4));
        break;
    case MachineType::None:
        break;
    }
    row.setColumn(c.comment, rest(line, 32));
    return result;
}

void StoreRow(const QString& line, bool blnNew, MachineType machine, RowSink& sink)
{
    const TraceScope trace(sink.tracer(), "modQuillon", "StoreRow");
    const ParsedLine parsed = parseProgramLine(line, blnNew, machine);
    switch (parsed.kind) {
    case ParsedLine::Kind::Row: sink.appendRow(parsed.row); break;
    case ParsedLine::Kind::UnitSwitch: sink.SetUnitMode(parsed.units); break;
    case ParsedLine::Kind::Ignored: break;
    }
}

QString programLineText(const ProgramRow& row, MachineType machine)
{
    const ColumnNumbers& c = machineProfile(machine).columns;
    return programLineFields(row, machine) + QLatin1Char(' ') + row.column(c.comment);
}

QString programLineFields(const ProgramRow& row, MachineType machine)
{
    const ColumnNumbers& c = machineProfile(machine).columns;
    QString line = QStringLiteral("   ");
    switch (machine) {
    case MachineType::F1:
        line += placed(row.column(c.n), 3) + placed(row.column(c.g), 3) + placed(row.column(c.x), 6)
                + placed(row.column(c.y), 5) + placed(row.column(c.z), 6) + placed(row.column(c.f), 4);
        break;
    case MachineType::Mark4:
        line += placed(row.column(c.n), 3) + placed(row.column(c.g), 3) + placed(row.column(c.x), 6)
                + placed(row.column(c.z), 7) + placed(row.column(c.f), 4) + placed(row.column(c.h), 4);
        break;
    case MachineType::Mark2:
        line += QLatin1String("N") + mark2Placed(row.column(c.n), 2)
                + QLatin1String(" G") + mark2Placed(row.column(c.g), 2)
                + QLatin1String(" X") + mark2Placed(row.column(c.x), 5)
                + QLatin1String(" Z") + mark2Placed(row.column(c.z), 6)
                + QLatin1String(" F") + mark2Placed(row.column(c.f), 3);
        break;
    case MachineType::None:
        break;
    }
    return line;
}

}  // namespace quillon

#include "ProgramLine.h"

#include "MachineProfile.h"

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

QString lastChars(const QString& field, int count)
{
    return field.right(count);
}

}  // namespace

ParsedLine parseProgramLine(const QString& line, bool blnNew, MachineType machine)
{
    ParsedLine result;
    const QString lead = line.left(5).trimmed();
    const QChar first = lead.isEmpty() ? QChar() : lead[0];
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
        line += row.column(c.n) + row.column(c.g) + row.column(c.x) + row.column(c.y)
                + row.column(c.z) + row.column(c.f);
        break;
    case MachineType::Mark4:
        line += row.column(c.n) + row.column(c.g) + row.column(c.x) + row.column(c.z)
                + row.column(c.f) + row.column(c.h);
        break;
    case MachineType::Mark2:
        line += QLatin1String("N") + lastChars(row.column(c.n), 2)
                + QLatin1String(" G") + lastChars(row.column(c.g), 2)
                + QLatin1String(" X") + lastChars(row.column(c.x), 5)
                + QLatin1String(" Z") + lastChars(row.column(c.z), 6)
                + QLatin1String(" F") + lastChars(row.column(c.f), 3);
        break;
    case MachineType::None:
        break;
    }
    return line;
}

}  // namespace quillon

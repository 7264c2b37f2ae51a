#include "ProgramText.h"

#include "Cp1252.h"
#include "model/MachineProfile.h"
#include "model/ProgramLine.h"

namespace quillon {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kHeaderStart = QStringLiteral("    N` G`");

}  // namespace

QString columnHeaderLine(MachineType machine)
{
    switch (machine) {
    case MachineType::F1: return QStringLiteral("    N` G`  X  `  Y `   Z ` F  ");
    case MachineType::Mark4: return QStringLiteral("    N` G`   X `    Z `  F`  H ");
    default: return QString();
    }
}

QString strFileOutBuff(const Program& program, MachineType machine, TraceSink* trace)
{
    const TraceScope scope(trace, "modQuillon", "strFileOutBuff");
    // Only blanks are trimmed at the ends; tabs and line breaks inside stay.
    const QString& d = program.description;
    qsizetype begin = 0;
    qsizetype end = d.size();
    while (begin < end && d[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && d[end - 1] == QLatin1Char(' '))
        --end;
    QString notes = d.mid(begin, end - begin);
    while (notes.endsWith(kCrLf))
        notes.chop(2);

    QString text;
    text.reserve(64 + qsizetype(program.rows.size()) * 48 + notes.size());
    if (!notes.isEmpty())
        text += notes + kCrLf;
    text += QLatin1String("%") + kCrLf;
    if (machine == MachineType::F1 || machine == MachineType::Mark4)
        text += columnHeaderLine(machine) + kCrLf;
    for (const ProgramRow& row : program.rows)
        text += programLineText(row, machine) + kCrLf;
    text += program.units == Units::Metric ? QStringLiteral("   M") : QStringLiteral("   \"");
    return text;
}

DecodeResult blnDecodeBuffer(const QString& input, MachineType machine, Units currentUnits, TraceSink* trace)
{
    const TraceScope scope(trace, "modQuillon", "blnDecodeBuffer");
    DecodeResult result;
    result.program.units = currentUnits;
    result.message = QStringLiteral("Diese Datei kann nicht gelesen werden, Sie enthält kein CNC Programm für ")
                     + machineProfile(machine).machineName;

    QString text = input;
    text.remove(QChar(0));

    const qsizetype percent = text.indexOf(QLatin1Char('%'));
    QStringView remaining(text);
    if (percent > 0) {
        result.program.description = text.left(percent);
        remaining = remaining.mid(percent);
    }

    const QString header = columnHeaderLine(machine);
    bool found = false;
    bool valid = true;
    qsizetype counted = 0;  // line feeds before this offset are in lineFeeds
    int lineFeeds = 0;
    while (!remaining.isEmpty() && valid) {
        const qsizetype lineStart = remaining.data() - text.constData();
        lineFeeds += int(QStringView(text).mid(counted, lineStart - counted).count(QLatin1Char('\n')));
        counted = lineStart;
        QStringView line;
        const qsizetype lineEnd = remaining.indexOf(kCrLf);
        if (lineEnd < 0) {
            line = remaining;
            remaining = QStringView();
        } else {
            line = remaining.left(lineEnd);
            remaining = remaining.mid(lineEnd + 2);
        }

        if (line.startsWith(kHeaderStart)) {
            if (machine == MachineType::Mark2)
                continue;
            if (line == header)
                found = true;
            else
                valid = false;
            continue;
        }
        if (machine == MachineType::Mark2 && line.left(6) == QLatin1String("   N00"))
            found = true;

        const TraceScope store(trace, "modQuillon", "StoreRow");
        const ParsedLine parsed = parseProgramLine(line.toString(), false, machine);
        if (parsed.kind == ParsedLine::Kind::Row) {
            result.program.rows.push_back(parsed.row);
            result.rowLines.push_back(lineFeeds + 1);
        } else if (parsed.kind == ParsedLine::Kind::UnitSwitch) {
            result.program.units = parsed.units;
            result.unitsSeen = true;
        }
    }

    result.accepted = found && valid && machine != MachineType::None;
    if (result.accepted)
        result.message.clear();
    return result;
}

QString programTextProblem(const Program& program, MachineType machine)
{
    if (program.description.contains(QLatin1Char('%')))
        return QStringLiteral("Die Programmbeschreibung darf kein Prozentzeichen (%) enthalten.");

    QString bad;
    auto collect = [&bad](const QString& text) {
        // Nearly every field is plain; only those that are not are encoded
        // to learn which characters fail, which saves an encoding per field.
        if (isCp1252Encodable(text))
            return;
        const Cp1252Encoding enc = encodeCp1252(text);
        for (const QChar c : enc.unencodable)
            if (!bad.contains(c))
                bad += c;
    };
    collect(program.description);
    for (const ProgramRow& row : program.rows) {
        for (const QString& column : row.columns) {
            // Only CR LF ends a line for the reader; a lone CR or LF, as a
            // file may carry one, stays inside its row.
            if (column.contains(kCrLf))
                return QStringLiteral("Ein Kommentar enthält einen Zeilenumbruch.");
            collect(column);
        }
    }
    if (!bad.isEmpty())
        return QStringLiteral("Diese Zeichen können in einer CNC Datei nicht gespeichert werden: ") + bad;

    for (std::size_t i = 0; i < program.rows.size(); ++i) {
        const QString line = programLineText(program.rows[i], machine);
        if (line.startsWith(kHeaderStart) || line.contains(kCrLf)
            || parseProgramLine(line, false, machine).kind != ParsedLine::Kind::Row) {
            return QStringLiteral("Zeile %1 des Programms ist beschädigt und würde beim Lesen verloren gehen.")
                .arg(i + 1);
        }
    }
    return QString();
}

}  // namespace quillon

#include "ExtractCode.h"

#include "files/ProgramText.h"

#include <QStringList>
#include "model/NumberFormat.h"

#include <cmath>

namespace quillon {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// 1-based positions; a short line gives a short or empty piece.
QString piece(const QString& line, int from, int to)
{
    return line.mid(from - 1, to - from + 1);
}

QChar charAt(const QString& line, int position)
{
    return position <= line.size() ? line[position - 1] : QChar(QLatin1Char(' '));
}

// The editor writes a value column as a blank (or address letter) and the
// signed number, so the sign stands in the column's second place; a column
// written by other means may carry it in the first, where a letter column
// never holds a minus.
QChar signAt(const QString& line, int position)
{
    return charAt(line, position - 1) == QLatin1Char('-') ? QChar(QLatin1Char('-')) : charAt(line, position);
}

void removeFirst(QString& line, QChar c)
{
    const qsizetype at = line.indexOf(c);
    if (at >= 0)
        line.remove(at, 1);
}

// Mark 2 lines carry their address letters; without them the fields stand
// where a Mark 4 line has them (comment from position 28).
QString onMark4Positions(QString line)
{
    const qsizetype n = line.indexOf(QLatin1Char('N'));
    if (n >= 0)
        line[n] = QLatin1Char(' ');
    for (const char letter : {'G', 'X', 'Z', 'F'})
        removeFirst(line, QLatin1Char(letter));
    return line;
}

LineRecord makeRecord(const QString& original, const QString& line, MachineType machine)
{
    LineRecord r;
    r.text = original;
    r.lineNumber = fieldNumber(piece(line, 4, 6));
    r.codeLetter = piece(line, 7, 7).trimmed();
    r.code = fieldNumber(piece(line, 8, 9));
    r.xSign = signAt(line, 11);
    r.xDigits = piece(line, 12, 15).trimmed();
    r.zSign = signAt(line, 17);
    r.zDigits = piece(line, 18, 22).trimmed();
    r.fDigits = piece(line, 24, 26).trimmed();
    if (machine == MachineType::Mark4)
        r.hDigits = piece(line, 28, 30).trimmed();
    r.comment = line.mid(machine == MachineType::Mark4 ? 31 : 27).trimmed();
    return r;
}

// A mill value column holds a sign, or the letter of the parameter it
// carries (I, J, K of the circle, D, S, O, T of the tool change), then the
// digits; the sign may also follow a blank when the column was typed by hand.
void splitMillField(const QString& field, QChar& sign, QString& digits)
{
    QString rest = field.trimmed();
    if (!rest.isEmpty() && rest[0].isLetter())
        rest = rest.mid(1).trimmed();
    sign = QLatin1Char(' ');
    if (rest.startsWith(QLatin1Char('-'))) {
        sign = QLatin1Char('-');
        rest = rest.mid(1);
    } else if (rest.startsWith(QLatin1Char('+'))) {
        rest = rest.mid(1);
    }
    digits = rest.trimmed();
}

LineRecord makeMillRecord(const QString& line)
{
    LineRecord r;
    r.text = line;
    r.lineNumber = fieldNumber(piece(line, 4, 6));
    r.codeLetter = piece(line, 7, 7).trimmed();
    r.code = fieldNumber(piece(line, 8, 9));
    splitMillField(piece(line, 10, 15), r.xSign, r.xDigits);
    splitMillField(piece(line, 16, 20), r.ySign, r.yDigits);
    splitMillField(piece(line, 21, 26), r.zSign, r.zDigits);
    r.fDigits = piece(line, 28, 30).trimmed();
    r.comment = line.mid(31).trimmed();
    return r;
}

}  // namespace

int fieldNumber(const QString& digits)
{
    const double value = std::nearbyint(leadingNumber(digits));
    if (!(value > -2147483648.0 && value < 2147483647.0))
        return 0;
    return static_cast<int>(value);
}

ExtractedProgram ExtractCode(const QString& text, MachineType machine, MillRows mill, TraceSink* trace)
{
    const TraceScope scope(trace, "modConvert", "ExtractCode");
    ExtractedProgram program;
    program.machine = machine;
    QString body = text;
    const qsizetype percent = text.indexOf(QLatin1Char('%'));
    if (percent > 0) {
        program.description = text.left(percent);
        body = text.mid(percent);
    }
    const bool millRows = machine == MachineType::F1 && mill == MillRows::Read;
    if (machine != MachineType::Mark2 && machine != MachineType::Mark4 && !millRows)
        return program;

    const QStringList lines = body.split(kCrLf);
    qsizetype i = 0;
    qsizetype firstRowLine = 0;
    if (machine == MachineType::Mark2) {
        firstRowLine = !lines.isEmpty() && lines[0].startsWith(QLatin1Char('%')) ? 1 : 0;
        while (i < lines.size() && !lines[i].startsWith(QLatin1String("   N00")))
            ++i;
    } else {
        const QString header = columnHeaderLine(machine);
        while (i < lines.size() && lines[i] != header)
            ++i;
        ++i;
        firstRowLine = i;
    }

    for (; i < lines.size(); ++i) {
        const QString& line = lines[i];
        QString bare = line;
        bare.remove(QLatin1Char(' '));
        if (bare == QLatin1String("M") || bare == QLatin1String("\"")) {
            program.units = bare == QLatin1String("M") ? ExportUnits::metric() : ExportUnits::imperial();
            program.unitLineSeen = true;
            break;
        }
        const QString cut = machine == MachineType::Mark2 ? onMark4Positions(line) : line;
        if (piece(cut, 8, 9).trimmed().isEmpty())
            continue;
        program.records.push_back(millRows ? makeMillRecord(line) : makeRecord(line, cut, machine));
        program.records.back().row = int(i - firstRowLine);
    }
    return program;
}

ExtractedProgram extractProgramRows(const Program& program, MachineType machine)
{
    Program walkable;
    walkable.units = program.units;
    walkable.rows = program.rows;
    for (ProgramRow& row : walkable.rows)
        for (QString& column : row.columns)
            if (column.contains(QLatin1Char('\r')) || column.contains(QLatin1Char('\n'))) {
                column.replace(QLatin1Char('\r'), QLatin1Char(' '));
                column.replace(QLatin1Char('\n'), QLatin1Char(' '));
            }
    return ExtractCode(strFileOutBuff(walkable, machine), machine, MillRows::Read);
}

}  // namespace quillon

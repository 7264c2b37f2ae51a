// Properties of reading arbitrary bytes as a program text and writing the
// result again. The first save may change bytes (short lines are filled out,
// text in the three leading blanks is dropped); saving the saved text again
// must not.
#include "FuzzChecks.h"

#include "files/Cp1252.h"
#include "files/ProgramFile.h"
#include "files/ProgramText.h"
#include "model/ProgramLine.h"

namespace quillon::fuzz {

namespace {

const QString kHeaderStart = QStringLiteral("    N` G`");

std::string describe(const char* what, const QString& detail = QString())
{
    std::string s = what;
    if (!detail.isEmpty())
        s += ": " + detail.toStdString();
    return s;
}

// The rows a reader makes of the written lines: each line goes through the
// line parser again, header-like lines are not rows.
std::vector<ProgramRow> rowsAfterWriting(const Program& program, MachineType machine, bool* headerLike)
{
    std::vector<ProgramRow> rows;
    *headerLike = false;
    for (const ProgramRow& row : program.rows) {
        const QString line = programLineText(row, machine);
        if (line.startsWith(kHeaderStart)) {
            *headerLike = true;
            continue;
        }
        const ParsedLine parsed = parseProgramLine(line, false, machine);
        if (parsed.kind == ParsedLine::Kind::Row)
            rows.push_back(parsed.row);
    }
    return rows;
}

std::string checkDecode(const QByteArray& input, MachineType machine)
{
    const QString text = decodeCp1252(input);
    const DecodeResult first = blnDecodeBuffer(text, machine, Units::Imperial);
    if (first.accepted != first.message.isEmpty())
        return describe("a rejection without message, or an acceptance with one", first.message);
    if (first.program.description.contains(QLatin1Char('%')))
        return describe("description holds a %", first.program.description);
    if (!first.unitsSeen && first.program.units != Units::Imperial)
        return "units changed without a unit line";
    for (const ProgramRow& row : first.program.rows)
        for (const QString& column : row.columns)
            if (column.contains(QChar(0)))
                return "a NUL reached a row";
    // Each row names a line of the text, in order; no two rows share one,
    // since a row ends at the line's CR LF and a line feed counts as a line.
    if (first.rowLines.size() != first.program.rows.size())
        return "rows and their file lines differ in number";
    const int textLines = int(text.count(QLatin1Char('\n'))) + 1;
    for (std::size_t i = 0; i < first.rowLines.size(); ++i) {
        if (first.rowLines[i] < 1 || first.rowLines[i] > textLines
            || (i > 0 && first.rowLines[i] <= first.rowLines[i - 1]))
            return "a row's file line is out of order or beyond the text";
    }

    // Writing: either the program is refused with a reason, or every
    // character has its byte.
    QString problem;
    const std::optional<QByteArray> bytes = programFileBytes(first.program, machine, &problem);
    if (!bytes) {
        if (problem.isEmpty())
            return "refused to write without a reason";
        return std::string();
    }
    if (!bytes->endsWith(first.program.units == Units::Metric ? "   M\r\n" : "   \"\r\n"))
        return "written text does not end with its unit line";
    const QString written = strFileOutBuff(first.program, machine);
    if (decodeCp1252(*bytes) != written + QStringLiteral("\r\n"))
        return "written bytes do not decode to the written text";

    // Reading the written text again: the description, the units and every
    // written line come back as the line parser reads that line.
    const DecodeResult second = blnDecodeBuffer(decodeCp1252(*bytes), machine, Units::Imperial);
    QString notes = strFileOutBuff(Program{first.program.description, {}, Units::Metric}, machine);
    notes.truncate(notes.indexOf(QLatin1Char('%')));
    if (second.program.description != notes)
        return describe("description changed on re-reading", second.program.description);

    bool headerLike = false;
    const std::vector<ProgramRow> expected = rowsAfterWriting(first.program, machine, &headerLike);
    // A row that a malformed line left as " N`" and " G`" is written as a
    // header line, which ends reading there (for the mill and Mark 4 the saved
    // file is then rejected). Nothing is asserted past that point.
    if (headerLike && machine != MachineType::Mark2)
        return std::string();
    if (second.program.units != first.program.units)
        return "units lost on re-reading";
    if (second.program.rows != expected)
        return "re-read rows differ from the written lines";
    if (first.accepted && !second.accepted)
        return describe("an accepted program is rejected after saving", second.message);
    if (strFileOutBuff(second.program, machine) != written)
        return "saving the saved text again changes it";
    return std::string();
}

}  // namespace

std::string checkDecodeF1(const QByteArray& input, CheckRun) { return checkDecode(input, MachineType::F1); }
std::string checkDecodeMark2(const QByteArray& input, CheckRun) { return checkDecode(input, MachineType::Mark2); }
std::string checkDecodeMark4(const QByteArray& input, CheckRun) { return checkDecode(input, MachineType::Mark4); }

}  // namespace quillon::fuzz

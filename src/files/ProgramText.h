#pragma once

#include "model/MachineType.h"
#include "model/Program.h"
#include "model/Trace.h"

#include <QString>
#include <vector>

namespace quillon {

// The column header lines that mark a mill or Mark 4 program (30 characters,
// a grave accent closing each field). Mark 2 programs have none.
QString columnHeaderLine(MachineType machine);

// The whole program text as files, the link and the export carry it:
// description, "%", header line, program lines, unit line. Lines end in
// CR LF; the unit line has none.
QString strFileOutBuff(const Program& program, MachineType machine, TraceSink* trace = nullptr);

struct DecodeResult {
    bool accepted = false;
    Program program;         // rows stored before any rejection are kept here
    bool unitsSeen = false;  // a unit line switched program.units
    // For each row, the line of the text it was read from, counting from 1
    // and counting line feeds as other editors do, so that a report can
    // point at the row even in a text with odd line breaks.
    std::vector<int> rowLines;
    QString message;         // the rejection message when not accepted
};

inline constexpr const char* kDecodeTitle = "Dekodiere Daten";

// Reads a program text for `machine`. `currentUnits` stand until a unit line
// switches them.
DecodeResult blnDecodeBuffer(const QString& text, MachineType machine, Units currentUnits,
                             TraceSink* trace = nullptr);

// Why `program` cannot be written so that it reads back the same, or "" when
// it can: a "%" in the description would end it early, a CR LF inside a
// comment would split its row (a lone CR or LF is written as it stands), characters outside Windows-1252 would be
// lost, and a row whose written line would read as a header, unit or "%"
// line (possible only for rows read from malformed lines) would vanish or
// make the whole file unreadable.
QString programTextProblem(const Program& program, MachineType machine);

}  // namespace quillon

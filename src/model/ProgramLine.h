#pragma once

#include "MachineType.h"
#include "ProgramRow.h"
#include "Trace.h"
#include "Units.h"

#include <QString>

namespace quillon {

// What one line of program text means: a program row, a unit marker, or
// nothing (a "%" line).
struct ParsedLine {
    enum class Kind { Row, UnitSwitch, Ignored };
    Kind kind = Kind::Ignored;
    ProgramRow row;              // for Kind::Row
    Units units = Units::Metric; // for Kind::UnitSwitch
};

// Cuts one line (without its line end) at the machine's fixed positions.
// Only blanks are skipped when looking for a unit or "%" mark.
// `blnNew` gives the row the mark "+" instead of " ".
ParsedLine parseProgramLine(const QString& line, bool blnNew, MachineType machine);

// Receives what StoreRow finds: the program list and the unit switch.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void appendRow(const ProgramRow& row) = 0;
    virtual void SetUnitMode(Units units) = 0;
    // Where StoreRow writes its trace entries; none by default.
    virtual TraceSink* tracer() { return nullptr; }
};

// Parses `line` and appends its row to `sink`, or switches the units.
void StoreRow(const QString& line, bool blnNew, MachineType machine, RowSink& sink);

// The program line of a row, as files and printing write it (without its
// line end): the fields, one blank and the comment. A field shorter than its
// place (read from a short line) is filled out with blanks, so the line is
// written in the full layout once and then stays byte for byte the same.
QString programLineText(const ProgramRow& row, MachineType machine);

// The same line up to the last field, as the machine is sent it: no
// separating blank and no comment.
QString programLineFields(const ProgramRow& row, MachineType machine);

}  // namespace quillon

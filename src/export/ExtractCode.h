#pragma once

#include "ExportUnits.h"
#include "LineRecord.h"
#include "model/MachineType.h"
#include "model/Trace.h"
#include "model/Program.h"

#include <QString>
#include <vector>

namespace quillon {

struct ExtractedProgram {
    MachineType machine = MachineType::None;
    QString description;              // everything before the "%" line
    std::vector<LineRecord> records;  // the rows that carry a code, in program order
    ExportUnits units;                // metric unless an inch unit line ends the rows
    bool unitLineSeen = false;
};

// The export has nothing to write for the mill, so it reads no mill rows; a
// drawing of the tool path reads them.
enum class MillRows { Skip, Read };

// Reads a program text as strFileOutBuff writes it. The rows end at the unit
// line, the line that holds nothing but "M" or a double quote; a comment that
// merely ends in one of them is still a row. Each record knows its row by the
// line's place after the "%" line (and the header line), which holds for
// every text strFileOutBuff writes from a description without "%" and
// columns without line breaks.
ExtractedProgram ExtractCode(const QString& text, MachineType machine, MillRows mill = MillRows::Skip,
                             TraceSink* trace = nullptr);

// The records of a program in memory, mill rows included, each knowing its
// row for certain: the program is written as saving writes it but without
// its description (a "%" there would shift the rows) and with line breaks
// inside columns read as blanks (each would split its row). The toolpath and
// the program check walk these.
ExtractedProgram extractProgramRows(const Program& program, MachineType machine);

// The rounded numeric value of a row field; fields hold small whole numbers.
int fieldNumber(const QString& digits);

}  // namespace quillon

#pragma once

#include "ExportUnits.h"
#include "LineRecord.h"
#include "model/MachineType.h"

#include <QString>
#include <vector>

namespace quillon {

struct ExtractedProgram {
    QString description;              // everything before the "%" line
    std::vector<LineRecord> records;  // the rows that carry a code, in program order
    ExportUnits units;                // metric unless an inch unit line ends the rows
    bool unitLineSeen = false;
};

// Reads a program text as strFileOutBuff writes it. The rows end at the unit
// line, the line that holds nothing but "M" or a double quote; a comment that
// merely ends in one of them is still a row. The mill has no rows to export.
ExtractedProgram ExtractCode(const QString& text, MachineType machine);

// The rounded numeric value of a row field; fields hold small whole numbers.
int fieldNumber(const QString& digits);

}  // namespace quillon

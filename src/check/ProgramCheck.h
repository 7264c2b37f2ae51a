#pragma once

#include "model/CodeTables.h"
#include "model/MachineType.h"
#include "model/Program.h"

#include <QString>
#include <vector>

namespace quillon {

// One problem of a program, as the check panel and `quillon-cli lint` show it.
struct Finding {
    int row = -1;        // 0-based row index; -1 for a finding about the whole program
    QString rowName;     // "N05" (the row's own number as it stands), "Zeile 4" when it has none
    QString message;     // German, in the editor's wording

    // "N05: message", or the bare message for the whole program.
    QString text() const;

    bool operator==(const Finding&) const = default;
};

// Every problem the program would meet on `machine`, ordered by row, the
// whole-program findings last. `tables` must be built for `machine`; ranges
// apply in the program's own units.
std::vector<Finding> checkProgram(const Program& program, MachineType machine, const CodeTables& tables);

// The same with the machine's tables built here.
std::vector<Finding> checkProgram(const Program& program, MachineType machine, bool woodworker);

}  // namespace quillon

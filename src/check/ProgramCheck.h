#pragma once

#include "model/CodeTables.h"
#include "preview/Material.h"
#include "model/MachineType.h"
#include "model/Program.h"

#include <QString>
#include <optional>
#include <vector>

namespace quillon {

// One problem of a program, as the check panel and `quillon-cli lint` show it.
// An error keeps the program from running as written; a warning is a pupil's
// mistake the test run sees (the machine would run it).
struct Finding {
    enum class Severity { Error, Warning };

    int row = -1;        // 0-based row index; -1 for a finding about the whole program
    QString rowName;     // "N05" (the row's own number as it stands), "Zeile 4" when it has none
    QString message;     // German, in the editor's wording
    Severity severity = Severity::Error;

    // "N05: message", or the bare message for the whole program.
    QString text() const;

    bool operator==(const Finding&) const = default;
};

// Every problem the program would meet on `machine`: the errors ordered by
// row, the whole-program ones last, then the warnings of programWarnings.
// `tables` must be built for `machine`; ranges apply in the program's own
// units. Without a `material` the test run's defaults for the units are used.
std::vector<Finding> checkProgram(const Program& program, MachineType machine, const CodeTables& tables,
                                  const std::optional<MaterialSetup>& material = std::nullopt);

// The same with the machine's tables built here.
std::vector<Finding> checkProgram(const Program& program, MachineType machine, bool woodworker,
                                  const std::optional<MaterialSetup>& material = std::nullopt);

// The warnings a test run gives, ordered by row, one of a kind per row, from
// the same walk as the tool path (a row run twice warns once):
// - "Eilgang im Material": a rapid that goes through material still there;
// - "Vorschub bei stehender Spindel": a feed move or cycle while the spindle
//   is off, before M03/M04 or after M05 (Mark 4 and F1; the Mark 2 has no
//   spindle codes);
// - the first move made before any G90 or G91, which the walk runs
//   incrementally.
std::vector<Finding> programWarnings(const Program& program, MachineType machine, const MaterialSetup& material);

// The name a finding gives its row: "N05" as the row's N column stands,
// "Zeile 4" (1-based) when the column is empty.
QString findingRowName(const Program& program, MachineType machine, int row);

}  // namespace quillon

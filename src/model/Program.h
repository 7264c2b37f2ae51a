#pragma once

#include "ProgramRow.h"
#include "Units.h"

#include <QString>
#include <vector>

namespace quillon {

// A whole program as files, the link, printing and the export see it.
struct Program {
    QString description;  // free text before the "%" line, CR LF between lines
    std::vector<ProgramRow> rows;
    Units units = Units::Metric;

    bool operator==(const Program&) const = default;
};

}  // namespace quillon

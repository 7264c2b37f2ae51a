#pragma once

#include <QString>
#include <array>

namespace quillon {

// One NC line as the eleven fixed-width text columns of the program list.
// Which column carries which field depends on the machine (ColumnNumbers).
struct ProgramRow {
    static constexpr int kColumns = 11;
    std::array<QString, kColumns> columns;

    // 1-based, as the column numbers are; column 0 (an unused field) reads "".
    const QString& column(int number) const;
    void setColumn(int number, const QString& text);

    bool operator==(const ProgramRow&) const = default;
};

}  // namespace quillon

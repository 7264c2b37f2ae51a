#pragma once

#include "MachineType.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace quillon {

// One G or M function: its code ("G00", "M06"), the parameter letter of each
// of the five slotLetters (X, Y, Z, F and H columns; empty = column unused) and
// its German description.
struct CodeEntry {
    QString code;
    std::array<QString, 5> slotLetters;
    QString description;

    bool isGCode() const { return code.startsWith(QLatin1Char('G')); }
};

// Accepted values of one (case-sensitive) parameter letter.
struct RangeEntry {
    QString letter;
    std::int16_t metricMin = 0;
    std::int16_t metricMax = 0;
    std::int16_t imperialMin = 0;
    std::int16_t imperialMax = 0;
};

// Takes the next comma-separated item off the front of `text`. An empty item
// (a comma first) yields "" and empties the whole rest, which is why the
// definition parser puts a blank before each later item.
QString strGenNextItemInString(QString& text);

// The code table and the parameter range table of one machine.
class CodeTables {
public:
    // Empties both tables and builds them for `type`; None leaves them empty.
    // `woodworker` widens the F1 spindle speed "S" to 0..8000.
    void GetCommands(MachineType type, bool woodworker);

    void SetParams(const QString& letter, std::int16_t metricMin, std::int16_t metricMax,
                   std::int16_t imperialMin, std::int16_t imperialMax);
    void SetCodes(const QString& definition);

    const std::vector<CodeEntry>& codes() const { return m_codes; }
    const std::vector<RangeEntry>& ranges() const { return m_ranges; }

    // The entry whose code equals `code` exactly, or nullptr.
    const CodeEntry* findCode(const QString& code) const;
    // The entry whose letter equals `letter` exactly, or nullptr.
    const RangeEntry* findRange(const QString& letter) const;
    // The range that validation uses: the exact entry, or, when none matches,
    // the last entry of the table (so the Mark 2 "k" is checked as "K").
    // nullptr only for an empty table.
    const RangeEntry* rangeForLetter(const QString& letter) const;

private:
    std::vector<CodeEntry> m_codes;
    std::vector<RangeEntry> m_ranges;
};

}  // namespace quillon

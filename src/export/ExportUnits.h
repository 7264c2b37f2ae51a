#pragma once

namespace quillon {

// How row digits become simulator values: coordinates are hundredths of a
// millimetre or thousandths of an inch, feeds whole units or tenths.
struct ExportUnits {
    bool inch = false;
    float coordinateDivisor = 100.0f;
    float feedDivisor = 1.0f;
    int coordinateDecimals = 2;  // "0.00" / "0.000"
    int feedDecimals = 0;        // "0" / "0.0"

    static ExportUnits metric() { return {}; }
    static ExportUnits imperial() { return {true, 1000.0f, 10.0f, 3, 1}; }

    bool operator==(const ExportUnits&) const = default;
};

}  // namespace quillon

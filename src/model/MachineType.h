#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace quillon {

// The number values are the ones stored in the settings file (`Type`) and
// given as the last character of the command line.
enum class MachineType : std::int16_t {
    None = 0,
    F1 = 1,     // EMCO F1 CNC mill (also the Woodworker variant)
    Mark2 = 2,  // EMCO Compact 5 CNC lathe, Mark 2
    Mark4 = 4,  // EMCO Compact 5 CNC lathe, Mark 4
};

// 1, 2 and 4 name a machine; every other number counts as "not chosen".
MachineType machineTypeFromNumber(long long number);

inline int machineNumber(MachineType type) { return static_cast<int>(type); }

inline bool isLathe(MachineType type) { return type == MachineType::Mark2 || type == MachineType::Mark4; }

// Accepts "1"/"f1", "2"/"mk2", "4"/"mk4" (case-insensitive), as the command line does.
std::optional<MachineType> parseMachineName(const QString& name);

}  // namespace quillon

#include "MachineType.h"

namespace quillon {

MachineType machineTypeFromNumber(long long number)
{
    switch (number) {
    case 1: return MachineType::F1;
    case 2: return MachineType::Mark2;
    case 4: return MachineType::Mark4;
    default: return MachineType::None;
    }
}

std::optional<MachineType> parseMachineName(const QString& name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("1") || n == QLatin1String("f1"))
        return MachineType::F1;
    if (n == QLatin1String("2") || n == QLatin1String("mk2"))
        return MachineType::Mark2;
    if (n == QLatin1String("4") || n == QLatin1String("mk4"))
        return MachineType::Mark4;
    return std::nullopt;
}

}  // namespace quillon

#include "MachineSelection.h"

#include "model/NumberFormat.h"

#include <cmath>

namespace quillon {

CommandLine parseCommandLine(const QStringList& args)
{
    CommandLine result;
    QStringList rest;
    const QString option = QStringLiteral("--settings");
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == option) {
            if (i + 1 < args.size())
                result.settingsPath = args.at(++i);
        } else if (arg.startsWith(option + QLatin1Char('='))) {
            result.settingsPath = arg.mid(option.size() + 1);
        } else if (result.programFile.isEmpty() && arg.endsWith(QStringLiteral(".cnc"), Qt::CaseInsensitive)) {
            result.programFile = arg;
        } else {
            rest.append(arg);
        }
    }
    const QString text = rest.join(QLatin1Char(' '));
    if (!text.isEmpty()) {
        const QChar last = text.back();
        if (last == QLatin1Char('1'))
            result.machine = MachineType::F1;
        else if (last == QLatin1Char('2'))
            result.machine = MachineType::Mark2;
        else if (last == QLatin1Char('4'))
            result.machine = MachineType::Mark4;
    }
    return result;
}

MachineType machineFromCommandLine(const QStringList& args)
{
    return parseCommandLine(args).machine;
}

MachineType machineFromTypeSetting(const QString& value)
{
    const double number = leadingNumber(value);
    // A number is stored into a 16-bit integer by rounding; beyond that range
    // it cannot be a machine anyway.
    if (!(std::fabs(number) < 32768.0))
        return MachineType::None;
    return machineTypeFromNumber(static_cast<long long>(std::nearbyint(number)));
}

std::optional<MachineSetting> machineFromDialogResult(int result)
{
    switch (result) {
    case static_cast<int>(MachineChoice::Mark2): return MachineSetting{MachineType::Mark2, false};
    case static_cast<int>(MachineChoice::Mark4): return MachineSetting{MachineType::Mark4, false};
    case static_cast<int>(MachineChoice::F1): return MachineSetting{MachineType::F1, false};
    case static_cast<int>(MachineChoice::F1Woodworker): return MachineSetting{MachineType::F1, true};
    default: return std::nullopt;
    }
}

std::optional<MachineChoice> preselectedChoice(MachineType type, bool woodworker)
{
    switch (type) {
    case MachineType::F1: return woodworker ? MachineChoice::F1Woodworker : MachineChoice::F1;
    case MachineType::Mark2: return MachineChoice::Mark2;
    case MachineType::Mark4: return MachineChoice::Mark4;
    default: return std::nullopt;
    }
}

}  // namespace quillon

#include "ApplicationState.h"

#include "SettingsPath.h"

namespace quillon {

ApplicationState::ApplicationState(const Paths& paths, LogEnvironment environment, LogClock clock)
    : programDir_(paths.programDir)
    , settings_(paths.settingsFile, paths.programDir)
    , logger_(paths.logFile, std::move(environment), std::move(clock))
    , errorReport_(logger_)
{
    recentFiles_.setTrace(&logger_);
}

ApplicationState::Paths ApplicationState::resolvePaths(const QString& programDir, const QStringList& args)
{
    Paths paths;
    paths.programDir = programDir;
    paths.settingsFile = settingsFilePath(programDir, parseCommandLine(args).settingsPath);
    paths.logFile = logFilePath(programDir, paths.settingsFile);
    return paths;
}

MachineType ApplicationState::machineAtStart(const QStringList& args) const
{
    const MachineType fromCommandLine = machineFromCommandLine(args);
    if (fromCommandLine != MachineType::None)
        return fromCommandLine;
    return machineFromTypeSetting(settings_.type());
}

void ApplicationState::setMachine(MachineType type)
{
    machine_ = type;
    woodworker_ = type == MachineType::F1 && settings_.woodworker();
}

bool ApplicationState::applyMachineChoice(const MachineSetting& choice)
{
    const bool stored = settings_.setMachine(choice.type, choice.woodworker);
    machine_ = choice.type;
    woodworker_ = choice.woodworker;
    return stored;
}

}  // namespace quillon

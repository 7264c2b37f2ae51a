#pragma once

#include "ErrorReport.h"
#include "Logger.h"
#include "MachineSelection.h"
#include "RecentFiles.h"
#include "Settings.h"
#include "model/MachineProfile.h"
#include "model/MachineType.h"

#include <QString>

namespace quillon {

// The one process-wide state of the program: where it lives, its settings,
// its log and error report, the machine this run is for and the recently
// used files. Created once by the application and handed to whoever needs it.
class ApplicationState {
public:
    struct Paths {
        QString programDir;    // folder of the executable
        QString settingsFile;  // see settingsFilePath
        QString logFile;       // see logFilePath
    };

    explicit ApplicationState(const Paths& paths, LogEnvironment environment = processEnvironment,
                              LogClock clock = systemClock);

    ApplicationState(const ApplicationState&) = delete;
    ApplicationState& operator=(const ApplicationState&) = delete;

    // Paths for a real run: `--settings` from `args` (the arguments after
    // the program name), else the program folder, else the user's config folder.
    static Paths resolvePaths(const QString& programDir, const QStringList& args);

    const QString& programDir() const { return programDir_; }
    const Settings& settings() const { return settings_; }
    Settings& settings() { return settings_; }
    Logger& logger() { return logger_; }
    ErrorReport& errorReport() { return errorReport_; }
    RecentFiles& recentFiles() { return recentFiles_; }
    const RecentFiles& recentFiles() const { return recentFiles_; }

    MachineType machine() const { return machine_; }
    const MachineProfile& profile() const { return machineProfile(machine_); }
    // The F1 Woodworker variant widens the spindle-speed range; read from
    // the settings whenever the machine is set.
    bool woodworker() const { return woodworker_; }

    // The machine for this run: the command line's choice, else `Type`.
    // None means the machine-type dialog has to ask.
    MachineType machineAtStart(const QStringList& args) const;

    // Makes `type` the machine of this run (the settings file is not changed).
    void setMachine(MachineType type);

    // A choice made in the machine-type dialog: Woodworker and Type are
    // written, then the machine is set. Returns whether both were stored.
    bool applyMachineChoice(const MachineSetting& choice);

private:
    QString programDir_;
    Settings settings_;
    Logger logger_;
    ErrorReport errorReport_;
    RecentFiles recentFiles_;
    MachineType machine_ = MachineType::None;
    bool woodworker_ = false;
};

}  // namespace quillon

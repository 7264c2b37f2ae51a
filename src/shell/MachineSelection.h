#pragma once

#include "model/MachineType.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace quillon {

// What the command line asks for. `args` are the arguments after the
// program name. "--settings FILE" (or "--settings=FILE") names the settings
// file and is taken out before the machine rule looks at the rest, so that a
// file name ending in a digit never picks a machine.
// A program file to open at start is the first argument ending in ".cnc"
// (any letter case); it is taken out too, so "4 part.cnc" and "part.cnc 4"
// both pick the Mark 4.
struct CommandLine {
    QString settingsPath;  // empty: none given
    MachineType machine = MachineType::None;
    QString programFile;   // empty: none given
};

CommandLine parseCommandLine(const QStringList& args);

// The machine for this run only: the last character of the remaining
// arguments, joined with blanks as the command line reads, "1", "2" or "4";
// anything else gives None. The settings file is not changed by it.
MachineType machineFromCommandLine(const QStringList& args);

// `Type` read as a number (its leading numeric part, non-numeric text 0).
// Only 1, 2 and 4 name a machine; any other number gives None, so that start-up
// asks with the machine-type dialog instead of running without a profile.
MachineType machineFromTypeSetting(const QString& value);

// The machine-type dialog's choices, by their result number 1 to 4.
enum class MachineChoice : int {
    Mark2 = 1,
    Mark4 = 2,
    F1 = 3,
    F1Woodworker = 4,
};

struct MachineSetting {
    MachineType type = MachineType::None;
    bool woodworker = false;  // stored as "Yes" / "No"
};

// The dialog's result to machine and Woodworker; nullopt for Cancel (0 or
// less) and for anything that is not a choice.
std::optional<MachineSetting> machineFromDialogResult(int result);

// The option the dialog shows chosen when it opens; nullopt for no machine.
std::optional<MachineChoice> preselectedChoice(MachineType type, bool woodworker);

}  // namespace quillon

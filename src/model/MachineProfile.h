#pragma once

#include "MachineType.h"

#include <QString>

namespace quillon {

// Where each field of a program row sits (1-based column numbers, 0 = the
// machine has no such field).
struct ColumnNumbers {
    int mark = 1;
    int n = 2;
    int g = 3;
    int x = 4;
    int y = 0;
    int z = 0;
    int f = 0;
    int h = 0;
    int comment = 0;
};

struct MachineProfile {
    MachineType type = MachineType::None;
    QString title;        // main window caption
    int lineLimit = 0;    // most program lines editing may create
    QString splashTitle;
    QString splashModel;
    QString machineName;  // as named in the "cannot be read" message
    ColumnNumbers columns;
};

// The profile of a machine; MachineType::None gives an empty profile.
const MachineProfile& machineProfile(MachineType type);

}  // namespace quillon

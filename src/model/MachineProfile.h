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

    // The column that parameter slot 1..5 of a code (X, Y, Z, F, H) fills;
    // 0 for another slot or a field the machine lacks.
    int forSlot(int slot) const
    {
        switch (slot) {
        case 1: return x;
        case 2: return y;
        case 3: return z;
        case 4: return f;
        case 5: return h;
        default: return 0;
        }
    }
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

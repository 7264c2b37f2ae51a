#include "MachineProfile.h"

namespace quillon {

namespace {

MachineProfile makeF1()
{
    MachineProfile p;
    p.type = MachineType::F1;
    p.title = QStringLiteral("Quillon CNC Programm Editor für EMCO F1 Fräsmaschine");
    p.lineLimit = 222;
    p.splashTitle = QStringLiteral("Quillon für EMCO F1 Fräsmaschine");
    p.splashModel = QStringLiteral("CPU - F1A114001");
    p.machineName = QStringLiteral("F1 Fräsmaschine");
    p.columns = {1, 2, 3, 4, 5, 6, 7, 0, 8};
    return p;
}

MachineProfile makeMark2()
{
    MachineProfile p;
    p.type = MachineType::Mark2;
    p.title = QStringLiteral("Quillon CNC Programm Editor für EMCO CNC 5 MK-2");
    p.lineLimit = 160;
    p.splashTitle = QStringLiteral("Quillon für EMCO Compact 5 CNC Drehmaschine");
    p.splashModel = QStringLiteral("CPU - A6C114003");
    p.machineName = QStringLiteral("Mark 2 Drehmaschine");
    p.columns = {1, 2, 3, 4, 0, 5, 6, 0, 7};
    return p;
}

MachineProfile makeMark4()
{
    MachineProfile p;
    p.type = MachineType::Mark4;
    p.title = QStringLiteral("Quillon CNC Programm Editor für EMCO CNC 5 MK-4");
    p.lineLimit = 210;
    p.splashTitle = QStringLiteral("Quillon für EMCO Compact 5 CNC Drehmaschine");
    p.splashModel = QStringLiteral("CPU - A6C114004");
    p.machineName = QStringLiteral("Mark 4 Drehmaschine");
    p.columns = {1, 2, 3, 4, 0, 5, 6, 7, 8};
    return p;
}

}  // namespace

const MachineProfile& machineProfile(MachineType type)
{
    static const MachineProfile none;
    static const MachineProfile f1 = makeF1();
    static const MachineProfile mark2 = makeMark2();
    static const MachineProfile mark4 = makeMark4();
    switch (type) {
    case MachineType::F1: return f1;
    case MachineType::Mark2: return mark2;
    case MachineType::Mark4: return mark4;
    default: return none;
    }
}

}  // namespace quillon

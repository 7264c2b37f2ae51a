#include "ReceivedProgram.h"

#include "files/Cp1252.h"
#include "model/MachineProfile.h"

namespace quillon {

ReceivedProgram decodeReceived(const QByteArray& bytes, MachineType machine, Units currentUnits)
{
    ReceivedProgram result;
    result.empty = bytes.isEmpty();
    if (!result.empty)
        result.decoded = blnDecodeBuffer(decodeCp1252(bytes), machine, currentUnits);
    return result;
}

QString strReceiveUnsavedQuestion()
{
    return QStringLiteral("Sind Sie sicher das Sie ein Programm von der Drehmaschine empfangen wollen?");
}

QString strReceivedCaption(MachineType machine)
{
    return machineProfile(machine).title + QStringLiteral(" (unbenannt)");
}

QString strSendConfirmTitle(MachineType machine)
{
    return machine == MachineType::F1 ? QStringLiteral("Quillon - sendet zur Fräsmaschine")
                                      : QStringLiteral("Quillon - sendet zur Drehmaschine");
}

QString strSendConfirmQuestion()
{
    return QStringLiteral("Sind Sie sicher das die Korrekturwerte in diesem Programm gültig sind?");
}

}  // namespace quillon

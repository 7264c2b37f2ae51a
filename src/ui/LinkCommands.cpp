#include "LinkCommands.h"

#include "files/ProgramText.h"
#include "frmReceive.h"
#include "frmSend.h"
#include "link/QtSerialTransport.h"
#include "link/ReceivedProgram.h"
#include "link/SendText.h"
#include "shell/MessageSink.h"

#include <memory>

namespace quillon {

TransferOutcome SendFile(QWidget* parent, const Program& program, MachineType machine, const QString& comPort,
                         MessageSink& messages, SerialTransport* transport, TraceSink* trace)
{
    if (messages.intStdMsgBox(strSendConfirmQuestion(), MsgStyle::Question, strSendConfirmTitle(machine))
        != MsgResult::Yes)
        return TransferOutcome::Cancelled;

    std::unique_ptr<QtSerialTransport> own;
    if (!transport) {
        own = std::make_unique<QtSerialTransport>();
        transport = own.get();
    }
    frmSend dialog(*transport, comPort, sendText(program, machine), machine, program.units,
                   strSendEstimate(int(program.rows.size())), messages, parent);
    dialog.setTrace(trace);
    dialog.exec();
    return dialog.outcome();
}

ReceiveFileResult ReceiveFile(QWidget* parent, bool modified, MachineType machine, Units currentUnits,
                              const QString& comPort, MessageSink& messages, SerialTransport* transport,
                              TraceSink* trace)
{
    ReceiveFileResult result;
    if (modified && !blnAskUnsavedWork(messages, strReceiveUnsavedQuestion()))
        return result;
    result.started = true;

    std::unique_ptr<QtSerialTransport> own;
    if (!transport) {
        own = std::make_unique<QtSerialTransport>();
        transport = own.get();
    }
    frmReceive dialog(*transport, comPort, machine, messages, parent);
    dialog.setTrace(trace);
    dialog.exec();
    result.outcome = dialog.outcome();

    const ReceivedProgram received = decodeReceived(dialog.received(), machine, currentUnits);
    if (received.empty)
        return result;
    if (!received.accepted()) {
        messages.StdMsgBox(received.decoded.message, MsgStyle::Exclamation, QString::fromLatin1(kDecodeTitle));
        return result;
    }
    result.accepted = true;
    result.program = received.decoded.program;
    return result;
}

}  // namespace quillon

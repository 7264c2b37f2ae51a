#pragma once

#include "link/TransferObserver.h"
#include "model/MachineType.h"
#include "model/Program.h"
#include "model/Trace.h"

#include <QString>

class QWidget;

namespace quillon {

class MessageSink;
class SerialTransport;

// The "Senden" command once the window has disabled its commands: asks
// whether the tool offsets are valid, then shows the send dialog with the
// time estimate. `transport` is the port to use (the real one when null).
// Returns how the transfer ended (Cancelled when the user said No).
TransferOutcome SendFile(QWidget* parent, const Program& program, MachineType machine, const QString& comPort,
                         MessageSink& messages, SerialTransport* transport = nullptr, TraceSink* trace = nullptr);

// What a reception leaves for the window.
struct ReceiveFileResult {
    bool started = false;   // false: the user kept the unsaved program; nothing changes
    bool accepted = false;  // true: `program` is the new, unnamed, modified program
                            // (caption strReceivedCaption); false: start a new empty program
    Program program;
    TransferOutcome outcome = TransferOutcome::Running;
};

// The "Empfangen" command: guards unsaved work (`modified`), shows the
// receive dialog and decodes what arrived as a program file would be read;
// a rejected text is reported by the decoder's message.
ReceiveFileResult ReceiveFile(QWidget* parent, bool modified, MachineType machine, Units currentUnits,
                              const QString& comPort, MessageSink& messages, SerialTransport* transport = nullptr,
                              TraceSink* trace = nullptr);

}  // namespace quillon

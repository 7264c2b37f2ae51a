#pragma once

#include "files/ProgramText.h"
#include "model/MachineType.h"
#include "model/Units.h"

#include <QByteArray>

namespace quillon {

// What a reception leaves in the editor.
struct ReceivedProgram {
    bool empty = true;      // nothing arrived: the editor gets a new program
    DecodeResult decoded;   // when something arrived: the decoder's verdict
    // True when the rows are to be taken as a new, unnamed and modified
    // program; false means a new empty program.
    bool accepted() const { return !empty && decoded.accepted; }
};

// Decodes the bytes of a reception (Windows-1252, NULs of the leader
// included) exactly as a program file would be read.
ReceivedProgram decodeReceived(const QByteArray& bytes, MachineType machine, Units currentUnits);

// The command's own question after "Die aktuelle Datei ist nicht
// gespeichert" when a reception would replace unsaved work.
QString strReceiveUnsavedQuestion();

// The main window's caption after a reception: the machine's title and
// " (unbenannt)".
QString strReceivedCaption(MachineType machine);

// "Quillon - sendet zur Fräsmaschine" or "... Drehmaschine".
QString strSendConfirmTitle(MachineType machine);
QString strSendConfirmQuestion();

}  // namespace quillon

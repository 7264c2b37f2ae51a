#pragma once

#include "model/MachineType.h"
#include "model/Program.h"

#include <QByteArray>
#include <QString>

namespace quillon {

// The machine's line: 300 baud, even parity, 7 data bits, 1 stop bit.
inline constexpr const char* kLineSettings = "300,e,7,1";

// Characters per write to the port; the sender waits for each to leave.
inline constexpr int kSendChunk = 32;

// The exact bytes that go to the machine: a NUL leader, "%", the header line
// (mill, Mark 4), the program lines without comments, the unit line and a NUL
// trailer. The machine reads no description and no comments.
QByteArray sendText(const Program& program, MachineType machine);

// Whole seconds a program of `rowCount` rows needs on a line with `settings`
// ("baud,parity,data,stop"), counting 32 characters a row plus the frame.
int sendEstimateSeconds(int rowCount, const QString& settings = QString::fromLatin1(kLineSettings));

// "Fortschritt: (vorrausichtliche Zeit für das senden ist ..." as the send
// dialog shows it.
QString strSendEstimate(int rowCount, const QString& settings = QString::fromLatin1(kLineSettings));

}  // namespace quillon

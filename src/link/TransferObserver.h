#pragma once

#include <QString>

namespace quillon {

// How a transfer ended.
enum class TransferOutcome {
    Running,
    Completed,   // sending: every byte left the port; receiving: the unit line arrived
    Silence,     // receiving: no character for the silence limit after the first one
    Cancelled,
    PortError,   // reported once through portFailed; the port is closed
};

// What a send or receive job tells its dialog or the command line.
class TransferObserver {
public:
    virtual ~TransferObserver() = default;

    // Sending: the estimated share sent, 0 to 99 while running, 100 at the end.
    virtual void progressChanged(int percent) { Q_UNUSED(percent); }
    // Receiving: the tail of the received text (the line just completed and
    // the one arriving).
    virtual void receivedTextChanged(const QString& display) { Q_UNUSED(display); }
    // The port-error report (title kPortErrorTitle, exclamation), at most
    // once per transfer.
    virtual void portFailed(const QString& report) = 0;
    // Once, after the port has been closed.
    virtual void finished(TransferOutcome outcome) = 0;
};

}  // namespace quillon

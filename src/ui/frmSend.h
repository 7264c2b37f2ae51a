#pragma once

#include "model/Trace.h"

#include "link/TransferObserver.h"
#include "model/MachineType.h"
#include "model/Units.h"

#include <QByteArray>
#include <QDialog>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace quillon {

class SendJob;
class MessageSink;
class SerialTransport;

// The send dialog: how to prepare the machine, the time estimate, Start,
// progress and Cancel. The transfer runs from the event loop, so the window
// stays responsive; the dialog closes when the last byte has left the port,
// on Cancel, or after a port error has been reported.
class frmSend : public QDialog, private TransferObserver {
    Q_OBJECT
public:
    frmSend(SerialTransport& port, QString comPort, QByteArray text, MachineType machine, Units units,
            QString estimate, MessageSink& messages, QWidget* parent = nullptr);
    ~frmSend() override;

    TransferOutcome outcome() const { return m_outcome; }
    // Short ticks for tests; the real dialog ticks every 500 ms.
    void setTickInterval(int ms) { m_tickMs = ms; }

    void reject() override;  // Esc and the window's close button act as Cancel
    // Where the dialog's procedures write their trace entries.
    void setTrace(TraceSink* trace) { m_trace = trace; }

private:
    void cmdStart_Click();
    void cmdCancel_Click();

    void progressChanged(int percent) override;
    void portFailed(const QString& report) override;
    void finished(TransferOutcome outcome) override;

    SerialTransport& m_port;
    QString m_comPort;
    QByteArray m_text;
    MessageSink& m_messages;
    std::unique_ptr<SendJob> m_job;
    TransferOutcome m_outcome = TransferOutcome::Running;
    int m_tickMs = 500;

    QLabel* lblHead = nullptr;
    QProgressBar* pnlProgress = nullptr;
    QPushButton* cmdStart = nullptr;
    QPushButton* cmdCancel = nullptr;
    TraceSink* m_trace = nullptr;
};

}  // namespace quillon

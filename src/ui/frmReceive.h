#pragma once

#include "model/Trace.h"

#include "link/TransferObserver.h"
#include "model/MachineType.h"

#include <QByteArray>
#include <QDialog>
#include <QTimer>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quillon {

class ReceiveJob;
class MessageSink;
class SerialTransport;

// The receive dialog: which keys to press on the machine, the line arriving,
// Cancel. Reception starts 200 ms after the dialog is shown and ends on the
// unit line, after 5 s of silence, on Cancel or on a port error; the dialog
// then closes and received() holds every byte that arrived.
class frmReceive : public QDialog, private TransferObserver {
    Q_OBJECT
public:
    frmReceive(SerialTransport& port, QString comPort, MachineType machine, MessageSink& messages,
               QWidget* parent = nullptr);
    ~frmReceive() override;

    const QByteArray& received() const { return m_received; }
    TransferOutcome outcome() const { return m_outcome; }
    void setSilenceLimit(int ms) { m_silenceMs = ms; }

    void reject() override;  // Esc and the close button act as Cancel
    // Where the dialog's procedures write their trace entries.
    void setTrace(TraceSink* trace) { m_trace = trace; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void tmrDel_Timer();
    void cmdCancel_Click();

    void receivedTextChanged(const QString& display) override;
    void portFailed(const QString& report) override;
    void finished(TransferOutcome outcome) override;

    SerialTransport& m_port;
    QString m_comPort;
    MessageSink& m_messages;
    std::unique_ptr<ReceiveJob> m_job;
    QByteArray m_received;
    TransferOutcome m_outcome = TransferOutcome::Running;
    int m_silenceMs = 5000;
    bool m_cancelled = false;

    QTimer tmrDel;
    QPlainTextEdit* txtReceived = nullptr;
    QPushButton* cmdCancel = nullptr;
    TraceSink* m_trace = nullptr;
};

}  // namespace quillon

#pragma once

#include "PortError.h"
#include "TransferObserver.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

namespace quillon {

class SerialTransport;

// Collects everything the machine sends until the unit line has arrived,
// the line stays silent for the silence limit after the first character,
// the user cancels, or the port fails. What arrived is kept in every case.
// Runs from the event loop: start() returns at once.
class ReceiveJob : public QObject {
    Q_OBJECT
public:
    static constexpr int kSilenceMs = 5000;

    ReceiveJob(SerialTransport& port, QString comPort, TransferObserver& observer, QObject* parent = nullptr);
    ~ReceiveJob() override;

    // Before the first character there is no limit; only Cancel ends the wait.
    void setSilenceLimit(int ms) { m_silence.setInterval(ms); }

    void start();
    void cancel();

    TransferOutcome outcome() const { return m_outcome; }
    bool isRunning() const { return m_started && m_outcome == TransferOutcome::Running; }
    // Every byte received, in arrival order, nothing removed.
    const QByteArray& received() const { return m_received; }
    const QString& display() const { return m_display; }

private:
    void readAvailable();
    void failPort(PortError error);
    void finish(TransferOutcome outcome);
    void close(TransferOutcome outcome);  // ends the transfer without telling

    SerialTransport& m_port;
    QString m_comPort;
    TransferObserver& m_observer;
    QTimer m_silence;
    QByteArray m_received;
    QString m_display;
    bool m_started = false;
    TransferOutcome m_outcome = TransferOutcome::Running;
};

}  // namespace quillon

#pragma once

#include "PortError.h"
#include "TransferObserver.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

namespace quillon {

class SerialTransport;

// Writes the send text to the port in chunks of 32 characters, each after
// the previous one has left, while a half-second tick advances the progress
// by the nominal 15 characters. Runs on the caller's thread from the event
// loop: start() returns at once and the observer hears the rest.
class SendJob : public QObject {
    Q_OBJECT
public:
    struct Timing {
        int tickMs = 500;       // progress tick
        int charsPerTick = 15;  // 30 characters a second at 300,e,7,1
        int pollMs = 10;        // how often the output queue is looked at
    };

    SendJob(SerialTransport& port, QString comPort, QByteArray text, TransferObserver& observer,
            QObject* parent = nullptr);
    SendJob(SerialTransport& port, QString comPort, QByteArray text, TransferObserver& observer, Timing timing,
            QObject* parent = nullptr);
    ~SendJob() override;

    // Opens the port and starts sending. A port that cannot be opened is
    // reported and the job ends at once.
    void start();
    // Stops before the next chunk and closes the port without waiting for
    // what is still queued.
    void cancel();

    TransferOutcome outcome() const { return m_outcome; }
    bool isRunning() const { return m_started && m_outcome == TransferOutcome::Running; }
    // Bytes handed to the port so far.
    qint64 handedOver() const { return m_position; }
    int percent() const { return m_percent; }

private:
    void tick();
    void poll();
    void lineDrained();
    void writeNextChunk();
    void failPort(PortError error);
    void finish(TransferOutcome outcome);
    void close(TransferOutcome outcome);  // ends the transfer without telling

    SerialTransport& m_port;
    QString m_comPort;
    QByteArray m_text;
    TransferObserver& m_observer;
    Timing m_timing;
    QTimer m_tickTimer;
    QTimer m_pollTimer;
    qint64 m_position = 0;
    qint64 m_sentChars = 0;  // the estimate, not measured on the line
    int m_percent = 0;
    bool m_started = false;
    bool m_draining = false;  // every byte handed over; waiting for the transmitter
    TransferOutcome m_outcome = TransferOutcome::Running;
};

}  // namespace quillon

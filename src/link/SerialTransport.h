#pragma once

#include "PortError.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace quillon {

// The serial line as sending and receiving use it. The real port and the
// test fake both implement it; nothing here blocks.
class SerialTransport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialTransport() override = default;

    // Opens `device` at 300 baud, even parity, 7 data bits, 1 stop bit.
    // On failure lastError() tells why and the port stays closed.
    virtual bool open(const QString& device) = 0;
    // Closes the port, leaving what was handed over to the driver.
    virtual void close() = 0;
    // Drops whatever is still queued for output, ours and the driver's, and
    // closes at once, so a slow line never holds up Cancel or an error.
    virtual void abort() = 0;
    virtual bool isOpen() const = 0;

    // Queues bytes for output; returns how many were taken, -1 on failure.
    virtual qint64 write(const QByteArray& bytes) = 0;
    // Bytes not yet on the line: our own buffer and the driver's queue.
    virtual qint64 bytesToWrite() const = 0;
    // Once bytesToWrite() is 0, the UART's FIFO or an adapter's own buffer
    // may still hold the last characters. Asks to hear through drained()
    // when the transmitter itself has sent them; returns at once. A failure
    // meanwhile comes through errorOccurred() instead.
    virtual void startDrain() = 0;

    virtual qint64 bytesAvailable() const = 0;
    virtual QByteArray readAll() = 0;

    virtual PortError lastError() const = 0;

signals:
    void readyRead();
    void drained();
    // A failure of an open port (read, write, device gone). Not raised for
    // a failed open, which open() itself reports.
    void errorOccurred(quillon::PortError error);
};

}  // namespace quillon

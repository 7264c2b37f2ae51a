#pragma once

#include "link/SerialTransport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quillon::test {

// A port whose output queue drains only when the test says so (or at once
// with autoDrain), whose input is what the test feeds, and which fails when
// told to.
class FakeTransport : public SerialTransport {
    Q_OBJECT
public:
    using SerialTransport::SerialTransport;

    // Setup
    PortError openError = PortError::None;
    bool autoDrain = true;
    // The transmitter empties only when the test calls releaseDrain().
    bool holdDrain = false;

    // What happened
    QString openedDevice;
    int opens = 0;
    int closes = 0;
    int writesWhileClosed = 0;
    QByteArray written;          // every byte handed over
    qint64 queued = 0;           // handed over but not yet on the line
    qint64 droppedOnClose = 0;   // queued bytes thrown away by abort()
    qint64 leftOnClose = 0;      // queued bytes left to the driver by close()
    int aborts = 0;
    // The order of open, write, drain, close and abort.
    QStringList calls;

    void drain(qint64 count);
    void releaseDrain();
    void feed(const QByteArray& bytes);
    void fail(PortError error);

    bool open(const QString& device) override;
    void close() override;
    void abort() override;
    bool isOpen() const override { return m_open; }
    qint64 write(const QByteArray& bytes) override;
    qint64 bytesToWrite() const override { return queued; }
    void startDrain() override;
    qint64 bytesAvailable() const override { return m_input.size(); }
    QByteArray readAll() override;
    PortError lastError() const override { return m_error; }

private:
    bool m_open = false;
    QByteArray m_input;
    PortError m_error = PortError::None;
};

}  // namespace quillon::test

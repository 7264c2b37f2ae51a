#pragma once

#include "link/SerialTransport.h"

#include <QByteArray>
#include <QStringList>
#include <algorithm>

namespace quillon::test {

// The one fake serial port: its output queue drains only when the test says
// so (or at once with autoDrain), its input is what the test feeds, and it
// fails when told to.
class FakeTransport : public SerialTransport {
public:
    // Setup
    PortError openError = PortError::None;
    bool autoDrain = true;
    bool holdDrain = false;  // the transmitter empties only on releaseDrain()

    // What happened
    QString openedDevice;
    int opens = 0, writesWhileClosed = 0;
    QByteArray written;         // every byte handed over
    qint64 queued = 0;          // handed over but not yet on the line
    qint64 droppedOnClose = 0;  // queued bytes thrown away by abort()
    QStringList calls;          // the order of open, write, drain, close and abort

    void drain(qint64 count) { queued = std::max<qint64>(0, queued - count); }
    void releaseDrain()
    {
        if (m_open)
            emit drained();
    }
    void feed(const QByteArray& bytes)
    {
        if (m_input += bytes; m_open)
            emit readyRead();
    }
    void fail(PortError error)
    {
        if (m_error = error; m_open)
            emit errorOccurred(error);
    }

    bool open(const QString& device) override
    {
        ++opens;
        calls << QStringLiteral("open");
        openedDevice = device;
        m_error = openError;
        return m_open = openError == PortError::None;
    }
    void close() override { shut(QStringLiteral("close")); }
    void abort() override
    {
        droppedOnClose += m_open ? queued : 0;
        shut(QStringLiteral("abort"));
    }
    bool isOpen() const override { return m_open; }
    qint64 write(const QByteArray& bytes) override
    {
        if (!m_open) {
            ++writesWhileClosed;
            return -1;
        }
        written += bytes;
        calls << QStringLiteral("write");
        queued += autoDrain ? 0 : bytes.size();
        return bytes.size();
    }
    qint64 bytesToWrite() const override { return queued; }
    // Answered from the event loop, as the real port answers.
    void startDrain() override
    {
        calls << QStringLiteral("drain");
        if (!holdDrain)
            QMetaObject::invokeMethod(this, [this] { releaseDrain(); }, Qt::QueuedConnection);
    }
    qint64 bytesAvailable() const override { return m_input.size(); }
    QByteArray readAll() override { return std::exchange(m_input, {}); }
    PortError lastError() const override { return m_error; }

private:
    void shut(const QString& how)
    {
        if (!m_open)
            return;
        calls << how;
        queued = 0;
        m_open = false;
    }

    bool m_open = false;
    QByteArray m_input;
    PortError m_error = PortError::None;
};

}  // namespace quillon::test

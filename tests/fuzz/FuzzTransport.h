#pragma once

#include "link/SerialTransport.h"

#include <QByteArray>
#include <utility>

namespace quillon::fuzz {

// A port that hands the receiver whatever the fuzz input says arrived, and
// fails when the input says so. It keeps what was read, so the checks can
// compare it with what arrived.
class FuzzTransport : public SerialTransport {
    Q_OBJECT
public:
    using SerialTransport::SerialTransport;

    QByteArray handedOut;  // every byte readAll() returned
    int opens = 0;

    // Bytes arrive; readyRead is raised while the port is open.
    void arrive(const QByteArray& bytes)
    {
        if (!m_open) return;  // a closed port hears nothing
        m_input += bytes;
        emit readyRead();
    }
    void failWith(PortError error)
    {
        if (!m_open) return;
        m_error = error;
        emit errorOccurred(error);
    }

    bool open(const QString&) override { return ++opens, m_open = true; }
    void close() override { m_open = false; }
    void abort() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    qint64 write(const QByteArray& bytes) override { return m_open ? bytes.size() : -1; }
    qint64 bytesToWrite() const override { return 0; }
    // Nothing waits on a line here: the transmitter is always empty.
    void startDrain() override
    {
        if (m_open)
            emit drained();
    }
    qint64 bytesAvailable() const override { return m_input.size(); }
    QByteArray readAll() override
    {
        handedOut += m_input;
        return std::exchange(m_input, QByteArray());
    }
    PortError lastError() const override { return m_error; }

private:
    bool m_open = false;
    QByteArray m_input;
    PortError m_error = PortError::None;
};

}  // namespace quillon::fuzz

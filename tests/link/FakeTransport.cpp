#include "FakeTransport.h"

#include <algorithm>

namespace quillon::test {

void FakeTransport::drain(qint64 count)
{
    queued = std::max<qint64>(0, queued - count);
}

void FakeTransport::releaseDrain()
{
    if (m_open)
        emit drained();
}

void FakeTransport::startDrain()
{
    calls << QStringLiteral("drain");
    // Answered from the event loop, as the real port answers.
    if (!holdDrain)
        QMetaObject::invokeMethod(this, &FakeTransport::releaseDrain, Qt::QueuedConnection);
}

void FakeTransport::feed(const QByteArray& bytes)
{
    m_input += bytes;
    if (m_open)
        emit readyRead();
}

void FakeTransport::fail(PortError error)
{
    m_error = error;
    if (m_open)
        emit errorOccurred(error);
}

bool FakeTransport::open(const QString& device)
{
    ++opens;
    calls << QStringLiteral("open");
    openedDevice = device;
    m_error = openError;
    m_open = openError == PortError::None;
    return m_open;
}

void FakeTransport::close()
{
    if (!m_open)
        return;
    ++closes;
    calls << QStringLiteral("close");
    leftOnClose += queued;
    queued = 0;
    m_open = false;
}

void FakeTransport::abort()
{
    if (!m_open)
        return;
    ++closes;
    ++aborts;
    calls << QStringLiteral("abort");
    droppedOnClose += queued;
    queued = 0;
    m_open = false;
}

qint64 FakeTransport::write(const QByteArray& bytes)
{
    if (!m_open) {
        ++writesWhileClosed;
        return -1;
    }
    written += bytes;
    calls << QStringLiteral("write");
    if (!autoDrain)
        queued += bytes.size();
    return bytes.size();
}

QByteArray FakeTransport::readAll()
{
    QByteArray bytes;
    bytes.swap(m_input);
    return bytes;
}

}  // namespace quillon::test

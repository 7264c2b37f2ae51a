#include "FuzzTransport.h"

namespace quillon::fuzz {

void FuzzTransport::arrive(const QByteArray& bytes)
{
    if (!m_open)
        return;  // a closed port hears nothing
    delivered += bytes;
    m_input += bytes;
    emit readyRead();
}

void FuzzTransport::failWith(PortError error)
{
    if (!m_open)
        return;
    m_error = error;
    emit errorOccurred(error);
}

bool FuzzTransport::open(const QString& device)
{
    Q_UNUSED(device);
    ++opens;
    m_open = true;
    return true;
}

QByteArray FuzzTransport::readAll()
{
    QByteArray bytes;
    bytes.swap(m_input);
    handedOut += bytes;
    return bytes;
}

}  // namespace quillon::fuzz

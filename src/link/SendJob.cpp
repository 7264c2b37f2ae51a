#include "SendJob.h"

#include "ComPort.h"
#include "SendText.h"
#include "SerialTransport.h"

#include <cmath>

namespace quillon {

SendJob::SendJob(SerialTransport& port, QString comPort, QByteArray text, TransferObserver& observer,
                 QObject* parent)
    : SendJob(port, std::move(comPort), std::move(text), observer, Timing{}, parent)
{
}

SendJob::SendJob(SerialTransport& port, QString comPort, QByteArray text, TransferObserver& observer,
                 Timing timing, QObject* parent)
    : QObject(parent)
    , m_port(port)
    , m_comPort(std::move(comPort))
    , m_text(std::move(text))
    , m_observer(observer)
    , m_timing(timing)
{
    m_tickTimer.setInterval(m_timing.tickMs);
    m_pollTimer.setInterval(m_timing.pollMs);
    connect(&m_tickTimer, &QTimer::timeout, this, &SendJob::tick);
    connect(&m_pollTimer, &QTimer::timeout, this, &SendJob::poll);
}

SendJob::~SendJob()
{
    if (isRunning()) {
        disconnect(&m_port, nullptr, this, nullptr);
        m_port.abort();
    }
}

void SendJob::start()
{
    if (m_started)
        return;
    m_started = true;
    m_position = 0;
    m_sentChars = 0;
    m_percent = 0;
    m_draining = false;

    if (!m_port.open(comPortDevice(m_comPort))) {
        failPort(m_port.lastError());
        return;
    }
    connect(&m_port, &SerialTransport::errorOccurred, this, &SendJob::failPort);
    connect(&m_port, &SerialTransport::drained, this, &SendJob::lineDrained);
    m_tickTimer.start();
    m_observer.progressChanged(0);
    writeNextChunk();
}

void SendJob::cancel()
{
    if (!m_started) {
        m_started = true;
        finish(TransferOutcome::Cancelled);
        return;
    }
    if (isRunning())
        finish(TransferOutcome::Cancelled);
}

void SendJob::writeNextChunk()
{
    if (!isRunning())
        return;
    const QByteArray chunk = m_text.mid(m_position, kSendChunk);
    const qint64 written = m_port.write(chunk);
    if (written != chunk.size()) {
        // A refused write that did not raise an error of its own.
        failPort(m_port.lastError() == PortError::None ? PortError::Write : m_port.lastError());
        return;
    }
    m_position += written;
    m_pollTimer.start();
}

void SendJob::poll()
{
    if (!isRunning() || m_port.bytesToWrite() > 0)
        return;
    m_pollTimer.stop();
    if (m_position < m_text.size()) {
        writeNextChunk();
        return;
    }
    // The last chunk has left our buffer and the driver's queue, but the
    // unit line and the trailing NULs may still sit in the UART or the
    // adapter. Closing now would restore the old line settings under them,
    // so the port stays open until the transmitter is empty; the bar keeps
    // the estimate, at most 99, meanwhile.
    m_draining = true;
    m_port.startDrain();
}

void SendJob::lineDrained()
{
    if (!isRunning() || !m_draining)
        return;
    m_percent = 100;
    m_observer.progressChanged(100);
    finish(TransferOutcome::Completed);
}

void SendJob::tick()
{
    if (!isRunning())
        return;
    m_sentChars += m_timing.charsPerTick;
    if (m_text.isEmpty())
        return;
    // The estimate may run ahead of a slow line; the bar then waits at 99.
    const int percent = int(std::lround(double(m_sentChars) * 100.0 / double(m_text.size())));
    const int shown = std::min(percent, 99);
    if (shown != m_percent) {
        m_percent = shown;
        m_observer.progressChanged(shown);
    }
}

void SendJob::failPort(PortError error)
{
    if (m_outcome != TransferOutcome::Running)
        return;
    // Sending reads nothing: a failed read on an open port is the line
    // itself going away (an adapter pulled out).
    if (error == PortError::Read && m_port.isOpen())
        error = PortError::ResourceGone;
    const QString hint = error == PortError::Permission ? strPermissionHint(comPortDevice(m_comPort)) : QString();
    // The transfer is over before the report is shown: a modal box runs the
    // event loop, and nothing may write, read or report again meanwhile.
    close(TransferOutcome::PortError);
    m_observer.portFailed(strPortErrorReport(m_comPort, error, hint));
    m_observer.finished(TransferOutcome::PortError);
}

void SendJob::finish(TransferOutcome outcome)
{
    if (m_outcome != TransferOutcome::Running)
        return;
    close(outcome);
    m_observer.finished(outcome);
}

void SendJob::close(TransferOutcome outcome)
{
    m_outcome = outcome;
    m_tickTimer.stop();
    m_pollTimer.stop();
    disconnect(&m_port, nullptr, this, nullptr);
    // Only a finished transfer may let the driver deliver its last bytes; a
    // pseudo-terminal's queue reads empty while its peer has not read yet.
    if (outcome == TransferOutcome::Completed)
        m_port.close();
    else
        m_port.abort();
}

}  // namespace quillon

#include "ReceiveJob.h"

#include "ComPort.h"
#include "ReceiveDisplay.h"
#include "SerialTransport.h"
#include "files/Cp1252.h"

namespace quillon {

ReceiveJob::ReceiveJob(SerialTransport& port, QString comPort, TransferObserver& observer, QObject* parent)
    : QObject(parent)
    , m_port(port)
    , m_comPort(std::move(comPort))
    , m_observer(observer)
{
    m_silence.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the limit is 5 s of silence.
    m_silence.setTimerType(Qt::PreciseTimer);
    m_silence.setInterval(kSilenceMs);
    connect(&m_silence, &QTimer::timeout, this, [this] { finish(TransferOutcome::Silence); });
}

ReceiveJob::~ReceiveJob()
{
    if (isRunning()) {
        disconnect(&m_port, nullptr, this, nullptr);
        m_port.abort();
    }
}

void ReceiveJob::start()
{
    if (m_started)
        return;
    m_started = true;
    m_received.clear();
    m_display.clear();

    if (!m_port.open(comPortDevice(m_comPort))) {
        failPort(m_port.lastError());
        return;
    }
    connect(&m_port, &SerialTransport::readyRead, this, &ReceiveJob::readAvailable);
    connect(&m_port, &SerialTransport::errorOccurred, this, &ReceiveJob::failPort);
    // Characters may already wait from before the port was ours to read.
    if (m_port.bytesAvailable() > 0)
        QTimer::singleShot(0, this, &ReceiveJob::readAvailable);
}

void ReceiveJob::cancel()
{
    if (!m_started)
        m_started = true;
    finish(TransferOutcome::Cancelled);
}

void ReceiveJob::readAvailable()
{
    if (!isRunning())
        return;
    const QByteArray chunk = m_port.readAll();
    if (chunk.isEmpty())
        return;
    m_received += chunk;
    appendReceivedChunk(m_display, decodeCp1252(chunk));
    m_observer.receivedTextChanged(m_display);
    if (displayStartsWithUnitLine(m_display)) {
        finish(TransferOutcome::Completed);
        return;
    }
    // The silence limit counts from the latest character.
    m_silence.start();
}

void ReceiveJob::failPort(PortError error)
{
    if (m_outcome != TransferOutcome::Running)
        return;
    // Keep whatever reached our buffer before the port failed.
    const QByteArray rest = m_port.isOpen() ? m_port.readAll() : QByteArray();
    if (!rest.isEmpty()) {
        m_received += rest;
        appendReceivedChunk(m_display, decodeCp1252(rest));
        m_observer.receivedTextChanged(m_display);
    }
    const QString hint = error == PortError::Permission ? strPermissionHint(comPortDevice(m_comPort)) : QString();
    // The transfer is over before the report is shown: a modal box runs the
    // event loop, and nothing may write, read or report again meanwhile.
    close(TransferOutcome::PortError);
    m_observer.portFailed(strPortErrorReport(m_comPort, error, hint));
    m_observer.finished(TransferOutcome::PortError);
}

void ReceiveJob::finish(TransferOutcome outcome)
{
    if (m_outcome != TransferOutcome::Running)
        return;
    close(outcome);
    m_observer.finished(outcome);
}

void ReceiveJob::close(TransferOutcome outcome)
{
    m_outcome = outcome;
    m_silence.stop();
    disconnect(&m_port, nullptr, this, nullptr);
    m_port.abort();
}

}  // namespace quillon

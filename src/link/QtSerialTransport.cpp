#include "QtSerialTransport.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <termios.h>
#endif

namespace quillon {

namespace {

bool isPseudoTerminal(const QString& device)
{
    const QString real = QFileInfo(device).canonicalFilePath();
    return real.startsWith(QLatin1String("/dev/pts/")) || real == QLatin1String("/dev/ptmx");
}

}  // namespace

QtSerialTransport::QtSerialTransport(QObject* parent)
    : SerialTransport(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, &SerialTransport::readyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialTransport::onError);
}

QtSerialTransport::~QtSerialTransport()
{
    abort();
}

PortError QtSerialTransport::fromQt(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError: return PortError::None;
    case QSerialPort::DeviceNotFoundError: return PortError::DeviceNotFound;
    case QSerialPort::PermissionError: return PortError::Permission;
    case QSerialPort::OpenError: return PortError::AlreadyOpen;
    case QSerialPort::NotOpenError: return PortError::NotOpen;
    case QSerialPort::ReadError: return PortError::Read;
    case QSerialPort::WriteError: return PortError::Write;
    case QSerialPort::UnsupportedOperationError: return PortError::UnsupportedSetting;
    case QSerialPort::ResourceError: return PortError::ResourceGone;
    case QSerialPort::TimeoutError:
    case QSerialPort::UnknownError: break;
    }
    return PortError::Other;
}

bool QtSerialTransport::open(const QString& device)
{
    abort();
    ++m_transfer;
    m_error = PortError::None;
    m_opening = true;
    m_port.setPortName(device);
    bool ok = m_port.open(QIODevice::ReadWrite);
    if (ok) {
        ok = m_port.setBaudRate(300) && m_port.setParity(QSerialPort::EvenParity)
             && m_port.setDataBits(QSerialPort::Data7) && m_port.setStopBits(QSerialPort::OneStop);
        // A pseudo-terminal has no line to frame: the kernel keeps it at
        // eight bits without parity and refuses the settings. It carries the
        // characters all the same, so it is used as it is.
        if (!ok && isPseudoTerminal(device)) {
            m_port.clearError();
            m_error = PortError::None;
            ok = true;
        }
        if (!ok) {
            if (m_error == PortError::None)
                m_error = PortError::UnsupportedSetting;
            m_port.close();
        }
    } else if (m_error == PortError::None) {
        m_error = fromQt(m_port.error());
        if (m_error == PortError::None)
            m_error = PortError::Other;
    }
#ifdef Q_OS_UNIX
    struct stat info {};
    if (!ok && ::stat(QFile::encodeName(device).constData(), &info) == 0 && !S_ISCHR(info.st_mode))
        m_error = PortError::NotADevice;
    // Qt reports a port that another program holds (its lock file, or the
    // device's EBUSY) as a permission problem. When we may read and write
    // the device, permissions are not the cause.
    if (!ok && m_error == PortError::Permission
        && ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0)
        m_error = PortError::Busy;
#endif
    m_opening = false;
    return ok;
}

void QtSerialTransport::close()
{
    ++m_transfer;
    joinDrainer();
    // Closing restores the line settings found at open; whoever wants the
    // last characters to leave at 300 baud waits for drained() first.
    if (m_port.isOpen())
        m_port.close();
}

void QtSerialTransport::abort()
{
    ++m_transfer;
    if (!m_port.isOpen()) {
        joinDrainer();
        return;
    }
    // Flushing the driver's queue also keeps the kernel's close from
    // waiting for the line to drain, and ends a tcdrain() still waiting.
    m_port.clear(QSerialPort::Output);
    joinDrainer();
    m_port.close();
}

void QtSerialTransport::startDrain()
{
    joinDrainer();
    const unsigned transfer = m_transfer;
#ifdef Q_OS_UNIX
    if (m_port.isOpen()) {
        const int fd = int(m_port.handle());
        m_drainer = std::thread([this, fd, transfer] {
            int result = 0;
            do {
                result = ::tcdrain(fd);
            } while (result != 0 && errno == EINTR);
            const int error = result == 0 ? 0 : errno;
            QMetaObject::invokeMethod(
                this, [this, transfer, error] { onDrainReturned(transfer, error); }, Qt::QueuedConnection);
        });
        return;
    }
#endif
    QMetaObject::invokeMethod(
        this, [this, transfer] { onDrainReturned(transfer, 0); }, Qt::QueuedConnection);
}

void QtSerialTransport::onDrainReturned(unsigned transfer, int error)
{
    if (transfer != m_transfer)
        return;
    joinDrainer();
    if (error == 0) {
        emit drained();
        return;
    }
    // The device went away (or refused) while its last characters were
    // leaving: they may not have reached the machine.
    m_error = error == EIO || error == ENXIO || error == ENODEV ? PortError::ResourceGone : PortError::Write;
    emit errorOccurred(m_error);
}

void QtSerialTransport::joinDrainer()
{
    if (m_drainer.joinable())
        m_drainer.join();
}

bool QtSerialTransport::isOpen() const
{
    return m_port.isOpen();
}

qint64 QtSerialTransport::write(const QByteArray& bytes)
{
    return m_port.write(bytes);
}

qint64 QtSerialTransport::bytesToWrite() const
{
    qint64 pending = m_port.bytesToWrite();
#ifdef Q_OS_LINUX
    if (m_port.isOpen()) {
        int queued = 0;
        if (::ioctl(int(m_port.handle()), TIOCOUTQ, &queued) == 0 && queued > 0)
            pending += queued;
    }
#endif
    return pending;
}

qint64 QtSerialTransport::bytesAvailable() const
{
    return m_port.bytesAvailable();
}

QByteArray QtSerialTransport::readAll()
{
    return m_port.readAll();
}

PortError QtSerialTransport::lastError() const
{
    return m_error;
}

void QtSerialTransport::onError(QSerialPort::SerialPortError error)
{
    const PortError mapped = fromQt(error);
    if (mapped == PortError::None)
        return;
    m_error = mapped;
    // A failed open is answered by open() itself; later failures go to
    // whoever runs the transfer.
    if (!m_opening)
        emit errorOccurred(mapped);
}

}  // namespace quillon

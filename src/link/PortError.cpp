#include "PortError.h"

#include "ComPort.h"

#include <array>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#endif

namespace quillon {

namespace {

constexpr int kFirstError = 8000;

const std::array<const char*, 22> kReasons = {
    "Operation not valid while the port is opened",
    "Timeout value must be greater than zero",
    "Invalid Port Number",
    "Property available only at run time",
    "Property is read only at runtime",
    "Port already open",
    "The device identifier is invalid or unsupported",
    "The device's baud rate is unsupported",
    "The specified byte size is invalid",
    "The default parameters are in error",
    "The hardware is not available (locked by another device)",
    "The function cannot allocate the queues",
    "The device is not open",
    "The device is already open",
    "Could not enable comm notification",
    "Could not set comm state",
    "Could not set comm event mask",
    "",
    "Operation valid only when the port is open",
    "Device busy",
    "Error reading comm device",
    "Internal error retrieving device control block for the port",
};

}  // namespace

int portErrorNumber(PortError error)
{
    switch (error) {
    case PortError::DeviceNotFound: return 8002;
    case PortError::NotADevice: return 8006;
    case PortError::Permission: return 8010;
    case PortError::Busy: return 8010;
    case PortError::AlreadyOpen: return 8005;
    case PortError::NotOpen: return 8018;
    case PortError::Read: return 8020;
    case PortError::Write: return 8019;
    case PortError::UnsupportedSetting: return 8015;
    case PortError::ResourceGone: return 8010;
    case PortError::None:
    case PortError::Other: break;
    }
    return 8017;
}

QString strPortErrorReason(int number)
{
    const int index = number - kFirstError;
    if (index < 0 || index >= int(kReasons.size()))
        return QString();
    return QString::fromLatin1(kReasons[std::size_t(index)]);
}

QString strPortErrorReport(const QString& comPort, PortError error, const QString& permissionHint)
{
    QString text = QStringLiteral("Com Port ") + comPortName(comPort) + QStringLiteral(" ist nicht verfügbar\r\n")
                   + QStringLiteral("Bitte prüfen Sie das die Schnittstelle nicht belegt ist.\r\n")
                   + QStringLiteral("Wählen Sie bei Bedarf eine andere Schnittstelle aus\r\n")
                   + QStringLiteral("Das berichtete Problem ist:\r\n")
                   + strPortErrorReason(portErrorNumber(error));
    if (error == PortError::Permission && !permissionHint.isEmpty())
        text += QStringLiteral("\r\n") + permissionHint;
    if (error == PortError::ResourceGone)
        text += QStringLiteral("\r\nDie Verbindung zur Schnittstelle ") + comPortDevice(comPort)
                + QStringLiteral(" wurde unterbrochen.");
    if (error == PortError::Busy)
        text += QStringLiteral("\r\nDie Schnittstelle ") + comPortDevice(comPort)
                + QStringLiteral(" wird von einem anderen Programm benutzt.");
    return text;
}

QString strPermissionHint(const QString& device)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    const QByteArray path = device.toLocal8Bit();
    if (::stat(path.constData(), &info) != 0 || info.st_gid == 0
        || (info.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP))
        return QString();
    const struct group* owner = ::getgrgid(info.st_gid);
    if (!owner || !owner->gr_name)
        return QString();
    const QString group = QString::fromLocal8Bit(owner->gr_name);
    return QStringLiteral("Für den Zugriff auf ") + device + QStringLiteral(" muss Ihr Benutzer Mitglied der Gruppe '")
           + group + QStringLiteral("' sein (sudo usermod -aG ") + group
           + QStringLiteral(" $USER), danach neu anmelden.");
#else
    Q_UNUSED(device);
    return QString();
#endif
}

}  // namespace quillon

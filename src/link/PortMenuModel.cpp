#include "PortMenuModel.h"

#include "ComPort.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace quillon {

std::vector<DetectedPort> PortMenuModel::systemPorts()
{
    std::vector<DetectedPort> ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos)
        ports.push_back({info.systemLocation(), info.description()});
    std::sort(ports.begin(), ports.end(),
              [](const DetectedPort& a, const DetectedPort& b) { return a.systemLocation < b.systemLocation; });
    return ports;
}

void PortMenuModel::rebuild(const std::vector<DetectedPort>& detected, const QString& currentComPort)
{
    m_entries.clear();
    m_checked = -1;

    const int fixed = fixedPortNumber(currentComPort);
    const QString currentPath = fixed > 0 ? QString() : currentComPort.trimmed();
    for (int number = 1; number <= 4; ++number) {
        m_entries.push_back({PortMenuEntry::Kind::Fixed, QStringLiteral("Com ") + QString::number(number),
                             QString::number(number)});
        if (number == fixed)
            m_checked = int(m_entries.size()) - 1;
    }

    for (const DetectedPort& port : detected) {
        // The fixed entries already stand for these devices.
        bool isFixed = false;
        for (int number = 1; number <= 4; ++number)
            isFixed = isFixed || port.systemLocation == comPortDevice(QString::number(number));
        if (isFixed)
            continue;
        QString caption = port.systemLocation;
        if (!port.description.trimmed().isEmpty())
            caption += QStringLiteral(" (") + port.description.trimmed() + QLatin1Char(')');
        m_entries.push_back({PortMenuEntry::Kind::Detected, caption, port.systemLocation});
        if (port.systemLocation == currentPath)
            m_checked = int(m_entries.size()) - 1;
    }

    if (!currentPath.isEmpty() && m_checked < 0) {
        m_entries.push_back({PortMenuEntry::Kind::Current, currentPath, currentPath});
        m_checked = int(m_entries.size()) - 1;
    }
    m_entries.push_back({PortMenuEntry::Kind::TypePath, QStringLiteral("Gerätepfad eingeben..."), QString()});
}

}  // namespace quillon

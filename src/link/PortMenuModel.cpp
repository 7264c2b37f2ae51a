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
    m_typedPath.clear();

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
    m_typedPath = currentPath;
    m_entries.push_back({PortMenuEntry::Kind::TypePath, QStringLiteral("Gerätepfad eingeben..."), QString()});
}

void PortMenuModel::keepTypedPath(const QString& path)
{
    const QString kept = path.trimmed();
    if (!m_typedPath.isEmpty() || kept.isEmpty() || fixedPortNumber(kept) > 0)
        return;
    m_typedPath = kept;
    for (const PortMenuEntry& entry : m_entries)
        if (entry.comPort == kept)
            return;
    // Above the typing entry, which is always last.
    const auto typing = m_entries.empty() ? m_entries.end() : m_entries.end() - 1;
    m_entries.insert(typing, {PortMenuEntry::Kind::Current, kept, kept});
}

QString PortMenuModel::pathSuggestion() const
{
    if (!m_typedPath.isEmpty())
        return m_typedPath;
    for (const PortMenuEntry& entry : m_entries)
        if (entry.kind == PortMenuEntry::Kind::Detected)
            return entry.comPort;
    return QStringLiteral("/dev/ttyUSB0");
}

}  // namespace quillon

#pragma once

#include <QString>
#include <vector>

namespace quillon {

// A port the system reports (a USB adapter, a built-in port).
struct DetectedPort {
    QString systemLocation;  // "/dev/ttyUSB0"
    QString description;     // "FT232R USB UART", may be empty
};

struct PortMenuEntry {
    enum class Kind {
        Fixed,     // "Com 1" to "Com 4"
        Detected,  // a port the system reports
        Current,   // a typed path (set, or used earlier) not among the detected ones
        TypePath,  // asks the user for a device path
    };
    Kind kind = Kind::Fixed;
    QString caption;
    QString comPort;  // the `ComPort` value the entry sets ("" for TypePath)
};

// The port items of the transfer menu: the four fixed ports, every port the
// system reports, the typed path in use, and an entry to type a path. Exactly
// one item carries the check mark. The window renders it; nothing here
// touches widgets.
class PortMenuModel {
public:
    // The ports QSerialPortInfo finds, sorted by path.
    static std::vector<DetectedPort> systemPorts();

    void rebuild(const std::vector<DetectedPort>& detected, const QString& currentComPort);

    const std::vector<PortMenuEntry>& entries() const { return m_entries; }
    // The entry for the current port, or -1 when none fits (cannot happen
    // after rebuild with a non-empty value).
    int checkedIndex() const { return m_checked; }

    // Keeps a path typed earlier on offer after a fixed or detected port was
    // chosen: an unchecked entry above the typing entry, unless it is listed
    // already. The typed path in use always wins.
    void keepTypedPath(const QString& path);
    // The typed path in use, else the one kept; "" when there is none.
    QString typedPath() const { return m_typedPath; }
    // What the typing entry offers: the typed path, else the first adapter
    // the system reports, else "/dev/ttyUSB0".
    QString pathSuggestion() const;

private:
    std::vector<PortMenuEntry> m_entries;
    int m_checked = -1;
    QString m_typedPath;
};

}  // namespace quillon

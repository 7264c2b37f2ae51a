#pragma once

#include <QString>

namespace quillon {

// The `ComPort` setting names one of the four fixed ports as "1" to "4" and
// any other port by its device path ("/dev/ttyUSB0", a pseudo-terminal...).
inline constexpr const char* kDefaultComPort = "1";

// The fixed port number 1 to 4 of a `ComPort` value, or 0 for a device path.
int fixedPortNumber(const QString& comPort);

// The device to open: "1" to "4" stand for /dev/ttyS0 to /dev/ttyS3 on
// Linux; anything else is taken as the path it is. An empty or blank value
// falls back to port 1.
QString comPortDevice(const QString& comPort);

// How a port is named to the user, as in "Com Port 2 ist nicht verfügbar":
// the number for the fixed ports, the path otherwise.
QString comPortName(const QString& comPort);

}  // namespace quillon

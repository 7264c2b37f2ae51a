#pragma once

#include <QString>

namespace quillon {

// What went wrong with the port, in the terms the transport can tell.
enum class PortError {
    None,
    DeviceNotFound,
    NotADevice,   // the path names a folder or a plain file
    Permission,
    Busy,         // held by another program (its lock, or the device refused a second user)
    AlreadyOpen,
    NotOpen,
    Read,
    Write,
    UnsupportedSetting,
    ResourceGone,
    Other,
};

// Every port problem is shown under this title, sending or receiving.
inline constexpr const char* kPortErrorTitle = "Empfange CNC Datei";

// The classic serial-control error number (8000 to 8021) a problem is
// reported as.
int portErrorNumber(PortError error);

// The reason line of an error number 8000 to 8021 ("" for 8017 and for
// numbers outside the table).
QString strPortErrorReason(int number);

// The whole report: which port is not available, what to check, and the
// reason. `permissionHint` (see strPermissionHint) is added as a last line
// when the problem is a missing permission; a port another program holds
// gets a line that says so instead.
QString strPortErrorReport(const QString& comPort, PortError error, const QString& permissionHint = QString());

// One line telling the user how to get access to `device`: membership of
// the group that owns it (usually dialout), or "" where membership would
// not help (the group may not read and write it, or is root's).
QString strPermissionHint(const QString& device);

}  // namespace quillon

#pragma once

#include <QString>

namespace quillon {

// Whether `folder` lies on a network file system (NFS, SMB/CIFS, SSHFS and
// the like), judged from `mountInfo`, the text of /proc/self/mountinfo: the
// mount point that holds the folder most closely decides. Folders on a
// network drive get no transfer commands, since the serial line belongs to
// the machine the program runs on, not to the server it is stored on.
bool onNetworkFileSystem(const QString& folder, const QString& mountInfo);

// The same for this process's own mounts; false where they cannot be read.
bool onNetworkFileSystem(const QString& folder);

}  // namespace quillon

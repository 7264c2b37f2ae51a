#pragma once

#include <QString>

namespace quillon {

// A path ending in a separator ("/" or "\") asks for an existing folder,
// any other path for an existing file.
bool blnStdFileExists(const QString& path);

}  // namespace quillon

#pragma once

#include <QString>

namespace quillon {

enum class Units { Metric, Imperial };

// The settings file stores "metric" or "imperial". Any other stored value
// counts as metric, which is also what menus and range checks show for it,
// so the file marker, the menus and the ranges never disagree.
Units unitsFromSetting(const QString& value);
QString unitsSettingValue(Units units);

}  // namespace quillon

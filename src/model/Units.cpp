#include "Units.h"

namespace quillon {

Units unitsFromSetting(const QString& value)
{
    return value == QLatin1String("imperial") ? Units::Imperial : Units::Metric;
}

QString unitsSettingValue(Units units)
{
    return units == Units::Imperial ? QStringLiteral("imperial") : QStringLiteral("metric");
}

}  // namespace quillon

#include "WindowPlacement.h"

#include <QStringList>
#include <cmath>

namespace quillon {

std::optional<WindowPlacement> parseWinSetting(const QString& value)
{
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const double number = parts.at(i).trimmed().toDouble(&ok);
        if (!ok || !(std::fabs(number) < 1.0e9))
            return std::nullopt;
        numbers[i] = static_cast<int>(std::nearbyint(number));
    }
    return WindowPlacement{numbers[0], numbers[1], numbers[2], numbers[3]};
}

QString winSettingText(const WindowPlacement& placement)
{
    return QStringLiteral("%1,%2,%3,%4").arg(placement.left).arg(placement.top).arg(placement.width).arg(placement.height);
}

}  // namespace quillon

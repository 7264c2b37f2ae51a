#include "ReceiveDisplay.h"

namespace quillon {

void appendReceivedChunk(QString& display, const QString& chunk)
{
    display += chunk;
    const qsizetype first = display.indexOf(QLatin1Char('\r'));
    if (first < 0 || display.indexOf(QLatin1Char('\r'), first + 1) < 0)
        return;
    display.remove(0, first + 1);
    if (display.startsWith(QLatin1Char('\n')))
        display.remove(0, 1);
}

bool displayStartsWithUnitLine(const QString& display)
{
    return display.startsWith(QLatin1String("   M")) || display.startsWith(QLatin1String("   \""));
}

}  // namespace quillon

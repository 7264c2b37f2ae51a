#include "ComPort.h"

namespace quillon {

int fixedPortNumber(const QString& comPort)
{
    const QString value = comPort.trimmed();
    if (value.isEmpty())
        return 1;
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok && number >= 1 && number <= 4 ? number : 0;
}

QString comPortDevice(const QString& comPort)
{
    const int number = fixedPortNumber(comPort);
    if (number > 0) {
#ifdef Q_OS_WIN
        return QStringLiteral("COM") + QString::number(number);
#else
        return QStringLiteral("/dev/ttyS") + QString::number(number - 1);
#endif
    }
    return comPort.trimmed();
}

QString comPortName(const QString& comPort)
{
    const int number = fixedPortNumber(comPort);
    return number > 0 ? QString::number(number) : comPort.trimmed();
}

}  // namespace quillon

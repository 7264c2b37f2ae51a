#include "ExportNumber.h"

#include <cmath>

namespace quillon {

QString strExportNumber(float value, int decimals)
{
    if (!std::isfinite(value))
        return QString::number(0.0, 'f', decimals);

    // "d.dddddde±x": seven significant digits and the decimal exponent.
    const QString e = QString::number(std::fabs(double(value)), 'e', 6);
    const qsizetype ePos = e.indexOf(QLatin1Char('e'));
    QString digits = e.left(ePos);
    digits.remove(QLatin1Char('.'));
    const int exponent = e.mid(ePos + 1).toInt();

    // Keep the digits in front of the last decimal, round on the next one.
    const int keep = exponent + 1 + decimals;
    QString kept;
    bool roundUp = false;
    if (keep >= digits.size()) {
        kept = digits + QString(keep - digits.size(), QLatin1Char('0'));
    } else if (keep >= 0) {
        kept = digits.left(keep);
        roundUp = digits[keep] >= QLatin1Char('5');
    }
    if (kept.isEmpty())
        kept = QStringLiteral("0");
    if (roundUp) {
        qsizetype i = kept.size() - 1;
        while (i >= 0 && kept[i] == QLatin1Char('9'))
            kept[i--] = QLatin1Char('0');
        if (i < 0)
            kept.prepend(QLatin1Char('1'));
        else
            kept[i] = QChar(kept[i].unicode() + 1);
    }

    if (kept.size() < decimals + 1)
        kept.prepend(QString(decimals + 1 - kept.size(), QLatin1Char('0')));
    while (kept.size() > decimals + 1 && kept[0] == QLatin1Char('0'))
        kept.remove(0, 1);
    QString text = decimals > 0 ? kept.left(kept.size() - decimals) + QLatin1Char('.') + kept.right(decimals) : kept;

    bool zero = true;
    for (const QChar c : kept)
        zero = zero && c == QLatin1Char('0');
    if (value < 0 && !zero)
        text.prepend(QLatin1Char('-'));
    return text;
}

}  // namespace quillon

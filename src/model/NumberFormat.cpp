#include "NumberFormat.h"

#include <cmath>

namespace quillon {

double leadingNumber(const QString& text)
{
    QString digits;
    bool seenPoint = false;
    bool seenDigit = false;
    for (const QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t'))
            continue;
        if ((c == QLatin1Char('-') || c == QLatin1Char('+')) && digits.isEmpty()) {
            digits += c;
        } else if (c.isDigit() && c.unicode() < 128) {
            digits += c;
            seenDigit = true;
        } else if (c == QLatin1Char('.') && !seenPoint) {
            digits += c;
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!seenDigit)
        return 0.0;
    bool ok = false;
    const double value = digits.toDouble(&ok);
    return ok ? value : 0.0;
}

QString strFormatNumber(const QString& value, int width, bool blnSigned)
{
    const double number = leadingNumber(value);
    const double magnitude = std::nearbyint(std::fabs(number));  // default rounding: halves to even
    if (magnitude > 32767.0)
        throw FormatError("number too large for a field: " + value.toStdString());
    const int n = static_cast<int>(magnitude);

    const QString digits = n < 100 ? QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'))
                                   : QString::number(n);
    if (width < digits.size())
        throw FormatError("field too narrow for " + value.toStdString());

    QString field = QString(width - digits.size(), QLatin1Char(' ')) + digits;
    if (blnSigned)
        field[0] = number < 0 ? QLatin1Char('-') : QLatin1Char(' ');
    return field;
}

QString strClean(const QString& field)
{
    QString result = field;
    result.remove(QLatin1Char(' '));
    if (!result.isEmpty() && result[0] != QLatin1Char('M') && result[0] > QLatin1Char('9'))
        result.remove(0, 1);
    return result;
}

}  // namespace quillon

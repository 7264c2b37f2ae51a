#include "Cp1252Validator.h"

#include "files/Cp1252.h"

namespace quillon {

QString cp1252Only(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (isCp1252Encodable(c))
            result += c;
    }
    return result;
}

QValidator::State Cp1252Validator::validate(QString& input, int& /*pos*/) const
{
    return isCp1252Encodable(input) ? Acceptable : Invalid;
}

void Cp1252Validator::fixup(QString& input) const
{
    input = cp1252Only(input);
}

}  // namespace quillon

#include "ExportQuestions.h"

#include "model/NumberFormat.h"

namespace quillon {

namespace {

bool onlyDigits(const QString& text, bool pointAllowed)
{
    for (const QChar c : text)
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && !(pointAllowed && c == QLatin1Char('.')))
            return false;
    return true;
}

}  // namespace

QStringList latheToolNames()
{
    return {
        QStringLiteral("Rechter Seitenstahl (1)"),
        QStringLiteral("Linker Seitenstahl (2)"),
        QStringLiteral("Neutraler Seitenstahl (3)"),
        QStringLiteral("Gewindestahl außen (4)"),
        QStringLiteral("Einstechstahl (5)"),
        QStringLiteral("Abstechstahl (6)"),
        QStringLiteral("Gewindestahl innen (7)"),
        QStringLiteral("Innendrehstahl (8)"),
        QStringLiteral("Zentrierbohrer (9)"),
        QStringLiteral("Kleiner Bohrer (10)"),
        QStringLiteral("Großer Bohrer (11)"),
    };
}

bool billetDiameterAccepted(const QString& text)
{
    return onlyDigits(text, true) && leadingNumber(text) > 0.0;
}

bool spindleSpeedAccepted(const QString& text)
{
    return onlyDigits(text, false) && leadingNumber(text) > 0.0;
}

}  // namespace quillon

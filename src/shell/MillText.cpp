#include "MillText.h"

namespace quillon {

QString strMillText(const QString& caption)
{
    const QString lathe = QStringLiteral("drehmaschine");
    QString result = caption;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = result.indexOf(lathe, from, Qt::CaseInsensitive);
        if (at < 0)
            break;
        const bool upper = result.at(at).unicode() < 96;
        result.replace(at, lathe.size(), upper ? QStringLiteral("Fräsmaschine") : QStringLiteral("fräsmaschine"));
        // Both words have twelve letters; the search goes on from the last one.
        from = at + lathe.size() - 1;
    }
    return result;
}

}  // namespace quillon

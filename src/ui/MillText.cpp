#include "MillText.h"

#include <QLabel>
#include <QWidget>

namespace quillon {

QString strMillText(const QString& caption)
{
    static const QString lathe = QStringLiteral("drehmaschine");
    QString text = caption;
    qsizetype at = text.indexOf(lathe, 0, Qt::CaseInsensitive);
    while (at >= 0) {
        const bool upper = text.at(at).unicode() < 96;
        text.replace(at, lathe.size(), upper ? QStringLiteral("Fräsmaschine") : QStringLiteral("fräsmaschine"));
        at = text.indexOf(lathe, at + lathe.size() - 1, Qt::CaseInsensitive);
    }
    return text;
}

void MillText(QWidget* form)
{
    if (!form)
        return;
    for (QLabel* label : form->findChildren<QLabel*>())
        label->setText(strMillText(label->text()));
}

}  // namespace quillon

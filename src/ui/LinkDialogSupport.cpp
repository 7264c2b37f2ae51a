#include "LinkDialogSupport.h"

#include <QLabel>
#include <QWidget>

namespace quillon {

QLabel* addLinkLabel(QWidget* parent, const QString& objectName, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString millWording(const QString& caption)
{
    static const QString lathe = QStringLiteral("drehmaschine");
    QString text = caption;
    qsizetype at = text.indexOf(lathe, 0, Qt::CaseInsensitive);
    while (at >= 0) {
        const bool upper = text[at].unicode() < 96;
        text.replace(at, lathe.size(), upper ? QStringLiteral("Fräsmaschine") : QStringLiteral("fräsmaschine"));
        at = text.indexOf(lathe, at + lathe.size(), Qt::CaseInsensitive);
    }
    return text;
}

void centreOverParent(QWidget* dialog)
{
    const QWidget* owner = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
    if (!owner)
        return;
    const QRect frame = owner->frameGeometry();
    dialog->adjustSize();
    dialog->move(frame.left() + (frame.width() - dialog->width()) / 2,
                 frame.top() + (frame.height() - dialog->height()) / 2);
}

}  // namespace quillon

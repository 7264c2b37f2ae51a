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

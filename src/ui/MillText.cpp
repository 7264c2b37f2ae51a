#include "MillText.h"

#include <QLabel>
#include <QWidget>

namespace quillon {

void MillText(QWidget* form)
{
    if (!form)
        return;
    for (QLabel* label : form->findChildren<QLabel*>())
        label->setText(strMillText(label->text()));
}

}  // namespace quillon

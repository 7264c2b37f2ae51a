#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace quillon {

// A label named after its control ("lblHelp(3)" becomes lblHelp3).
QLabel* addLinkLabel(QWidget* parent, const QString& objectName, const QString& text);

// The mill's dialogs speak of the mill where the lathe's speak of the lathe.
QString millWording(const QString& caption);

// Centres `dialog` over its parent window, as the transfer dialogs open.
void centreOverParent(QWidget* dialog);

}  // namespace quillon

#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace quillon {

// A label named after its control ("lblHelp(3)" becomes lblHelp3).
QLabel* addLinkLabel(QWidget* parent, const QString& objectName, const QString& text);

// Centres `dialog` over its parent window, as the transfer dialogs open.
void centreOverParent(QWidget* dialog);

}  // namespace quillon

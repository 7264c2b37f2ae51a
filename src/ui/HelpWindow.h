#pragma once

#include <QDialog>

class QTextBrowser;

namespace quillon {

// "Quillon Hilfe": the German help page from the resources in a browser window.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser = nullptr;
};

}  // namespace quillon

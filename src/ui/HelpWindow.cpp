#include "HelpWindow.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

// The page lives in a static library's resources, which register only when asked.
static void initHelpResources()
{
    Q_INIT_RESOURCE(ui);
}

namespace quillon {

HelpWindow::HelpWindow(QWidget* parent)
    : QDialog(parent)
{
    initHelpResources();
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Quillon Hilfe"));
    resize(640, 560);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setOpenExternalLinks(false);
    m_browser->setSource(QUrl(QStringLiteral("qrc:/help/quillon-hilfe.html")));
    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addWidget(close, 0, Qt::AlignRight);
}

}  // namespace quillon

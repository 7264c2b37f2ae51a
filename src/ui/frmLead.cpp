#include "frmLead.h"

#include "LinkDialogSupport.h"
#include "link/CableInstructions.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <QPrintDialog>
#include <QPrinter>

namespace quillon {

namespace {

QColor blockColour(CableBlock::Colour colour)
{
    switch (colour) {
    case CableBlock::Colour::Blue: return QColor(0, 0, 255);
    case CableBlock::Colour::Red: return QColor(255, 0, 0);
    case CableBlock::Colour::Black: break;
    }
    return QColor(0, 0, 0);
}

}  // namespace

frmLead::frmLead(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLead"));
    setWindowTitle(QStringLiteral("Quillon - serielles Kabel"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    QLabel* lblHead = addLinkLabel(this, QStringLiteral("lblHead"), strCableHeading());
    QFont headFont = lblHead->font();
    headFont.setBold(true);
    lblHead->setFont(headFont);
    layout->addWidget(lblHead);
    layout->addSpacing(8);

    const std::vector<CableBlock>& blocks = cableBlocks();
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        QString text = blocks[i].text;
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        QLabel* label = addLinkLabel(this, QStringLiteral("lblHelp%1").arg(i), text);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, blockColour(blocks[i].colour));
        label->setPalette(palette);
        layout->addWidget(label);
    }

    auto* buttons = new QHBoxLayout;
    auto* cmdPrint = new QPushButton(QStringLiteral("Drucken"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->setToolTip(QStringLiteral("Erstellt einen Ausdruck dieser Anleitung auf dem Drucker"));
    auto* cmdOk = new QPushButton(QStringLiteral("Ok"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setToolTip(QStringLiteral("Zurück zu Quillon"));
    cmdOk->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdOk);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdPrint, &QPushButton::clicked, this, &frmLead::cmdPrint_Click);
    centreOverParent(this);
}

void frmLead::cmdPrint_Click()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        printCableInstructions(printer);
}

bool printCableInstructions(QPagedPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRect page = painter.viewport();
    int y = 0;
    for (const PrintLine& line : cablePrintLines()) {
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(line.pointSize);
        font.setBold(false);
        font.setItalic(false);
        painter.setFont(font);
        const int height = painter.fontMetrics().lineSpacing();
        if (y + height > page.height() && y > 0) {
            device.newPage();
            y = 0;
        }
        if (!line.text.isEmpty())
            painter.drawText(0, y + painter.fontMetrics().ascent(), line.text);
        y += height;
    }
    return painter.end();
}

}  // namespace quillon

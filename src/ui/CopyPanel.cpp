#include "CopyPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace quillon {

CopyPanel::CopyPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("fraCopy"));
    m_lblmark1 = new QLabel(QStringLiteral("Programmzeilen kopieren"), this);
    m_lblmark1->setObjectName(QStringLiteral("lblmark1"));
    QFont bold = m_lblmark1->font();
    bold.setBold(true);
    m_lblmark1->setFont(bold);
    m_lblMark2 = new QLabel(this);
    m_lblMark2->setObjectName(QStringLiteral("lblMark2"));
    m_lblMark2->setWordWrap(true);
    m_lblMark2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picInsert = new QWidget(this);
    m_picInsert->setObjectName(QStringLiteral("picInsert"));
    auto* lblInsert = new QLabel(QStringLiteral("Zeile"), m_picInsert);
    lblInsert->setObjectName(QStringLiteral("lblInsert"));
    auto* lblCopies = new QLabel(QStringLiteral("Kopieren"), m_picInsert);
    lblCopies->setObjectName(QStringLiteral("lblCopies"));
    m_txtInsert = new QLineEdit(m_picInsert);
    m_txtInsert->setObjectName(QStringLiteral("txtInsert"));
    m_txtCopies = new QLineEdit(m_picInsert);
    m_txtCopies->setObjectName(QStringLiteral("txtCopies"));
    // Digits only; the shortcut keys for copy, paste, cut and undo still work.
    for (QLineEdit* box : {m_txtInsert, m_txtCopies}) {
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
        box->setMaxLength(5);
    }
    auto* row = new QHBoxLayout(m_picInsert);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(lblInsert);
    row->addWidget(m_txtInsert);
    row->addWidget(lblCopies);
    row->addWidget(m_txtCopies);
    m_cmdNext = new QPushButton(QStringLiteral("Next"), this);
    m_cmdNext->setObjectName(QStringLiteral("cmdNext"));
    m_cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_picInsert->hide();
    connect(m_cmdNext, &QPushButton::clicked, this, &CopyPanel::nextClicked);
    connect(m_cmdCancel, &QPushButton::clicked, this, &CopyPanel::cancelClicked);
    connect(m_txtInsert, &QLineEdit::textEdited, this, &CopyPanel::insertEdited);
    connect(m_txtCopies, &QLineEdit::textEdited, this, &CopyPanel::copiesEdited);
    hide();
}

void CopyPanel::setStage(CopyStage stage, const QString& instructions)
{
    m_lblMark2->setText(instructions);
    m_picInsert->setVisible(stage == CopyStage::Entering);
    setVisible(stage != CopyStage::Off);
}

void CopyPanel::setEntries(const QString& insert, const QString& copies)
{
    m_txtInsert->setText(insert);
    m_txtCopies->setText(copies);
}

void CopyPanel::setNextEnabled(bool enabled)
{
    m_cmdNext->setEnabled(enabled);
}

bool CopyPanel::ownsFocus(const QWidget* widget) const
{
    return widget && isAncestorOf(widget);
}

int CopyPanel::layoutFor(int width, int minimum)
{
    const int gap = 6;
    const int labelHeight = fontMetrics().height() + 2;
    const int rowHeight = m_txtInsert->sizeHint().height();
    // The instructions wrap to the width they have and take the height they need.
    const int textHeight = m_lblMark2->heightForWidth(width);
    const int height = std::max(minimum, labelHeight + 2 + textHeight + gap + rowHeight + 2);
    m_lblmark1->setGeometry(0, 0, width, labelHeight);
    const int rowTop = height - rowHeight;
    m_lblMark2->setGeometry(0, labelHeight + 2, width, rowTop - labelHeight - 4);
    const int buttonWidth = m_cmdCancel->sizeHint().width();
    m_picInsert->setGeometry(0, rowTop, width - 2 * (buttonWidth + gap), rowHeight);
    m_cmdNext->setGeometry(width - 2 * buttonWidth - gap, rowTop, buttonWidth, rowHeight);
    m_cmdCancel->setGeometry(width - buttonWidth, rowTop, buttonWidth, rowHeight);
    return height;
}

}  // namespace quillon

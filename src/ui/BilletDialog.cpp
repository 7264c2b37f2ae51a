#include "BilletDialog.h"

#include "export/ExportQuestions.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace quillon {

BilletDialog::BilletDialog(QWidget* parent)
    : QDialog(parent)
    , m_lblDiam(new QLabel(QStringLiteral("Bitte geben Sie den Werkstückdurchmesser ein"), this))
    , m_txtDiam(new QLineEdit(this))
    , m_cmdOk(new QPushButton(QStringLiteral("OK"), this))
    , m_cmdCancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmBillet"));
    setWindowTitle(QStringLiteral("Export zu Spindra - Werkstückdurchmesser"));
    m_lblDiam->setObjectName(QStringLiteral("lblDiam"));
    m_txtDiam->setObjectName(QStringLiteral("txtDiam"));
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    // Digits and the point only; backspace and the other editing keys pass.
    m_txtDiam->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), this));
    m_cmdOk->setDefault(true);
    m_cmdOk->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOk);
    buttons->addWidget(m_cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblDiam);
    layout->addWidget(m_txtDiam);
    layout->addLayout(buttons);

    connect(m_txtDiam, &QLineEdit::textChanged, this, &BilletDialog::updateOk);
    connect(m_cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void BilletDialog::setPrompt(const QString& prompt)
{
    m_lblDiam->setText(prompt);
}

QString BilletDialog::diameter() const
{
    return m_txtDiam->text();
}

void BilletDialog::updateOk()
{
    m_cmdOk->setEnabled(billetDiameterAccepted(m_txtDiam->text()));
}

std::optional<QString> BilletDialog::ask(QWidget* parent, const QString& prompt)
{
    BilletDialog dialog(parent);
    dialog.setPrompt(prompt);
    if (dialog.exec() != QDialog::Accepted || !billetDiameterAccepted(dialog.diameter()))
        return std::nullopt;
    return dialog.diameter();
}

}  // namespace quillon

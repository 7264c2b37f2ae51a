#include "ToolDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace quillon {

ToolDialog::ToolDialog(QWidget* parent)
    : QDialog(parent)
    , m_lblDesc(new QLabel(this))
    , m_cboTool(new QComboBox(this))
    , m_lblSpeed(new QLabel(QStringLiteral("Spindel Drehzahl"), this))
    , m_txtSpeed(new QLineEdit(this))
    , m_cmdOk(new QPushButton(QStringLiteral("OK"), this))
    , m_cmdCancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmTool"));
    setWindowTitle(QStringLiteral("Export zu Spindra - Werkzeug Auswahl"));
    if (parent)
        setWindowIcon(parent->window()->windowIcon());
    m_lblDesc->setObjectName(QStringLiteral("lblDesc"));
    m_cboTool->setObjectName(QStringLiteral("cboTool"));
    m_lblSpeed->setObjectName(QStringLiteral("lblSpeed"));
    m_txtSpeed->setObjectName(QStringLiteral("txtSpeed"));
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    m_cboTool->addItems(latheToolNames());
    m_cboTool->setCurrentIndex(0);
    m_txtSpeed->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    m_cmdOk->setDefault(true);

    auto* fields = new QGridLayout;
    fields->addWidget(m_cboTool, 0, 0, 1, 2);
    fields->addWidget(m_lblSpeed, 1, 0);
    fields->addWidget(m_txtSpeed, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOk);
    buttons->addWidget(m_cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblDesc);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(m_txtSpeed, &QLineEdit::textChanged, this, &ToolDialog::updateOk);
    connect(m_cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    m_txtSpeed->setText(QStringLiteral("1000"));
}

void ToolDialog::updateOk()
{
    m_cmdOk->setEnabled(spindleSpeedAccepted(m_txtSpeed->text()));
}

void ToolDialog::prepare(const QString& question)
{
    m_lblDesc->setText(question);
    m_cboTool->setCurrentIndex(0);
    m_txtSpeed->setFocus();
}

ToolAnswer ToolDialog::answer() const
{
    return ToolAnswer{m_cboTool->currentIndex() + 1, m_txtSpeed->text()};
}

std::optional<ToolAnswer> ToolDialog::ask(const QString& question)
{
    prepare(question);
    if (exec() != QDialog::Accepted || !spindleSpeedAccepted(m_txtSpeed->text()))
        return std::nullopt;
    return answer();
}

}  // namespace quillon

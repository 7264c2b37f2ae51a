#include "MachineTypeDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon {

MachineTypeDialog::MachineTypeDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMachineType"));
    setWindowTitle(QStringLiteral("Quillon - Maschinen Auswahl"));
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("fraType"));
    auto* frameLayout = new QVBoxLayout(frame);
    auto* caption = new QLabel(
        QStringLiteral("Bitte wählen Sie die die Art der Maschine aus mit der Sie mit Quillon arbeiten wollen"), frame);
    caption->setObjectName(QStringLiteral("lblType"));
    caption->setWordWrap(true);
    frameLayout->addWidget(caption);
    const char* captions[] = {
        "Emco Compact 5 CNC Drehmaschnine Mk2 (CPU-A6C114003)",
        "Emco Compact 5 CNC Drehmaschine Mk4 (CPU-A6C114004)",
        "Emco F1 CNC Fräsmaschine (CPUF1A114001)",
        "Emco F1 CNC Fräsmaschine Woodworker (CPU-F114001)",
    };
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(QString::fromUtf8(captions[i]), frame);
        option->setObjectName(QStringLiteral("optType%1").arg(i));
        connect(option, &QRadioButton::clicked, this, [this, i]() { optTypeClicked(i); });
        frameLayout->addWidget(option);
        m_options[static_cast<std::size_t>(i)] = option;
    }
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOk"));
    m_ok->setEnabled(false);
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, [this]() {
        m_choice = 0;
        reject();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
}

void MachineTypeDialog::preselect(std::optional<MachineChoice> choice)
{
    for (QRadioButton* option : m_options) {
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
    m_choice = 0;
    m_ok->setEnabled(false);
    if (choice) {
        const int index = static_cast<int>(*choice) - 1;
        m_options[static_cast<std::size_t>(index)]->setChecked(true);
        optTypeClicked(index);
    }
}

void MachineTypeDialog::optTypeClicked(int index)
{
    m_choice = index + 1;
    m_ok->setEnabled(true);
}

std::optional<MachineSetting> askMachineType(MachineTypeDialog& dialog, MachineType current, bool woodworker)
{
    dialog.preselect(preselectedChoice(current, woodworker));
    const int result = dialog.exec() == QDialog::Accepted ? dialog.choice() : 0;
    return machineFromDialogResult(result);
}

}  // namespace quillon

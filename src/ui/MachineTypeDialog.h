#pragma once

#include "shell/MachineSelection.h"

#include <QDialog>
#include <array>

class QPushButton;
class QRadioButton;

namespace quillon {

// frmMachineType: four stacked options, OK (usable once one is chosen) and
// Cancel. The result is the option number 1 to 4, 0 for Cancel.
class MachineTypeDialog : public QDialog {
    Q_OBJECT
public:
    explicit MachineTypeDialog(QWidget* parent = nullptr);

    void preselect(std::optional<MachineChoice> choice);
    int choice() const { return m_choice; }

private:
    void optTypeClicked(int index);

    std::array<QRadioButton*, 4> m_options{};
    QPushButton* m_ok = nullptr;
    int m_choice = 0;
};

// Shows the dialog modally with the current machine pre-selected; the
// chosen machine, or nullopt after Cancel.
std::optional<MachineSetting> askMachineType(MachineTypeDialog& dialog, MachineType current, bool woodworker);

}  // namespace quillon

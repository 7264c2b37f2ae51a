#pragma once

#include "export/ExportQuestions.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

// frmTool: the tool and spindle speed of a tool change. One dialog serves a
// whole session and is only hidden between questions, so the speed entered
// last is offered again; the tool list starts at the first tool each time.
class ToolDialog : public QDialog {
    Q_OBJECT
public:
    explicit ToolDialog(QWidget* parent = nullptr);

    // Shows the dialog modally with `question`; nullopt on Cancel.
    std::optional<ToolAnswer> ask(const QString& question);

    // Prepares the next showing without showing it (ask() does this first).
    void prepare(const QString& question);
    ToolAnswer answer() const;

private:
    void updateOk();

    QLabel* m_lblDesc;
    QComboBox* m_cboTool;
    QLabel* m_lblSpeed;
    QLineEdit* m_txtSpeed;
    QPushButton* m_cmdOk;
    QPushButton* m_cmdCancel;
};

}  // namespace quillon

#pragma once

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

// frmBillet: asks for the billet diameter when the program description does
// not name it. OK stays disabled until the text has a value above 0.
class BilletDialog : public QDialog {
    Q_OBJECT
public:
    explicit BilletDialog(QWidget* parent = nullptr);

    void setPrompt(const QString& prompt);
    QString diameter() const;

    // Shows the dialog modally; the diameter as entered, or nullopt on Cancel.
    static std::optional<QString> ask(QWidget* parent, const QString& prompt);

private:
    void updateOk();

    QLabel* m_lblDiam;
    QLineEdit* m_txtDiam;
    QPushButton* m_cmdOk;
    QPushButton* m_cmdCancel;
};

}  // namespace quillon

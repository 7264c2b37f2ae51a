#pragma once

#include "editing/EditorView.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

// The copy panel that takes the line form's place while lines are copied:
// the heading, the instructions, the position and count boxes, Next and Cancel.
class CopyPanel : public QWidget {
    Q_OBJECT
public:
    explicit CopyPanel(QWidget* parent);

    void setStage(CopyStage stage, const QString& instructions);
    // Written by the program, not user edits: no textEdited follows.
    void setEntries(const QString& insert, const QString& copies);
    void setNextEnabled(bool enabled);
    // Lays the panel out for `width` and answers the height its text needs,
    // at least `minimum`.
    int layoutFor(int width, int minimum);
    // True for the panel's own controls, which keep their keys while copying.
    bool ownsFocus(const QWidget* widget) const;

signals:
    void nextClicked();
    void cancelClicked();
    void insertEdited(const QString& text);
    void copiesEdited(const QString& text);

private:
    QLabel* m_lblmark1 = nullptr;
    QLabel* m_lblMark2 = nullptr;
    QWidget* m_picInsert = nullptr;
    QLineEdit* m_txtInsert = nullptr;
    QLineEdit* m_txtCopies = nullptr;
    QPushButton* m_cmdNext = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

}  // namespace quillon

#pragma once

#include "check/ProgramCheck.h"

#include <QDockWidget>
#include <vector>

class QListWidget;

namespace quillon {

// "Programmprüfung": the findings of the program check, one line each
// ("N05: message"), at the bottom of the editor window. Activating a line
// (double click or Enter) asks for its row; the window goes there.
class ProgramCheckPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit ProgramCheckPanel(QWidget* parent = nullptr);

    // Replaces what the panel shows; no findings show that the program is clean.
    void showFindings(const std::vector<Finding>& findings);
    QListWidget* list() const { return m_list; }

    static constexpr const char* kCleanText = "Keine Probleme gefunden.";

signals:
    // The 0-based row of an activated finding; findings about the whole
    // program have no row and ask for none.
    void rowActivated(int row);

private:
    QListWidget* m_list = nullptr;
};

}  // namespace quillon

#pragma once

#include "check/ProgramCheck.h"

#include <QDockWidget>
#include <QTimer>
#include <functional>
#include <vector>

class QListWidget;

namespace quillon {

// "Programmprüfung": the findings of the program check, one line each
// ("N05: message"), at the bottom of the editor window: the errors with the
// stop sign, then the warnings with the warning sign. Activating a line
// (double click or Enter) asks for its row; the window goes there. While
// shown, the panel checks again after each change of the program, so its
// lines never point at rows that have moved.
class ProgramCheckPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit ProgramCheckPanel(QWidget* parent = nullptr);

    using FindingSource = std::function<std::vector<Finding>()>;
    void setSource(FindingSource source) { m_source = std::move(source); }
    // Checks the program now and shows the findings.
    void refresh();
    // The program changed: a shown panel checks again once the burst of
    // changes is over; a hidden one when it is next shown.
    void programChanged();

    // Replaces what the panel shows; no findings show that the program is clean.
    void showFindings(const std::vector<Finding>& findings);
    QListWidget* list() const { return m_list; }

    static constexpr const char* kCleanText = "Keine Probleme gefunden.";

signals:
    // The 0-based row of an activated finding; findings about the whole
    // program have no row and ask for none.
    void rowActivated(int row);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QListWidget* m_list = nullptr;
    FindingSource m_source;
    QTimer m_recheck;
    bool m_stale = false;
};

}  // namespace quillon

#pragma once

#include "model/MachineType.h"

#include <QDialog>
#include <QTimer>

class QLabel;
class QPushButton;

namespace quillon {

// frmSplash: the start-up picture that later serves as the about box. The
// one-shot tmrSplash hides it and uncovers its OK button for the about view.
class SplashWindow : public QDialog {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // Titles and picture of the machine; called each time it is shown.
    void setMachine(MachineType type);
    // Starts tmrSplash (2500 ms).
    void startTimer();
    // What the first dispatched command does: stop the timer, hide, and
    // turn into the about view as the timer would have.
    void dismiss();
    bool timerActive() const { return m_timer.isActive(); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void tmrSplashTimer();
    void layoutStep();

    QLabel* m_title = nullptr;
    QLabel* m_model = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_mill = nullptr;
    QLabel* m_lathe = nullptr;
    QPushButton* m_ok = nullptr;
    QTimer m_timer;
    bool m_aboutView = false;
    bool m_layingOut = false;
};

}  // namespace quillon

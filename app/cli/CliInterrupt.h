#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace quillon::cli {

// Turns Ctrl+C (SIGINT, and SIGTERM) into a call on the event loop while
// it lives, so a transfer can close its port and save what arrived instead
// of dying mid-way. The previous handlers come back when it goes.
class CliInterrupt : public QObject {
    Q_OBJECT
public:
    explicit CliInterrupt(std::function<void()> onInterrupt);
    ~CliInterrupt() override;

private:
    std::function<void()> m_onInterrupt;
    QTimer m_poll;
};

}  // namespace quillon::cli

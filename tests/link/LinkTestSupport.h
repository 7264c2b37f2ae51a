#pragma once

#include "link/TransferObserver.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <functional>
#include <vector>

namespace quillon::test {

// Records what a job tells its observer.
class RecordingObserver : public TransferObserver {
public:
    std::vector<int> percents;
    QStringList displays;
    QStringList reports;
    std::vector<TransferOutcome> outcomes;

    void progressChanged(int percent) override { percents.push_back(percent); }
    void receivedTextChanged(const QString& display) override { displays << display; }
    void portFailed(const QString& report) override { reports << report; }
    void finished(TransferOutcome outcome) override { outcomes.push_back(outcome); }
    bool done() const { return !outcomes.empty(); }
};

// Runs the event loop until `condition` holds or `timeoutMs` have passed;
// answers whether it held.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Lets the event loop run for `ms`.
inline void spin(int ms)
{
    waitFor([] { return false; }, ms);
}

}  // namespace quillon::test

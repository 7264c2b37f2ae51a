#pragma once

// What the link tests share: a recording observer, waiting on the event
// loop, a pair of pseudo-terminals and the emulated machine at the far end.

#include "link/TransferObserver.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace quillon::test {

// Records what a job tells its observer.
struct RecordingObserver : TransferObserver {
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

inline void spin(int ms) { waitFor([] { return false; }, ms); }

// Two connected pseudo-terminals made by socat, named by links in a private
// folder. socat ends with this object, whatever the test's outcome.
class PtyPair {
public:
    PtyPair()
    {
        m_socat.setStandardErrorFile(QProcess::nullDevice());
        const QString end = QStringLiteral("pty,raw,echo=0,link=");
        m_socat.start(QStringLiteral("socat"), {end + a(), end + b()});
        if (!m_dir.isValid() || !m_socat.waitForStarted(3000)) {
            m_why = QStringLiteral("socat did not start: ") + m_socat.errorString();
            return;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!(QFileInfo::exists(a()) && QFileInfo::exists(b()))) {
            if (std::chrono::steady_clock::now() > deadline || m_socat.state() == QProcess::NotRunning) {
                m_why = QStringLiteral("socat made no pseudo-terminals");
                return;
            }
            QThread::msleep(5);
        }
        m_ok = true;
    }
    ~PtyPair() { cut(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return m_ok; }
    std::string why() const { return m_why.toStdString(); }
    QString a() const { return m_dir.filePath(QStringLiteral("a")); }
    QString b() const { return m_dir.filePath(QStringLiteral("b")); }

    // Ends socat: both ends lose their peer, as when a cable adapter is pulled out.
    void cut()
    {
        if (m_socat.state() != QProcess::NotRunning) {
            m_socat.kill();
            m_socat.waitForFinished(3000);
        }
    }

private:
    QTemporaryDir m_dir;
    QProcess m_socat;
    bool m_ok = false;
    QString m_why;
};

#define REQUIRE_PTYS(pair) \
    if (!(pair).ok())      \
    GTEST_SKIP() << (pair).why()

// The machine's control at the far end of a line: it reads whatever is sent,
// at a chosen pace, and plays back programs the way the machine sends them, a
// few characters at a time. A 300-baud line carries 30 characters a second;
// tests run it faster. Runs on its own thread on a plain file descriptor, so
// the Qt side under test stays on the main thread.
class EmulatedMachine {
public:
    // Opens the device at `path` (one end of a PtyPair).
    explicit EmulatedMachine(const QString& path);
    ~EmulatedMachine();
    EmulatedMachine(const EmulatedMachine&) = delete;
    EmulatedMachine& operator=(const EmulatedMachine&) = delete;

    bool ok() const { return m_fd >= 0; }
    // Reads at most `charsPerSecond` (0: as fast as it comes).
    void setReadPace(int charsPerSecond) { m_readPace = charsPerSecond; }
    // Queues `bytes` for sending in bursts of `burst` characters at `charsPerSecond`.
    void send(const QByteArray& bytes, int charsPerSecond, int burst = 3);
    // Queues a quiet time between sends.
    void pause(int ms);
    // Everything read so far.
    QByteArray heard() const;
    // Waits (without an event loop) until `count` bytes have been read.
    bool waitHeard(qsizetype count, int timeoutMs) const;
    // True once every queued send has been written.
    bool sendsDone() const;

private:
    struct Step {
        QByteArray bytes;
        int charsPerSecond = 0;
        int burst = 1;
        int pauseMs = 0;
    };
    void run();

    int m_fd = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_readPace{0};
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_heardChanged;
    QByteArray m_heard;
    std::deque<Step> m_steps;
    bool m_busy = false;
    std::thread m_thread;
};

}  // namespace quillon::test

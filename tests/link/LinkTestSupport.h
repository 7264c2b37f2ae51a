#pragma once

// What the link tests share: a recording observer, waiting on the event
// loop, a pair of pseudo-terminals and the emulated machine at the far end.

#include "link/TransferObserver.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <deque>
#include <fcntl.h>
#include <functional>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace quillon::test {

// Records what a job tells its observer.
struct RecordingObserver : TransferObserver {
    std::vector<int> percents;
    QStringList reports;
    std::vector<TransferOutcome> outcomes;
    std::function<void()> onReport;  // runs while the report would be up

    void progressChanged(int percent) override { percents.push_back(percent); }
    void receivedTextChanged(const QString&) override {}
    void portFailed(const QString& report) override
    {
        reports << report;
        if (onReport)
            onReport();
    }
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
            m_why = "socat did not start: " + m_socat.errorString().toStdString();
            return;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!(QFileInfo::exists(a()) && QFileInfo::exists(b())) && m_why.empty()) {
            if (std::chrono::steady_clock::now() > deadline || m_socat.state() == QProcess::NotRunning)
                m_why = "socat made no pseudo-terminals";
            QThread::msleep(5);
        }
    }
    ~PtyPair() { cut(); }

    bool ok() const { return m_why.empty(); }
    std::string why() const { return m_why; }
    QString a() const { return m_dir.filePath(QStringLiteral("a")); }
    QString b() const { return m_dir.filePath(QStringLiteral("b")); }
    // Ends socat: both ends lose their peer, as when a cable adapter is pulled out.
    void cut()
    {
        m_socat.kill();
        m_socat.waitForFinished(3000);
    }

private:
    QTemporaryDir m_dir;
    QProcess m_socat;
    std::string m_why;
};

#define REQUIRE_PTYS(pair) \
    if (!(pair).ok())      \
    GTEST_SKIP() << (pair).why()

// The machine's control at the far end of a line: it reads whatever is sent,
// at a chosen pace, and plays back programs the way the machine sends them, a
// few characters at a time. A 300-baud line carries 30 characters a second;
// tests run it faster. It works from the event loop, as the port under test does.
class EmulatedMachine {
public:
    // Opens the device at `path` (one end of a PtyPair).
    explicit EmulatedMachine(const QString& path) : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        termios tio {};
        ::tcgetattr(m_fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_fd, TCSANOW, &tio);
        m_clock.start();
        m_timer.callOnTimeout([this] { step(); });
        m_timer.start(1);
    }
    ~EmulatedMachine()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    bool ok() const { return m_fd >= 0; }
    // Reads at most `charsPerSecond` (0: as fast as it comes).
    void setReadPace(int charsPerSecond) { m_readPace = charsPerSecond; }
    // Queues `bytes` for sending in bursts of `burst` characters at `charsPerSecond`.
    void send(const QByteArray& bytes, int charsPerSecond, int burst = 3) { m_steps.push_back({bytes, charsPerSecond, burst, 0}); }
    // Queues a quiet time between sends.
    void pause(int ms) { m_steps.push_back({{}, 0, 1, ms}); }
    QByteArray heard() const { return m_heard; }
    bool sendsDone() const { return m_steps.empty(); }

private:
    struct Step { QByteArray bytes; int charsPerSecond, burst, pauseMs; };
    void step()
    {
        const qint64 now = m_clock.elapsed();
        if (!m_steps.empty() && now >= m_nextWrite) {
            const Step& s = m_steps.front();
            const ssize_t n = s.pauseMs ? 0 : ::write(m_fd, s.bytes.constData() + m_sendPos, size_t(std::min<qsizetype>(s.burst, s.bytes.size() - m_sendPos)));
            m_sendPos += std::max<ssize_t>(n, 0);
            m_nextWrite = now + (s.pauseMs ? s.pauseMs : std::max<ssize_t>(n, 0) * 1000 / s.charsPerSecond);
            // A peer that went away ends the step; so does its end.
            if (m_sendPos >= s.bytes.size() || (n < 0 && errno != EAGAIN)) {
                m_steps.pop_front();
                m_sendPos = 0;
            }
        }
        char buffer[256];
        const qint64 allowed = m_readPace ? now * m_readPace / 1000 - m_pacedReads : qint64(sizeof buffer);
        const ssize_t n = allowed > 0 ? ::read(m_fd, buffer, size_t(std::min<qint64>(allowed, sizeof buffer))) : 0;
        if (n > 0) {
            m_heard.append(buffer, n);
            m_pacedReads += n;
        }
    }

    int m_fd;
    int m_readPace = 0;
    QElapsedTimer m_clock;
    QTimer m_timer;
    QByteArray m_heard;
    qint64 m_pacedReads = 0, m_nextWrite = 0;
    qsizetype m_sendPos = 0;
    std::deque<Step> m_steps;
};

}  // namespace quillon::test

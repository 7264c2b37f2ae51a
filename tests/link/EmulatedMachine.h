#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace quillon::test {

// The machine's control at the far end of a line: it reads whatever is
// sent, at a chosen pace, and plays back programs the way the machine sends
// them, a few characters at a time. A 300-baud line carries 30 characters a
// second; tests run it faster. Runs on its own thread on plain file
// descriptors, so the Qt side under test stays on the main thread.
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

    // Queues `bytes` for sending in bursts of `burst` characters paced at
    // `charsPerSecond`.
    void send(const QByteArray& bytes, int charsPerSecond, int burst = 3);
    // Queues a quiet time between sends.
    void pause(int ms);
    // Sends line by line with a quiet `gapMs` after each LF, as the machine
    // pauses between lines; keeps a loaded receiver from taking several
    // lines in one read.
    void sendLines(const QByteArray& bytes, int charsPerSecond, int burst, int gapMs);

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

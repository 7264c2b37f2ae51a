#include "LinkTestSupport.h"

#include <cerrno>
#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace quillon::test {

using Clock = std::chrono::steady_clock;

EmulatedMachine::EmulatedMachine(const QString& path)
{
    m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0)
        return;
    termios tio {};
    if (::tcgetattr(m_fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_fd, TCSANOW, &tio);
    }
    m_thread = std::thread([this] { run(); });
}

EmulatedMachine::~EmulatedMachine()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_fd >= 0)
        ::close(m_fd);
}

void EmulatedMachine::send(const QByteArray& bytes, int charsPerSecond, int burst)
{
    std::lock_guard lock(m_mutex);
    m_steps.push_back({bytes, charsPerSecond, burst < 1 ? 1 : burst, 0});
}

void EmulatedMachine::pause(int ms)
{
    std::lock_guard lock(m_mutex);
    m_steps.push_back({QByteArray(), 0, 1, ms});
}

QByteArray EmulatedMachine::heard() const
{
    std::lock_guard lock(m_mutex);
    return m_heard;
}

bool EmulatedMachine::waitHeard(qsizetype count, int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_heardChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return m_heard.size() >= count; });
}

bool EmulatedMachine::sendsDone() const
{
    std::lock_guard lock(m_mutex);
    return m_steps.empty() && !m_busy;
}

void EmulatedMachine::run()
{
    Clock::time_point nextRead = Clock::now();
    Clock::time_point nextWrite = Clock::now();
    qsizetype sendPos = 0;
    while (!m_stop) {
        const Clock::time_point now = Clock::now();

        // Outgoing: the front step, one burst when its time has come.
        Step step;
        bool haveStep = false;
        {
            std::lock_guard lock(m_mutex);
            if (!m_steps.empty()) {
                step = m_steps.front();
                haveStep = true;
                m_busy = true;
            }
        }
        if (haveStep && now >= nextWrite) {
            bool stepDone = false;
            if (step.pauseMs > 0) {
                nextWrite = now + std::chrono::milliseconds(step.pauseMs);
                stepDone = true;
            } else {
                const QByteArray burst = step.bytes.mid(sendPos, step.burst);
                const ssize_t n = burst.isEmpty() ? 0 : ::write(m_fd, burst.constData(), size_t(burst.size()));
                if (n > 0)
                    sendPos += n;
                if (step.charsPerSecond > 0 && n > 0)
                    nextWrite = now + std::chrono::microseconds(qint64(n) * 1000000 / step.charsPerSecond);
                // A peer that went away ends the step; so does its end.
                stepDone = sendPos >= step.bytes.size() || (n < 0 && errno != EAGAIN);
            }
            if (stepDone) {
                sendPos = 0;
                std::lock_guard lock(m_mutex);
                m_steps.pop_front();
                m_busy = !m_steps.empty();
            }
        }

        // Incoming, at the read pace.
        const int pace = m_readPace;
        if (now >= nextRead) {
            char buffer[256];
            const size_t want = pace > 0 ? 1 : sizeof buffer;
            const ssize_t n = ::read(m_fd, buffer, want);
            if (n > 0) {
                {
                    std::lock_guard lock(m_mutex);
                    m_heard.append(buffer, n);
                }
                m_heardChanged.notify_all();
                if (pace > 0)
                    nextRead = now + std::chrono::microseconds(qint64(n) * 1000000 / pace);
            }
        }

        // Wait for input or the next paced step, never longer than 1 ms.
        const Clock::time_point after = Clock::now();
        if (after < nextRead) {
            std::this_thread::sleep_for(std::min<Clock::duration>(nextRead - after, std::chrono::milliseconds(1)));
        } else {
            pollfd p {m_fd, POLLIN, 0};
            ::poll(&p, 1, 1);
            // A vanished peer keeps the descriptor readable; do not spin on it.
            if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
}

}  // namespace quillon::test

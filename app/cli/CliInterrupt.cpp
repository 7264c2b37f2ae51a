#include "CliInterrupt.h"

#include <csignal>

namespace quillon::cli {

namespace {

// A signal handler can only leave a mark; the event loop looks for it.
volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void markInterrupt(int)
{
    g_interrupted = 1;
}

struct sigaction g_oldInt {};
struct sigaction g_oldTerm {};

}  // namespace

CliInterrupt::CliInterrupt(std::function<void()> onInterrupt)
    : m_onInterrupt(std::move(onInterrupt))
{
    g_interrupted = 0;
    struct sigaction action {};
    action.sa_handler = markInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &g_oldInt);
    sigaction(SIGTERM, &action, &g_oldTerm);
    m_poll.setInterval(50);
    connect(&m_poll, &QTimer::timeout, this, [this] {
        if (!g_interrupted)
            return;
        g_interrupted = 0;
        if (m_onInterrupt)
            m_onInterrupt();
    });
    m_poll.start();
}

CliInterrupt::~CliInterrupt()
{
    sigaction(SIGINT, &g_oldInt, nullptr);
    sigaction(SIGTERM, &g_oldTerm, nullptr);
}

}  // namespace quillon::cli

#pragma once

#include <thread>

namespace quillon {

// Reads the font configuration on a second thread while the application
// connects to the display. The first text the window measures needs it, and
// on its own it holds up the window for several milliseconds; side by side
// with the display connection it costs the window nothing. Where the fonts
// are not configured this way, nothing happens.
class FontWarmup {
public:
    FontWarmup();
    ~FontWarmup();
    FontWarmup(const FontWarmup&) = delete;
    FontWarmup& operator=(const FontWarmup&) = delete;

    // Returns once the configuration is read; before the first font is asked for.
    void wait();

private:
    std::thread m_thread;
};

}  // namespace quillon

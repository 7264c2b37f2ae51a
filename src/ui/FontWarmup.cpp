#include "FontWarmup.h"

#include <QtGlobal>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <dlfcn.h>
#define QUILLON_FONTCONFIG_WARMUP 1
#endif

namespace quillon {

FontWarmup::FontWarmup()
{
#ifdef QUILLON_FONTCONFIG_WARMUP
    // Qt's font database reads fontconfig's configuration on first use; the
    // library is already loaded with Qt, so its entry point is looked up
    // rather than linked. Fontconfig initialises once however many threads ask.
    using Init = int (*)();
    if (auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit")))
        m_thread = std::thread(init);
#endif
}

FontWarmup::~FontWarmup()
{
    wait();
}

void FontWarmup::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

}  // namespace quillon

// The libFuzzer entry point, built once per target with FUZZ_CHECK naming the
// target's check: aborts with the check's answer when a property broke.
#include "FuzzChecks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    using namespace quillon::fuzz;
    const std::string broken = FUZZ_CHECK(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)),
                                          CheckRun::Fuzzing);
    if (!broken.empty()) {
        std::fprintf(stderr, "property broken: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}

#include "FuzzChecks.h"

#include <cstdio>
#include <cstdlib>

namespace quillon::fuzz {


int runFuzzCheck(FuzzCheck check, const unsigned char* data, std::size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::string broken = check(input, CheckRun::Fuzzing);
    if (!broken.empty()) {
        std::fprintf(stderr, "property broken: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}

}  // namespace quillon::fuzz

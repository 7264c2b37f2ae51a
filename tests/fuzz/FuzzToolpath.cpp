#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    return quillon::fuzz::runFuzzCheck(quillon::fuzz::checkToolpath, data, size);
}

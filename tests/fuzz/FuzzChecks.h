#pragma once

#include <QByteArray>
#include <string>
#include <vector>

namespace quillon::fuzz {

// A check takes one arbitrary input and answers "" when every property it
// guards holds, or a description of the first one that broke. The libFuzzer
// entry points abort on a non-empty answer; the corpus test reports it.
using FuzzCheck = std::string (*)(const QByteArray& input);

struct FuzzTarget {
    const char* name;  // also the folder of its corpus: tests/fuzz/corpus/<name>/
    FuzzCheck check;
};

const std::vector<FuzzTarget>& fuzzTargets();

std::string checkDecodeF1(const QByteArray& input);
std::string checkDecodeMark2(const QByteArray& input);
std::string checkDecodeMark4(const QByteArray& input);

// Runs `check` on a libFuzzer input and aborts with its answer when it is
// not empty.
int runFuzzCheck(FuzzCheck check, const unsigned char* data, std::size_t size);

}  // namespace quillon::fuzz

#pragma once

#include <QByteArray>
#include <string>
#include <vector>

namespace quillon {
struct ExtractedProgram;
}

namespace quillon::fuzz {

// Fuzzing, a check may pass over inputs too slow to fuzz; the corpus test
// runs every check in full.
enum class CheckRun { Fuzzing, Full };

// A check takes one arbitrary input and answers "" when every property it
// guards holds, or a description of the first one that broke. The libFuzzer
// entry point aborts on a non-empty answer; the corpus test reports it.
using FuzzCheck = std::string (*)(const QByteArray& input, CheckRun run);

struct FuzzTarget {
    const char* name;  // also the folder of its corpus: tests/fuzz/corpus/<name>/
    FuzzCheck check;
};

const std::vector<FuzzTarget>& fuzzTargets();

std::string checkDecodeF1(const QByteArray& input, CheckRun run);
std::string checkDecodeMark2(const QByteArray& input, CheckRun run);
std::string checkDecodeMark4(const QByteArray& input, CheckRun run);
std::string checkExport(const QByteArray& input, CheckRun run);
std::string checkReceive(const QByteArray& input, CheckRun run);
std::string checkToolpath(const QByteArray& input, CheckRun run);

// A program text whose walk has no moves to show for a loop runs to the
// walk's million-step stop, which takes seconds in the instrumented build;
// the fuzzer would spend its time there. Such texts are kept in the corpus
// and run in full by the corpus test; while fuzzing, a check passes over
// programs whose walk takes more than a few thousand steps.
bool walkIsShort(const ExtractedProgram& records);

}  // namespace quillon::fuzz

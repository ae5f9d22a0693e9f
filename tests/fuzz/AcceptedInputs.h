#pragma once
// What every reader's fuzz harness counts: the inputs it was given and those the
// reader accepted, printed at exit as "<reader>: N of M inputs accepted." so
// that a run whose inputs never reach the save and read-back checks shows
// (./test fails on 0).
#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace talvo::fuzzing {

inline std::size_t inputs = 0;
inline std::size_t accepted = 0;
inline const char* reader = "";

// Call once from LLVMFuzzerInitialize.
inline void ReportAcceptedAtExit(const char* readerName) {
    reader = readerName;
    std::atexit([] { std::fprintf(stderr, "%s: %zu of %zu inputs accepted.\n", reader, accepted, inputs); });
}

}  // namespace talvo::fuzzing

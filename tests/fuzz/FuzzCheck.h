#pragma once

#include <cstdio>
#include <cstdlib>

namespace veltrane::fuzz {

// A broken promise of a parser is a finding like a crash: libFuzzer keeps the input.
inline void fuzzCheck(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

}  // namespace veltrane::fuzz

#pragma once

#include <ostream>
#include <string>

#include "burnin/LoopRunner.h"

namespace veltrane::cli {

// `veltrane-cli loop`: exactly one of repeat, until, continuous.
struct LoopOptions {
    std::string repeat;  // cycles of ten units, as typed
    std::string until;   // "HH:MM" on the program's clock (UTC plus one hour)
    bool continuous = false;
    std::string priority = "high";  // low, medium or high
};

inline constexpr const char* kLoopPriorities[] = {"low", "medium", "high"};

// For test programs only: a hook that may change each unit's result before
// it is checked, to see a failure reported. The shipped program never sets one.
void setLoopResultHook(burnin::LoopRunner::ResultHook hook);

// Runs the burn-in loop, printing its log as it grows. Ctrl+C stops it after
// the current unit. Returns the exit status: 1 when a unit failed its check.
int runLoop(const LoopOptions& options, std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli

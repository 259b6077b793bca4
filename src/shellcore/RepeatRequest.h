#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/RepeatStats.h"

namespace veltrane::shell {

// WM_RUN_BENCH's second argument: the test mask in its low byte and, above
// it, how many runs in a row (1 to engine::kMaxRepeatRuns); a plain mask is
// one run.
std::intptr_t runRequestArgument(int mask, int runs);
int repeatCountOf(std::intptr_t argument);

// "Run 2 of 3" in the progress window; empty for a single run.
std::string runCountText(int run, int runs);

// The results window's spread: the overall score's (the total time's when
// the run had no overall score) minimum, maximum and RSD, and the figure that
// spread most when that is another. Empty for a single run.
std::string spreadText(const std::vector<engine::FigureStats>& stats, int runs);

}  // namespace veltrane::shell

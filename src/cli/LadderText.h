#pragma once

#include <string>

#include "engine/MemoryLadder.h"

namespace veltrane::cli {

inline constexpr int kLadderBarWidth = 50;

// `veltrane-cli ladder`'s output: a table of the rungs (working set, level,
// MB/s), a chart of '#' bars scaled to the largest figure, then the notes.
std::string formatLadder(const engine::LadderResult& result);

// The bar of `value` against the largest figure `widest`: at least one '#'
// for any figure, none for a rung without one.
std::string ladderBar(double value, double widest);

}  // namespace veltrane::cli

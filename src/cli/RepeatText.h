#pragma once

#include <string>

#include "engine/RepeatStats.h"
#include "reports/RunContext.h"

namespace veltrane::cli {

// The line before run `run` (from 1) of a repeat.
std::string runHeading(int run, const engine::RepeatPlan& plan);

// After a repeat: each measured figure's median, minimum, maximum and RSD,
// and for --until-stable how many runs it took and whether they settled.
std::string repeatTable(const reports::RepeatOutcome& outcome);

}  // namespace veltrane::cli

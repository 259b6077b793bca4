#pragma once

#include <string>
#include <vector>

#include "reports/ScalingView.h"

namespace veltrane::cli {

// The results of a scaling run: per thread count a table of the seven
// figures (each thread's, the sum, the efficiency, the slowest thread's
// time), the multi-core score and where the threads ran.
std::string scalingText(const std::vector<reports::ScalingStepView>& steps);

}  // namespace veltrane::cli

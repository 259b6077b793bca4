#pragma once

#include "engine/BenchmarkRun.h"

namespace veltrane::suites {

// The thread procedure of a single-thread suite (0 SSE, 1 SSE2, 2 3DNow!,
// 3 standard); nullptr for the two-thread SMP suite and unknown numbers.
engine::SuiteThread suiteThreadFor(int suite);

}  // namespace veltrane::suites

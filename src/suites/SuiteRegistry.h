#pragma once

#include "engine/BenchResult.h"

namespace veltrane::suites {

// A benchmark thread's procedure: it writes the record it is given.
using SuiteThread = void (*)(engine::BenchResult&);

// The thread procedure of a single-thread suite (0 SSE, 1 SSE2, 2 3DNow!,
// 3 standard); nullptr for the two-thread SMP suite and unknown numbers.
SuiteThread suiteThreadFor(int suite);

}  // namespace veltrane::suites

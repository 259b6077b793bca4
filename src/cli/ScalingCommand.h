#pragma once

#include <ostream>

#include "cli/RunCommand.h"

namespace veltrane::cli {

// `veltrane-cli run --threads N|all`: tests 1 to 7 in one thread, then in N
// at once; each thread's figures, their sums, how they scaled and the
// multi-core score. Returns the exit status.
int runScalingBenchmark(const RunOptions& options, std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli

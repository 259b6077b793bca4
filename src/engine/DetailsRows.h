#pragma once

#include <vector>

#include "engine/BenchResult.h"
#include "engine/RunRequest.h"

namespace veltrane::engine {

// The "Benchmarks Details" list: every value of a result, rows 0 to 52.
std::vector<InfoRow> benchmarkDetailsRows(const BenchResult& record);

}  // namespace veltrane::engine

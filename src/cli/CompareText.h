#pragma once

#include <string>

#include "engine/BenchResult.h"
#include "engine/ReferenceDatabase.h"

namespace veltrane::cli {

// The comparison as the chart pages show it: for each page your system and
// the first four entries of the run's reference list, one line per system.
std::string compareText(const engine::BenchResult& record,
                        const engine::ReferenceDatabase& database);

}  // namespace veltrane::cli

#pragma once

#include <vector>

#include "engine/BenchResult.h"
#include "engine/InfoRow.h"

namespace veltrane::ident {
struct MachineFacts;
}

namespace veltrane::engine {

// The "Benchmarks Details" list: every value of a result, rows 0 to 52.
std::vector<InfoRow> benchmarkDetailsRows(const BenchResult& record);

// The "CPU and System Information" list of the progress window; an SMP run
// names the processor with its count ("2xAMD Athlon MP").
std::vector<InfoRow> cpuAndSystemRows(const ident::MachineFacts& machine, bool smpRun);

}  // namespace veltrane::engine

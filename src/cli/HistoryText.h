#pragma once

#include <string>
#include <vector>

#include "store/ResultsStore.h"

namespace veltrane::cli {

// `history list`: one line per run, oldest first, with a key to the marks.
std::string historyTable(const std::vector<store::RunRow>& runs);

// `history list`, after the runs: the scaling runs under their own ids
// ("m1"); nothing when none is kept.
std::string scalingHistoryTable(const std::vector<store::ScalingRunRow>& runs);

// `history show m1`: the scaling run's facts, then per thread count the
// summed figures and their efficiencies from its JSON document.
std::string scalingHistoryText(const store::ScalingRunRow& run);

// `history show`: the run's facts and figures, then its details and
// warnings when its JSON record holds them.
std::string historyRunText(const store::RunRow& run);

// `history compare`: each figure of two runs side by side with the second's
// ratio to the first ("-" where either has none).
std::string historyCompareText(const store::RunRow& first, const store::RunRow& second);

}  // namespace veltrane::cli

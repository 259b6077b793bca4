#pragma once

#include <cstdint>
#include <string>

#include "reports/ScalingContext.h"
#include "store/ResultsStore.h"

namespace veltrane::store {

// A finished scaling run as the history keeps it: the largest thread
// count's multi-core score and whether every thread's checks passed, and
// the whole JSON document. Qt-free, so either front end hands the row to
// ResultsStore::addScalingRun. `origin` is "cli" or "desktop".
ScalingRunRow scalingRunRow(const reports::ScalingContext& context, const std::string& origin);

// Scaling runs count apart from the runs, so both front ends show their ids
// with a letter: "m3".
inline constexpr char kScalingIdPrefix = 'm';
std::string scalingHistoryId(std::int64_t id);

}  // namespace veltrane::store

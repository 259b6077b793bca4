#pragma once

#include <nlohmann/json.hpp>

#include "reports/ScalingContext.h"

namespace veltrane::reports {

// Raised whenever a key is renamed, removed or changes its meaning.
inline constexpr int kScalingJsonSchemaVersion = 1;

// The document of a scaling run (schemas/veltrane-scaling.schema.json):
// schema_version, program, scaling (the plan, the times and per thread
// count each thread's figures, the sums, the efficiencies, the slowest
// thread's time per test and the multi-core score), conditions and machine.
nlohmann::ordered_json scalingJson(const ScalingContext& context);

}  // namespace veltrane::reports

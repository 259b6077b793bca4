#pragma once

// The memory ladder as the front ends show it: the machine it runs for, its
// chart and its JSON record.

#include <nlohmann/json.hpp>

#include "engine/MemoryLadder.h"
#include "ident/MachineFacts.h"
#include "reports/ChartModel.h"

namespace veltrane::reports {

inline constexpr int kLadderJsonSchemaVersion = 1;

// The data caches of the layout (L1 data, L2, L3, each the last listed at
// its level) and the physical memory, in bytes.
engine::LadderMachine ladderMachine(const ident::MachineFacts& machine);

// One bar per rung measured, its label the working set, level and figure
// (or "check failed"); the largest rung of a ladder reaching main memory is
// drawn in its own colour.
ChartData ladderChart(const engine::LadderResult& result);

// "15 KB (L1): 123456 MB/s".
std::string rungLabel(const engine::RungResult& rung);

// schema_version, program, machine's caches, timing, rungs, notes.
nlohmann::ordered_json ladderJson(const engine::LadderResult& result, const std::string& program);

}  // namespace veltrane::reports

#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "store/ScalingRecord.h"

namespace veltrane::cli {

using store::kScalingIdPrefix;
using store::scalingHistoryId;

// The history's ids as typed: "7" is a run, "m3" a scaling run. The two
// tables count apart, so the letter keeps their ids from being confused.
struct HistoryId {
    std::int64_t number = 0;
    bool scaling = false;
};

// Digits only (1 or more, no sign, below 2^63), with the prefix for a
// scaling run; nothing for any other text.
std::optional<HistoryId> parseHistoryId(const std::string& text);

// "7" or "m3".
std::string historyIdText(const HistoryId& id);

}  // namespace veltrane::cli

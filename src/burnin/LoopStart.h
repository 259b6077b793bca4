#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "burnin/LoopClock.h"
#include "burnin/LoopSettings.h"
#include "platform/Threads.h"

namespace veltrane::burnin {

inline constexpr const char* kInvalidValueText = "Invalid value";
inline constexpr const char* kInvalidValueTitle = "Veltrane error";
inline constexpr const char* kBadStopTimeText =
    "Error: The time format is incorrect or is less than the current time";
inline constexpr const char* kBadStopTimeTitle = "Veltrane Error";

// What the configurator holds when "Start!" is pressed.
struct LoopEntry {
    LoopMode mode = LoopMode::Continuous;
    std::string repeatText;  // field 1112
    std::string hourText;    // field 1110
    std::string minuteText;  // field 1111
    int sliderPosition = 2;  // 0 Low, 1 Medium, 2 High
};

// The outcome of "Start!". On failure `errorText` and `errorTitle` are the
// message box's, `settings.mode` is back to continuous (the form switches its
// radio back) and nothing starts.
struct LoopStartCheck {
    bool accepted = false;
    LoopSettings settings;
    platform::ThreadPriority priority = platform::ThreadPriority::TimeCritical;
    std::string errorText;
    std::string errorTitle;
};

// Reads a field as a decimal integer the way the configurator always has:
// leading blanks and a sign, then leading digits; no digits reads as 0. Only
// the first 30 characters count; values beyond 32 bits saturate.
std::int32_t readFieldNumber(std::string_view text);

LoopStartCheck checkLoopStart(const LoopEntry& entry, const ClockTime& now);

}  // namespace veltrane::burnin

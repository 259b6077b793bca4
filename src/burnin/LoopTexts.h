#pragma once

#include <cstdint>
#include <string>

#include "burnin/LoopClock.h"
#include "burnin/LoopSettings.h"
#include "platform/Threads.h"

namespace veltrane::burnin {

inline constexpr const char* kStopButtonCaption = "Stop Looping Now!!!";
inline constexpr const char* kCloseButtonCaption = "Close this window";

// "Run Mode:", "Priority:", "Starting At:" and "Stop At:" of the progress window.
struct LoopStatusTexts {
    std::string runMode;
    std::string priority;
    std::string startingAt;
    std::string stopAt;
};

std::string loopStartTimeText(const ClockTime& time);
const char* loopPriorityText(platform::ThreadPriority priority);
LoopStatusTexts loopStatusTexts(const LoopSettings& settings, platform::ThreadPriority priority,
                                const ClockTime& start);

std::string loopCycleRow(std::int32_t cycle);
std::string unitStartRow(const ClockTime& time);
std::string unitEndRow(const ClockTime& time);
std::string unitFailedRow(const ClockTime& time, std::int64_t failedUnits);

}  // namespace veltrane::burnin

#pragma once

#include <cstdint>

#include "platform/Threads.h"

namespace veltrane::burnin {

enum class LoopMode : std::int32_t { Continuous = 0, Repeat = 1, StopAtTime = 2 };

// What "Start!" accepted. The loop thread takes a copy when it starts, so a
// later "Start!" never changes a loop that is still finishing.
struct LoopSettings {
    LoopMode mode = LoopMode::Continuous;
    std::int32_t stopHour = 0;      // stop-at-time: hour on the program's clock (1 to 24)
    std::int32_t stopMinute = 0;    // stop-at-time: minute
    std::int32_t repeatCycles = 0;  // repeat: cycles of ten units
};

// The slider: 0 Low, 1 Medium, 2 High (the configurator starts at High).
platform::ThreadPriority priorityForSlider(int position);

}  // namespace veltrane::burnin

#pragma once

#include "platform/ProgramClock.h"

namespace veltrane::burnin {

using platform::ClockTime;

// The clock behind an interface, so tests can set the time. May be read from
// the loop thread.
class LoopClock {
public:
    virtual ~LoopClock() = default;
    virtual ClockTime now() = 0;
};

LoopClock& systemLoopClock();

}  // namespace veltrane::burnin

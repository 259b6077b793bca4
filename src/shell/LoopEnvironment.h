#pragma once

#include <functional>

#include "burnin/LoopClock.h"
#include "burnin/LoopRunner.h"
#include "burnin/LoopUnit.h"
#include "platform/Threads.h"

namespace veltrane::shell {

// What the loop windows take from outside. The defaults are the program's;
// tests put in a set clock, a small unit, no pauses and a damaged result.
struct LoopEnvironment {
    burnin::LoopClock* clock = nullptr;  // nullptr: the program's clock
    burnin::LoopUnitFn unit = nullptr;   // nullptr: the real unit
    burnin::LoopTiming timing;
    burnin::LoopRunner::ResultHook resultHook;
    // What a thread asking for time-critical priority gets; empty: ask the system.
    std::function<platform::PriorityGrant()> timeCriticalProbe;
    // True while a benchmark runs: no loop starts then. Empty: never.
    std::function<bool()> benchmarkRunning;

    burnin::LoopClock& loopClock() const {
        return clock != nullptr ? *clock : burnin::systemLoopClock();
    }
};

}  // namespace veltrane::shell

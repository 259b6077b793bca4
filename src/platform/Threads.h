#pragma once

#include <functional>
#include <thread>

namespace veltrane::platform {

// The three priorities the program asks for, with their classic numbers.
enum class ThreadPriority { Idle = -15, Normal = 0, TimeCritical = 15 };

enum class PriorityGrant { NotAsked, Granted, Refused };

// Starts `work` on a new thread that first takes `priority`: time critical
// becomes nice -20 where the system permits it, idle becomes SCHED_IDLE.
// A refused raise leaves the thread at normal priority; the thread still runs.
std::thread startThread(ThreadPriority priority, std::function<void()> work);

// What the last request for time-critical priority got.
PriorityGrant timeCriticalGrant();

// Asks for time-critical priority on a thread that ends at once, to learn
// what a thread started now would get.
PriorityGrant probeTimeCriticalGrant();

// The priority a thread asking for `asked` really runs at, given what a
// time-critical request gets: normal when it is refused.
inline ThreadPriority grantedPriority(ThreadPriority asked, PriorityGrant timeCritical) {
    return asked == ThreadPriority::TimeCritical && timeCritical != PriorityGrant::Granted
               ? ThreadPriority::Normal
               : asked;
}

// A short text for the CLI and the status bar, or empty before any request.
const char* timeCriticalGrantText(PriorityGrant grant);

}  // namespace veltrane::platform

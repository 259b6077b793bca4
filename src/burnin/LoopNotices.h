#pragma once

#include <cstdint>

#include "burnin/LoopSettings.h"
#include "platform/Threads.h"

namespace veltrane::burnin {

// The loop thread's notices to its progress window, with the program's numbers.
enum LoopNotice : std::uint32_t {
    WM_THREAD_TICK = 1025,  // step the "Current:" bar
    WM_LOOP_UNIT_BEGIN = 1060,
    // wParam 0: the unit's result matched; 1: it did not. lParam: failed units
    // of this loop so far.
    WM_LOOP_UNIT_END = 1064,
};

// Where the loop thread reports. `send` returns only after the receiver has
// handled the notice; `loopFinished` is the loop ending by its own condition
// (repeat count or stop time), which turns the stop button into "Close this
// window". A loop ended by a stop request reports nothing more.
class LoopNoticeSink {
public:
    virtual ~LoopNoticeSink() = default;
    // Called on the starting thread once a start is accepted, before the loop
    // thread exists: the window clears its log and fills its status texts.
    virtual void loopStarting(const LoopSettings& settings, platform::ThreadPriority priority) = 0;
    virtual void send(LoopNotice notice, std::int64_t wParam, std::int64_t lParam) = 0;
    virtual void loopFinished() = 0;
};

}  // namespace veltrane::burnin

#pragma once

#include <cstdint>

#include "engine/Messages.h"

namespace veltrane::engine {

// Where a benchmark thread reports. `send` returns only after the receiver
// has handled the message, so its cost falls inside the timed intervals as it
// always has; `post` queues a message (the end of a run) and returns at once.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void send(WindowMessage message, std::int64_t wParam, std::int64_t lParam) = 0;
    virtual void post(WindowMessage message, std::int64_t wParam, std::int64_t lParam) = 0;
    // Asked by a benchmark thread before each test: true ends the run there,
    // through its usual end, with the record marked as stopped.
    virtual bool stopRequested() { return false; }
};

}  // namespace veltrane::engine

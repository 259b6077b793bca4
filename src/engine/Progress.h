#pragma once

#include "engine/BenchResult.h"
#include "engine/ProgressSink.h"

namespace veltrane::engine {

// One step of the current-test bar.
inline void sendTick(const BenchResult& record) {
    if (record.progressWindow != nullptr) {
        record.progressWindow->send(WM_THREAD_TICK, 0, 0);
    }
}

}  // namespace veltrane::engine

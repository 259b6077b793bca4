#pragma once

#include <cstdint>

#include "engine/BenchResult.h"
#include "engine/ProgressSink.h"
#include "engine/Remainder.h"
#include "engine/TestShapes.h"

namespace veltrane::engine {

// One step of the current-test bar; the SMP suite puts its thread number in wParam.
inline void sendTick(const BenchResult& record, std::int64_t wParam = 0) {
    if (record.progressWindow != nullptr) {
        record.progressWindow->send(WM_THREAD_TICK, wParam, 0);
    }
}

}  // namespace veltrane::engine

#pragma once

#include <cstdint>

#include "engine/BenchResult.h"
#include "engine/Opaque.h"
#include "engine/ProgressSink.h"
#include "engine/TestShapes.h"

namespace veltrane::engine {

// One step of the current-test bar; the SMP suite puts its thread number in wParam.
inline void sendTick(const BenchResult& record, std::int64_t wParam = 0) {
    if (record.progressWindow != nullptr) {
        record.progressWindow->send(WM_THREAD_TICK, wParam, 0);
    }
}

// The modulus of a progress check. A form that divides hides it from the
// optimiser, which would otherwise multiply by its reciprocal.
template <Remainder R, typename T>
inline T tickModulus(T value) {
    if constexpr (R == Remainder::Divide) {
        return opaque(value);
    } else {
        return value;
    }
}

}  // namespace veltrane::engine

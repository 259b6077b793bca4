#pragma once
// The timed unit's template; included only by files built with the fixed
// flags of the timed routines.

#include <cstdint>

#include "burnin/LoopUnit.h"
#include "engine/Opaque.h"

namespace veltrane::burnin {

// Each element of row j of R gets its own dot product of row j of B with
// column j of A: 125,000 multiply-adds a pass. The row is read through an
// opaque pointer so the fifty equal products are not folded into one.
inline void loopPass(LoopMatrices& m) {
    for (std::int32_t j = 0; j < kLoopMatrixSize; ++j) {
        for (std::int32_t k = 0; k < kLoopMatrixSize; ++k) {
            const std::int32_t* row = engine::opaque(&m.b[j][0]);
            std::uint32_t sum = 0;
            for (std::int32_t i = 0; i < kLoopMatrixSize; ++i) {
                sum += static_cast<std::uint32_t>(row[i]) * static_cast<std::uint32_t>(m.a[i][j]);
            }
            m.result[j][k] = static_cast<std::int32_t>(sum);
        }
    }
}

template <LoopUnitShape S>
[[gnu::noinline]] void runLoopUnit(LoopMatrices& m, LoopNoticeSink& sink) {
    initLoopOperands(m);
    const std::int32_t passes = engine::opaque(S.passes);
    std::int32_t untilTick = 0;
    for (std::int32_t pass = 0; pass < passes; ++pass) {
        if (untilTick == 0) {
            sink.send(WM_THREAD_TICK, 0, 0);
            untilTick = S.tickEvery;
        }
        --untilTick;
        loopPass(m);
        // Every pass reads the operands and stores R again: none is folded away.
        engine::keepAlive(&m);
    }
}

}  // namespace veltrane::burnin

#pragma once

#include <cstdint>

#include "burnin/LoopNotices.h"

namespace veltrane::burnin {

inline constexpr std::int32_t kLoopMatrixSize = 50;

// The burn-in unit's size: passes over the matrices, a tick every
// `tickEvery` passes (ten per unit). Tests run a small instance.
struct LoopUnitShape {
    std::int32_t passes = 20000;
    std::int32_t tickEvery = 2000;
};

inline constexpr LoopUnitShape kLoopUnit{};

// The result matrix R and the operands A and B, 32-bit signed integers.
struct LoopMatrices {
    std::int32_t result[kLoopMatrixSize][kLoopMatrixSize];
    std::int32_t a[kLoopMatrixSize][kLoopMatrixSize];
    std::int32_t b[kLoopMatrixSize][kLoopMatrixSize];
};

// The process-wide matrices, zero when the program starts; only the loop
// thread touches them.
LoopMatrices& loopMatrices();

// Fills A and B with the unit's operands: every element non-zero, with
// products that wrap around 32 bits.
void initLoopOperands(LoopMatrices& m);

// One unit: the operands, then every pass stores into each element of row j
// of R the dot product of row j of B with column j of A (2.5 x 10^9
// multiply-adds a unit at the real size), sending a tick before every
// `tickEvery`-th pass.
using LoopUnitFn = void (*)(LoopMatrices& m, LoopNoticeSink& sink);

// The program's unit at its real size.
LoopUnitFn standardLoopUnit();

}  // namespace veltrane::burnin

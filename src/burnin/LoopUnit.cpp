// The program's instance of the burn-in unit, built with the fixed flags of
// the timed routines whatever the build type.
#include "burnin/LoopUnitImpl.h"

namespace veltrane::burnin {

namespace {

LoopMatrices processMatrices{};

// Odd multipliers: every element is non-zero and large enough to wrap.
constexpr std::uint32_t kOperandA = 0x9E3779B9u;
constexpr std::uint32_t kOperandB = 0x85EBCA6Bu;

}  // namespace

LoopMatrices& loopMatrices() {
    return processMatrices;
}

void initLoopOperands(LoopMatrices& m) {
    for (std::int32_t i = 0; i < kLoopMatrixSize; ++i) {
        for (std::int32_t j = 0; j < kLoopMatrixSize; ++j) {
            const auto index = static_cast<std::uint32_t>(i * kLoopMatrixSize + j + 1);
            m.a[i][j] = static_cast<std::int32_t>(kOperandA * index);
            m.b[i][j] = static_cast<std::int32_t>(kOperandB * index);
        }
    }
}

template void runLoopUnit<kLoopUnit>(LoopMatrices&, LoopNoticeSink&);

LoopUnitFn standardLoopUnit() {
    return &runLoopUnit<kLoopUnit>;
}

}  // namespace veltrane::burnin

#pragma once

#include "suites/SuiteForms.h"

namespace veltrane::suites::test {

// A counting loop that ticks at every step: its tick count is its iteration count.
constexpr MipsShape everyStep(MipsShape shape) {
    shape.limit = 3'000;
    shape.tickEvery = 1;
    shape.settleMs = 0;
    return shape;
}

inline constexpr PiShape kSsePiEveryStep{.limit = 480,
                                         .tickEvery = 1,
                                         .settleMs = 0,
                                         .warmUpFlips = 1,
                                         .seriesTerms = 1,
                                         .remainder = Remainder::Reciprocal,
                                         .state = 90};
inline constexpr PiShape k3DNowPiEveryIteration{
    .limit = 480, .tickEvery = 16, .settleMs = 0, .warmUpFlips = 16, .state = 91};

}  // namespace veltrane::suites::test

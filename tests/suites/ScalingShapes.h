#pragma once

#include "engine/TestShapes.h"

namespace veltrane::suites::test {

// The standard suite's forms at small sizes and without their pauses.
inline constexpr engine::SuiteShape kScalingSmall{
    .integer = {.passes = 10, .tickEvery = 1, .settleMs = 0},
    .matrix = {.iterations = 40'000, .tickEvery = 4'000, .settleMs = 0},
    .pi = {.limit = 512'000, .tickEvery = 51'200, .settleMs = 0, .state = 92},
    .mips = {.limit = 512'000, .tickEvery = 51'200, .settleMs = 0},
    .mflops = {.limit = 512'000, .tickEvery = 51'200, .settleMs = 0},
    .stream = {.doubles = 4'000, .settleMs = 0, .arraySet = 92},
};

}  // namespace veltrane::suites::test

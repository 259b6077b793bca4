#pragma once

#include "engine/TestShapes.h"

namespace veltrane::suites::test {

// The standard suite's forms at small sizes and without their pauses, small
// enough for a thread sanitizer's pace.
inline constexpr engine::SuiteShape kScalingSmall{
    .integer = {.passes = 1, .tickEvery = 1, .settleMs = 0},
    .matrix = {.iterations = 4'000, .tickEvery = 400, .settleMs = 0},
    .pi = {.limit = 51'200, .tickEvery = 5'120, .settleMs = 0, .state = 92},
    .mips = {.limit = 51'200, .tickEvery = 5'120, .settleMs = 0},
    .mflops = {.limit = 51'200, .tickEvery = 5'120, .settleMs = 0},
    .stream = {.doubles = 400, .passes = 30, .settleMs = 0, .arraySet = 92},
};

}  // namespace veltrane::suites::test

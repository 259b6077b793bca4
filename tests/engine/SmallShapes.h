#pragma once
// Small instances of the timed routines, built by SmallInstances.cpp with
// the routines' own fixed flags.

#include "engine/TestShapes.h"

namespace veltrane::test {

inline constexpr engine::MatrixShape kMatrixOneTick{
    .iterations = 4'001, .tickEvery = 4'000, .settleMs = 0};
inline constexpr engine::MipsShape kMipsTwoTicks{
    .limit = 51'201, .tickEvery = 51'200, .settleMs = 0};
// Two sign flips, then two terms counted from 1.
inline constexpr engine::PiShape kPiTwoTerms{
    .limit = 2, .tickEvery = 2, .settleMs = 0, .warmUpFlips = 2, .seriesTerms = 1};
inline constexpr engine::StreamShape kStreamOnePass{
    .doubles = 40, .passes = 1, .tickEvery = 1, .settleMs = 0};
inline constexpr engine::StreamShape kStreamFullPasses{.doubles = 40};

}  // namespace veltrane::test

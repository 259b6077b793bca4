#pragma once
// Small instances of the timed routines, built by SmallInstances.cpp with
// the routines' own fixed flags.

#include "engine/TestShapes.h"

namespace veltrane::test {

inline constexpr engine::MatrixShape kMatrixOneTick{4'001, 4'000, 0};
inline constexpr engine::MipsShape kMipsTwoTicks{51'201, 51'200, 0};
inline constexpr engine::PiShape kPiOneTickEach{51'200, 51'200, 0};
inline constexpr engine::StreamShape kStreamOnePass{40, 1, 1, 0};
inline constexpr engine::StreamShape kStreamFullPasses{40, 300, 10, 0};

}  // namespace veltrane::test

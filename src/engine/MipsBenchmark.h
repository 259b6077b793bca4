#pragma once

#include "engine/BenchResult.h"
#include "engine/TestShapes.h"

namespace veltrane::engine {

template <MipsShape S = MipsShape{}>
void MipsBenchmark(BenchResult& record);

template <MipsShape S = MipsShape{.settleMs = 200}>
void MflopsBenchmark(BenchResult& record);

}  // namespace veltrane::engine

#pragma once

#include "engine/BenchResult.h"
#include "engine/TestShapes.h"

namespace veltrane::engine {

// The standard suite's thread procedure: runs the selected tests (all seven
// for a full run) in order, times the whole run, computes the overall score
// of a full run and posts WM_BENCH_DONE.
template <SuiteShape S = kFullSuite>
void StandardSuiteThread(BenchResult& record);

// Test 2, which the driver runs inline.
template <MatrixShape S = MatrixShape{}>
void runMatrixTest(BenchResult& record);

}  // namespace veltrane::engine

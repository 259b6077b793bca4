#pragma once

#include <cstdint>

#include "engine/BenchResult.h"

namespace veltrane::engine {

// A test's start reading is kept as a float, as it always has been.
float startReading();

// (t1 - t0 - lessMs) x 0.001 in seconds, computed in double precision. A time
// of zero or less (a tick that did not move) becomes one millisecond, so no
// score is infinite or negative.
double elapsedSeconds(float t0, std::uint32_t t1, double lessMs = 0);
double atLeastOneMillisecond(double seconds);

// ALUMarks; the second SMP thread's smaller test 1 has its own reference.
double integerScore(double seconds, double reference = 80.85);
double floatScore(double seconds);   // FPUMarks SP
double doubleScore(double seconds);  // FPUMarks DP
double mipsScore(double seconds);
double mflopsScore(double seconds, double factor = 1.0 / 33.0);

// CPUMarks from the seven figures of a full run.
float overallScore(const BenchResult& record);

}  // namespace veltrane::engine

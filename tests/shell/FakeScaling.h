#pragma once

#include "suites/ScalingRun.h"

namespace veltrane::shell::test {

// Threads of a multi-core run that give their figures at once, each a few
// ticks into its test: thread t's figures drop by a share per thread that
// grows from the first figure to the last, so every figure scales apart.
suites::ScalingWorkerFactory fakeScalingWorkers();

// From the call on, test `test` of every run waits in thread `thread`
// (from 0), after its ticks, until releaseScalingRuns().
void holdScalingRuns(int test, int thread = 0);
void releaseScalingRuns();

}  // namespace veltrane::shell::test

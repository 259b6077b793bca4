#pragma once

#include <condition_variable>
#include <mutex>

#include "engine/BenchResult.h"
#include "engine/MatrixTransform.h"
#include "engine/TestShapes.h"
#include "suites/SuiteForms.h"

namespace veltrane::suites {

// The thread procedures of the optimised suites: the standard suite's frame,
// each test in the suite's own form.
template <SuiteSize Z = SuiteSize::Full>
void SuiteThreadSSE(engine::BenchResult& record);
template <SuiteSize Z = SuiteSize::Full>
void SuiteThreadSSE2(engine::BenchResult& record);
template <SuiteSize Z = SuiteSize::Full>
void SuiteThread3DNow(engine::BenchResult& record);

// Test 2 with the 3DNow! vector routines.
template <MatrixShape S>
void runMatrixTest3DNow(engine::BenchResult& record);

// Lets the first SMP thread wait for the second before it ends the run, so
// the two records are complete when they are combined.
class SmpSync {
public:
    void reset();
    void secondFinished();
    void waitForSecond();

private:
    std::mutex mutex_;
    std::condition_variable finished_;
    bool secondDone_ = false;
};

SmpSync& smpSync();

// The two threads of the SMP suite: the first runs all seven tests and
// posts the end of the run; the second runs tests 1 to 5 and posts nothing.
template <SuiteSize Z = SuiteSize::Full>
void SmpSuiteThread1(engine::BenchResult& record, SmpSync& sync = smpSync());
template <SuiteSize Z = SuiteSize::Full>
void SmpSuiteThread2(engine::BenchResult& record, SmpSync& sync = smpSync());

}  // namespace veltrane::suites

#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/BenchResult.h"
#include "engine/ScalingFigures.h"
#include "engine/TestInfo.h"

namespace veltrane::suites {

// One thread of a scaling run: the standard suite's tests on state of its
// own (sort table, series variables, arrays), none of it shared.
class ScalingWorker {
public:
    virtual ~ScalingWorker() = default;
    virtual void runTest(int test, engine::BenchResult& record) = 0;
};

using ScalingWorkerFactory = std::function<std::unique_ptr<ScalingWorker>(int thread)>;

// The standard suite's own timed routines at their real sizes.
ScalingWorkerFactory standardScalingWorkers();

// What one thread count measured.
struct ScalingStep {
    int threads = 0;
    std::vector<engine::BenchResult> perThread;
    std::vector<int> processors;  // where each thread was pinned; -1 where not
    // Per thread and test, seconds from the step's start to the test's start and end.
    std::vector<std::array<double, engine::kTestCount>> startedAt;
    std::vector<std::array<double, engine::kTestCount>> endedAt;
    // Per test, from the common start to the last thread's end.
    std::array<double, engine::kTestCount> slowestSeconds{};
    bool stopped = false;
};

struct ScalingOutcome {
    std::vector<ScalingStep> steps;
    std::vector<engine::ScalingSummary> summaries;  // one per step, the first the one-thread
    bool stopped = false;
    std::string error;  // why the run could not start its threads; empty otherwise
};

// Where a scaling run reports. The events come from the thread that called
// runScaling; `tick` from the worker threads, inside their timed intervals,
// so it must be quick and safe to call from any thread.
class ScalingEvents {
public:
    virtual ~ScalingEvents() = default;
    virtual void stepBegins(int /*threads*/) {}
    virtual void testBegins(int /*threads*/, int /*test*/) {}
    virtual void tick(int /*thread*/) {}
    virtual void testEnds(const ScalingStep& /*step*/, int /*test*/) {}
    virtual void stepEnds(const ScalingStep& /*step*/, const engine::ScalingSummary& /*summary*/) {}
    // Asked before each test: true ends the run there.
    virtual bool stopRequested() { return false; }
};

// Runs tests 1 to 7 at each of the plan's thread counts: every thread starts
// a test together with the others and the next only when all have ended.
// Blocks until the run ends.
ScalingOutcome runScaling(const engine::ScalingPlan& plan, ScalingEvents& events,
                          const ScalingWorkerFactory& workers = standardScalingWorkers());

}  // namespace veltrane::suites

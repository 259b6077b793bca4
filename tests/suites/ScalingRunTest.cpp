// The scaling run with small forms: threads of their own, a common start to
// every test, and the sums and efficiencies of what they measured.
#include <gtest/gtest.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <new>
#include <set>
#include <thread>

#include "engine/Scores.h"
#include "platform/Affinity.h"
#include "platform/ProcessorList.h"
#include "suites/ScalingShapes.h"
#include "suites/ScalingWorkers.h"

namespace veltrane::suites {
namespace {

using engine::BenchResult;
using engine::CheckState;
using engine::ScalingPlan;
using test::kScalingSmall;
using SmallState = ScalingState<kScalingSmall>;

// Counts ticks per thread and keeps the order of the events.
class CountingEvents : public ScalingEvents {
public:
    explicit CountingEvents(int threads) : ticks_(static_cast<std::size_t>(threads)) {}
    void tick(int thread) override { ++ticks_.at(static_cast<std::size_t>(thread)); }
    void testBegins(int threads, int test) override {
        log.push_back("begin " + std::to_string(threads) + "/" + std::to_string(test));
    }
    void stepEnds(const ScalingStep& step, const engine::ScalingSummary&) override {
        log.push_back("end " + std::to_string(step.threads));
    }
    bool stopRequested() override { return stopBefore > 0 && testsBegun() + 1 >= stopBefore; }
    int ticks(int thread) const { return ticks_.at(static_cast<std::size_t>(thread)).load(); }
    int testsBegun() const {
        return static_cast<int>(std::count_if(log.begin(), log.end(), [](const std::string& entry) {
            return entry.starts_with("begin");
        }));
    }

    std::vector<std::string> log;
    int stopBefore = 0;  // the test asked not to start, counted over the run

private:
    std::vector<std::atomic<int>> ticks_;
};

ScalingPlan counts(std::vector<int> threadCounts) {
    ScalingPlan plan;
    plan.threadCounts = std::move(threadCounts);
    return plan;
}

TEST(ScalingRun, EachThreadRunsAllSevenTestsOnStateOfItsOwn) {
    std::mutex mutex;
    std::vector<const void*> arrays;
    std::vector<const void*> tables;
    const ScalingWorkerFactory workers = [&](int) -> std::unique_ptr<ScalingWorker> {
        auto state = std::make_unique<SmallState>();
        const std::lock_guard lock(mutex);
        arrays.push_back(state->arrays.get());
        tables.push_back(&state->integer);
        return state;
    };
    CountingEvents events(3);
    const ScalingOutcome outcome = runScaling(counts({1, 3}), events, workers);
    ASSERT_TRUE(outcome.error.empty()) << outcome.error;
    ASSERT_EQ(outcome.steps.size(), 2u);
    // The three threads of the second step, alive together, share nothing.
    ASSERT_EQ(arrays.size(), 4u);
    EXPECT_EQ(std::set<const void*>(arrays.begin() + 1, arrays.end()).size(), 3u);
    EXPECT_EQ(std::set<const void*>(tables.begin() + 1, tables.end()).size(), 3u);
    const ScalingStep& three = outcome.steps[1];
    ASSERT_EQ(three.perThread.size(), 3u);
    for (const BenchResult& record : three.perThread) {
        for (const auto& check : record.checks) {
            EXPECT_EQ(check.state, CheckState::Passed) << check.detail;
        }
        EXPECT_GT(record.ramFpuResult, 0.0f);
    }
    // 1 + 10 + 20 + 10 + 10 + 3 + 3 ticks a step; thread 0 ran in both.
    EXPECT_EQ(events.ticks(0), 2 * 57);
    EXPECT_EQ(events.ticks(2), 57);
    EXPECT_EQ(events.log.size(), 16u);
    EXPECT_EQ(events.log.back(), "end 3");
    EXPECT_EQ(three.processors, (std::vector<int>{-1, -1, -1}));
}

TEST(ScalingRun, DamagedStateFailsOnlyItsOwnThreadsCheck) {
    const ScalingWorkerFactory workers = [](int thread) -> std::unique_ptr<ScalingWorker> {
        auto state = std::make_unique<SmallState>();
        if (thread == 1) {  // a series that already went wrong
            state->pi.started = true;
            state->pi.piSign = -5.0;
            state->pi.piY = -1.0;
            state->pi.piSum = 123.0;
        }
        return state;
    };
    CountingEvents events(2);
    const ScalingOutcome outcome = runScaling(counts({2}), events, workers);
    ASSERT_EQ(outcome.steps.size(), 1u);
    const auto& perThread = outcome.steps[0].perThread;
    EXPECT_EQ(perThread[0].checks[2].state, CheckState::Passed);
    EXPECT_EQ(perThread[1].checks[2].state, CheckState::Failed);
    EXPECT_EQ(perThread[1].checks[0].state, CheckState::Passed);
    EXPECT_FALSE(outcome.summaries[0].trusted);
    EXPECT_EQ(outcome.summaries[0].multiCoreScore, 0.0f);
}

// Thread t takes (t + 1) x 10 ms over every test.
class SleepingWorker : public ScalingWorker {
public:
    explicit SleepingWorker(int thread) : thread_(thread) {}
    void runTest(int, BenchResult& record) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(10 * (thread_ + 1)));
        record.integerResult = 1.0f;
    }

private:
    int thread_;
};

TEST(ScalingRun, NoThreadStartsATestBeforeEveryThreadEndedTheOneBefore) {
    const ScalingWorkerFactory workers = [](int thread) -> std::unique_ptr<ScalingWorker> {
        return std::make_unique<SleepingWorker>(thread);
    };
    CountingEvents events(4);
    const ScalingOutcome outcome = runScaling(counts({4}), events, workers);
    const ScalingStep& step = outcome.steps.at(0);
    for (std::size_t test = 0; test < 7; ++test) {
        double firstStart = 1e9;
        double lastStart = 0;
        double lastEnd = 0;
        for (std::size_t thread = 0; thread < 4; ++thread) {
            firstStart = std::min(firstStart, step.startedAt[thread][test]);
            lastStart = std::max(lastStart, step.startedAt[thread][test]);
            lastEnd = std::max(lastEnd, step.endedAt[thread][test]);
        }
        EXPECT_GE(step.slowestSeconds[test], 0.039);
        EXPECT_NEAR(step.slowestSeconds[test], lastEnd - firstStart, 1e-12);
        // the quickest thread waited for the slowest before the next test
        EXPECT_LT(lastStart - firstStart, 0.035);
        if (test + 1 < 7) {
            for (std::size_t thread = 0; thread < 4; ++thread) {
                EXPECT_GE(step.startedAt[thread][test + 1], lastEnd);
            }
        }
    }
    EXPECT_EQ(outcome.summaries[0].sums.integerResult, 4.0f);
}

TEST(ScalingRun, AStopBetweenTestsEndsTheRunWithoutAScore) {
    const ScalingWorkerFactory workers = [](int thread) -> std::unique_ptr<ScalingWorker> {
        return std::make_unique<SleepingWorker>(thread);
    };
    CountingEvents events(2);
    events.stopBefore = 3;
    const ScalingOutcome outcome = runScaling(counts({1, 2}), events, workers);
    EXPECT_TRUE(outcome.stopped);
    ASSERT_EQ(outcome.steps.size(), 1u);
    EXPECT_TRUE(outcome.steps[0].stopped);
    EXPECT_EQ(events.testsBegun(), 2);
    EXPECT_EQ(outcome.summaries[0].multiCoreScore, 0.0f);
}

TEST(ScalingRun, AThreadWithoutMemoryEndsTheRunWithAReasonAndNoHang) {
    const ScalingWorkerFactory workers = [](int thread) -> std::unique_ptr<ScalingWorker> {
        if (thread == 2) {
            throw std::bad_alloc();
        }
        return std::make_unique<SleepingWorker>(thread);
    };
    CountingEvents events(3);
    const ScalingOutcome outcome = runScaling(counts({3}), events, workers);
    EXPECT_NE(outcome.error.find("memory"), std::string::npos);
    EXPECT_TRUE(outcome.steps.empty());
    EXPECT_TRUE(events.log.empty());
}

// Where each test ran, as its integer figure.
class WhereWorker : public ScalingWorker {
public:
    void runTest(int, BenchResult& record) override {
        record.integerResult = static_cast<float>(sched_getcpu());
    }
};

// Any machine has the first processor of its mask, and none the highest number.
TEST(ScalingRun, PinnedThreadsRunWhereTheyWerePinnedOrSaySo) {
    const auto allowed = platform::nativeAffinitySource().allowedProcessors();
    ASSERT_TRUE(allowed && !allowed->empty());
    const ScalingWorkerFactory workers = [](int) -> std::unique_ptr<ScalingWorker> {
        return std::make_unique<WhereWorker>();
    };
    ScalingPlan plan = counts({2});
    plan.pinTo = {allowed->front(), platform::kMaxProcessorNumber};
    CountingEvents events(2);
    const ScalingOutcome outcome = runScaling(plan, events, workers);
    const ScalingStep& step = outcome.steps.at(0);
    EXPECT_EQ(step.processors, (std::vector<int>{allowed->front(), -1}));
    EXPECT_EQ(step.perThread[0].integerResult, static_cast<float>(allowed->front()));
}

TEST(ScalingRun, ARefusedPlanRunsNothing) {
    ScalingPlan plan = counts({1, 8});
    plan.refusal = "too many";
    CountingEvents events(8);
    const ScalingOutcome outcome = runScaling(plan, events);
    EXPECT_EQ(outcome.error, "too many");
    EXPECT_TRUE(outcome.steps.empty());
}

}  // namespace
}  // namespace veltrane::suites

// The run session: plans, one run at a time, its end and its result, with a
// held thread or small SMP suites on the scripted clock.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <tuple>

#include "engine/TestInfo.h"
#include "suites/RunSession.h"
#include "suites/SuiteThreads.h"
#include "support/FakeCpu.h"
#include "support/RecordingSink.h"
#include "support/ScriptedClock.h"

namespace veltrane::suites {
namespace {

using engine::BenchResult;
using veltrane::test::RecordingSink;

// A suite thread that waits until the test lets it finish.
std::atomic<bool> releaseThread{false};
void waitingSuite(BenchResult& record) {
    while (!releaseThread.load()) {
        std::this_thread::yield();
    }
    record.overallResult = 42;
    record.progressWindow->post(engine::WM_BENCH_DONE, 0, 0);
}

TEST(RunSessionThreads, OneRunAtATimeOnlyWhatCanRunStartsAndItsRecordIsTheResult) {
    auto one = veltrane::test::identityWith(0, 0, 1);
    auto two = veltrane::test::identityWith(0, 0, 2);
    const SessionPlan refused = RunSession::plan(engine::SuiteSMP, 255, one);
    EXPECT_EQ(refused.refusal, std::string(kSmpOnlyError));
    EXPECT_FALSE(RunSession::plan(engine::SuiteSMP, 255, two).refusal);
    RecordingSink sink;
    RunSession session({[](int suite) -> SuiteThread {
        return suiteThreadFor(suite) != nullptr ? &waitingSuite : nullptr;
    }});
    EXPECT_FALSE(session.start(refused, sink) ||
                 session.start(RunSession::plan(7, 255, one), sink));
    EXPECT_FALSE(session.inProgress() || session.finish());
    releaseThread = false;
    ASSERT_TRUE(session.start(RunSession::plan(engine::SuiteStandard, 128 | 8, one), sink));
    EXPECT_FALSE(session.start(RunSession::plan(engine::SuiteSMP, 255, two), sink));
    releaseThread = true;
    sink.waitForPost();
    ASSERT_TRUE(session.finish());
    EXPECT_FALSE(session.finish());  // a second end is not a run's
    const auto& r = session.result();
    EXPECT_EQ(std::tuple(r.overallResult, r.suite, int{r.fullRun}, int{r.selected[3]}),
              std::tuple(42.0f, int{engine::SuiteStandard}, 0, 1));
    EXPECT_EQ(sink.count(engine::WM_BENCH_DONE), 1);
}

TEST(RunSessionThreads, AnSmpRunCombinesBothRecordsIntoAResultOfItsOwn) {
    const veltrane::test::ScriptedClock clock;
    RunSession session({&suiteThreadFor,
                        [](BenchResult& r) { SmpSuiteThread1<SuiteSize::Small>(r); },
                        [](BenchResult& r) { SmpSuiteThread2<SuiteSize::Small>(r); }});
    auto identity = veltrane::test::identityWith(0, 0, 2);
    auto run = [&](int mask, RecordingSink& sink) -> const BenchResult& {
        EXPECT_TRUE(session.start(RunSession::plan(engine::SuiteSMP, mask, identity), sink));
        sink.waitForPost();
        EXPECT_TRUE(session.finish());
        return session.result();
    };
    RecordingSink full, custom, stopped;
    EXPECT_GT(run(255, full).overallResult, 0.0f);
    const BenchResult& combined = run(128 | 8 | 16, custom);
    const BenchResult& first = session.threadRecord(0);
    const BenchResult& second = session.threadRecord(1);
    EXPECT_EQ(combined.mipsResult, first.mipsResult + second.mipsResult);
    EXPECT_EQ(combined.mflopsResult, first.mflopsResult + second.mflopsResult);
    EXPECT_EQ(std::tuple(combined.suite, second.suite, int{combined.fullRun}),
              std::tuple(int{engine::SuiteSMP}, int{engine::SuiteSMP}, 0));
    // Nothing of the full run before stays in this one's result.
    EXPECT_EQ(std::tuple(combined.overallResult, combined.integerResult), std::tuple(0.0f, 0.0f));
    // A stop before the first test ends both threads, with one end posted.
    stopped.stopAfter(0);
    EXPECT_TRUE(run(255, stopped).stopped && first.stopped && second.stopped);
    EXPECT_EQ(session.result().overallResult, 0.0f);  // a full run, but stopped
    EXPECT_EQ(
        std::tuple(stopped.count(engine::WM_THREAD_BEGIN), stopped.count(engine::WM_BENCH_DONE)),
        std::tuple(0, 1));
}

}  // namespace
}  // namespace veltrane::suites

// The run session: the plans of the five suites, one run at a time, its end
// and its result, with small suites on the scripted clock or a held thread.
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
using veltrane::test::identityWith;
using veltrane::test::RecordingSink;

TEST(RunSessionPlan, SmpNeedsTwoProcessorsAndARefusedPlanStartsNothing) {
    auto one = identityWith(0, 0, 1);
    auto two = identityWith(0, 0, 2);
    const SessionPlan refused = RunSession::plan(engine::SuiteSMP, 255, one);
    EXPECT_EQ(refused.refusal,
              "Error: This benchmark is for SMP PCs only!! Run Default Benchmark Instead of SMP "
              "Benchmark");
    const SessionPlan smp = RunSession::plan(engine::SuiteSMP, 128 | 8, two);
    EXPECT_EQ(std::tuple(smp.refusal.has_value(), smp.run.suite, smp.run.fullRun,
                         int{smp.run.selected[3]}, smp.run.fellBackToStandard),
              std::tuple(false, int{engine::SuiteSMP}, false, 1, false));
    // Without SSE: the standard suite, and no refusal.
    const SessionPlan sse = RunSession::plan(engine::SuiteSSE, 255, one);
    EXPECT_EQ(std::tuple(sse.refusal.has_value(), sse.run.suite, sse.run.fellBackToStandard),
              std::tuple(false, int{engine::SuiteStandard}, true));
    RecordingSink sink;
    RunSession session;
    EXPECT_FALSE(session.start(refused, sink));
    EXPECT_FALSE(session.start(RunSession::plan(7, 255, one), sink));  // no such suite
    EXPECT_FALSE(session.inProgress() || session.finish());
    EXPECT_TRUE(sink.messages().empty());
}

// A suite thread that waits until the test lets it finish.
std::atomic<bool> releaseThread{false};
void waitingSuite(BenchResult& record) {
    while (!releaseThread.load()) {
        std::this_thread::yield();
    }
    record.overallResult = 42;
    record.progressWindow->post(engine::WM_BENCH_DONE, 0, 0);
}

TEST(RunSessionThreads, ASecondRequestDuringARunIsRefusedAndTheRecordIsTheResult) {
    RecordingSink sink;
    RunSession session({[](int) -> SuiteThread { return &waitingSuite; }});
    auto identity = identityWith(0, 0, 2);
    releaseThread = false;
    ASSERT_TRUE(session.start(RunSession::plan(engine::SuiteStandard, 128 | 8, identity), sink));
    EXPECT_FALSE(session.start(RunSession::plan(engine::SuiteSMP, 255, identity), sink));
    EXPECT_TRUE(session.inProgress());
    releaseThread = true;
    sink.waitForPost();
    ASSERT_TRUE(session.finish());
    EXPECT_FALSE(session.finish());  // a second end is not a run's
    const auto& r = session.result();
    EXPECT_EQ(std::tuple(r.overallResult, r.suite, int{r.fullRun}, int{r.selected[3]}),
              std::tuple(42.0f, int{engine::SuiteStandard}, 0, 1));
    EXPECT_EQ(session.threadRecord(0).overallResult, 42.0f);
}

// Small SMP runs on the scripted clock, one after another in one session.
struct SmallSmpSession {
    veltrane::test::ScriptedClock clock;
    RunSession session{{&suiteThreadFor,
                        [](BenchResult& r) { SmpSuiteThread1<SuiteSize::Small>(r); },
                        [](BenchResult& r) { SmpSuiteThread2<SuiteSize::Small>(r); }}};
    ident::ProcessorIdentity identity = identityWith(0, 0, 2);

    const BenchResult& run(int mask, RecordingSink& sink) {
        EXPECT_TRUE(session.start(RunSession::plan(engine::SuiteSMP, mask, identity), sink));
        sink.waitForPost();
        EXPECT_TRUE(session.finish());
        return session.result();
    }
};

TEST(RunSessionThreads, AnSmpRunCombinesBothRecordsIntoAResultOfItsOwn) {
    SmallSmpSession smp;
    RecordingSink fullSink;
    EXPECT_GT(smp.run(255, fullSink).overallResult, 0.0f);
    RecordingSink sink;
    const BenchResult& combined = smp.run(128 | 8 | 16, sink);
    const BenchResult& first = smp.session.threadRecord(0);
    const BenchResult& second = smp.session.threadRecord(1);
    EXPECT_EQ(combined.mipsResult, first.mipsResult + second.mipsResult);
    EXPECT_EQ(combined.mflopsResult, first.mflopsResult + second.mflopsResult);
    EXPECT_EQ(std::tuple(combined.suite, second.suite, int{combined.fullRun}),
              std::tuple(int{engine::SuiteSMP}, int{engine::SuiteSMP}, 0));
    // Nothing of the full run before stays in this one's result.
    EXPECT_EQ(std::tuple(combined.overallResult, combined.integerResult, combined.ramAluResult),
              std::tuple(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(sink.count(engine::WM_BENCH_DONE), 1);
}

TEST(RunSessionThreads, AStopBeforeTheFirstTestEndsBothSmpThreadsWithOnePost) {
    SmallSmpSession smp;
    RecordingSink sink;
    sink.stopAfter(0);
    const BenchResult& combined = smp.run(255, sink);
    EXPECT_TRUE(smp.session.threadRecord(0).stopped && smp.session.threadRecord(1).stopped &&
                combined.stopped);
    EXPECT_EQ(combined.overallResult, 0.0f);  // a full run, but stopped
    EXPECT_EQ(sink.count(engine::WM_THREAD_BEGIN), 0);
    EXPECT_EQ(sink.count(engine::WM_BENCH_DONE), 1);
}

}  // namespace
}  // namespace veltrane::suites

// The run session: plans, one run at a time, its end and its result, with a
// held thread or small SMP suites on the scripted clock; the two SMP threads
// together, at small sizes: their messages, the wait before the end of the
// run, and the combination.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <tuple>

#include "engine/RunEnd.h"
#include "engine/TestInfo.h"
#include "suites/RunSession.h"
#include "suites/SuiteThreads.h"
#include "support/FakeAffinity.h"
#include "support/FakeCpu.h"
#include "support/RecordingSink.h"
#include "support/ScriptedClock.h"
#include "support/SuiteRun.h"

namespace veltrane::suites {
namespace {

using engine::BenchResult;
using veltrane::test::RecordedMessage;
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

TEST(RunSession, TheSmpSuiteNeedsTwoProcessorsTheProgramMayRunOnOrARecordedCountOfTwo) {
    static ident::ProcessorFacts facts = veltrane::test::factsWithoutDefinition();
    const auto live = veltrane::test::FakeCpu().vendor("GenuineIntel").signature(0x686).probe();
    const ident::ProcessorIdentity unrecorded(live, facts);
    const auto one = veltrane::test::identityWith(0, 0, 1);
    const auto two = veltrane::test::identityWith(0, 0, 2);
    const struct {
        const ident::ProcessorIdentity& identity;
        std::optional<std::vector<int>> mask;
        bool refused;
    } cases[] = {
        {unrecorded, std::vector{0}, true},  // taskset -c 0
        {unrecorded, std::vector{0, 1}, false}, {unrecorded, std::vector{3, 7}, false},
        {one, std::vector{0, 1}, true},  // a recorded count stands for the machine
        {two, std::vector{0}, false},
    };
    for (const auto& c : cases) {
        const auto plan = RunSession::plan(engine::SuiteSMP, 255, c.identity,
                                           veltrane::test::FakeAffinity(c.mask));
        EXPECT_EQ(plan.refusal,
                  c.refused ? std::optional<std::string>(kSmpOnlyError) : std::nullopt);
        EXPECT_FALSE(RunSession::plan(engine::SuiteStandard, 255, c.identity,
                                      veltrane::test::FakeAffinity(c.mask))
                         .refusal);
    }
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

// Both threads of a small SMP run on the scripted clock, the first thread's
// record being `record`. Held back, the second starts only once the first
// has ended its tests; `endedEarly` then says whether the first thread ended
// the run without waiting for it.
struct SmpPair : veltrane::test::SuiteRun {
    BenchResult second;
    SmpSync sync;
    bool endedEarly = false;

    explicit SmpPair(int mask, bool holdSecond = false) : SuiteRun(mask) {
        prepare(second, mask);
        std::thread one([this] { SmpSuiteThread1<SuiteSize::Small>(record, sync); });
        while (holdSecond && sink.count(engine::WM_THREAD_END) == 0) {
            std::this_thread::yield();
        }
        endedEarly = sink.count(engine::WM_BENCH_DONE) != 0;
        std::thread two([this] { SmpSuiteThread2<SuiteSize::Small>(second, sync); });
        one.join();
        two.join();
    }
};

TEST(SmpSuiteThreads, AFullRunNumbersEveryMessageByThread) {
    const SmpPair run(engine::kFullRunMask);
    EXPECT_EQ(run.sink.count(engine::WM_THREAD_END, 1), 7);
    EXPECT_EQ(run.sink.count(engine::WM_THREAD_END, 2), 5);
    EXPECT_EQ(run.sink.count(engine::WM_THREAD_END), 12);
    EXPECT_EQ(run.sink.count(engine::WM_THREAD_BEGIN, 1, 0), 1);
    EXPECT_EQ(run.sink.count(engine::WM_THREAD_BEGIN, 1, 1), 1);
    EXPECT_EQ(run.sink.count(engine::WM_THREAD_BEGIN, 6, 1), 0);
    EXPECT_EQ(run.sink.count(engine::WM_THREAD_TICK, 1), 10 + 10 + 20 + 10 + 10 + 30 + 30);
    EXPECT_EQ(run.sink.count(engine::WM_THREAD_TICK, 2), 10 + 10 + 20 + 10 + 10);
    EXPECT_EQ(run.sink.count(engine::WM_THREAD_TICK, 0), 0);
    // one end of the run, last, after both threads' final messages
    EXPECT_EQ(run.sink.count(engine::WM_BENCH_DONE), 1);
    EXPECT_EQ(run.sink.messages().back(), (RecordedMessage{engine::WM_BENCH_DONE, 0, 0, true}));
    EXPECT_GT(run.record.overallResult, 0.0f);
    EXPECT_EQ(run.second.overallResult, 0.0f);
    EXPECT_EQ(run.second.ramAluResult, 0.0f);
    // each thread's own one-second intervals: the second thread's smaller
    // test 1 has its own reference, neither takes 10 ms off
    EXPECT_FLOAT_EQ(run.record.integerResult, 808'500.0f);
    EXPECT_FLOAT_EQ(run.second.integerResult, 269'500.0f);
    EXPECT_FLOAT_EQ(run.second.mflopsResult, 16'896.0f);
}

TEST(SmpSuiteThreads, TheSecondThreadHasNothingToDoForTheMemoryTests) {
    const SmpPair run(128 | 32 | 64);
    EXPECT_EQ(run.sink.count(engine::WM_THREAD_END, 2), 0);
    EXPECT_EQ(run.sink.count(engine::WM_THREAD_TICK, 2), 0);
    EXPECT_EQ(run.sink.count(engine::WM_THREAD_END, 1), 2);
    BenchResult combined;
    engine::combineSmpResults(combined, run.record, run.second);
    EXPECT_EQ(combined.integerResult, 0.0f);
    EXPECT_EQ(combined.mipsResult, 0.0f);
    EXPECT_GT(combined.ramFpuResult, 0.0f);
}

TEST(SmpSuiteThreads, TheFirstThreadWaitsForTheSecondBeforeTheEnd) {
    // Both run the same short test; the end of the run must still come last.
    const SmpPair run(128 | 8, true);
    EXPECT_FALSE(run.endedEarly);
    EXPECT_EQ(run.sink.messages().back().message, engine::WM_BENCH_DONE);
    EXPECT_GT(run.second.mipsResult, 0.0f);
}

}  // namespace
}  // namespace veltrane::suites

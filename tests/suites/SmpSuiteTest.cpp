// The two SMP threads together, at small sizes: their messages, the wait
// before the end of the run, and the combination.
#include <gtest/gtest.h>

#include <thread>

#include "engine/RunEnd.h"
#include "engine/TestInfo.h"
#include "suites/SuiteThreads.h"
#include "support/RecordingSink.h"
#include "support/SuiteRun.h"

namespace veltrane::suites {
namespace {

using engine::BenchResult;
using veltrane::test::RecordedMessage;
using veltrane::test::RecordingSink;

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

// The optimised suites at small sizes: their tests, ticks and forms.
#include <gtest/gtest.h>

#include "engine/MipsBenchmark.h"
#include "engine/PiBenchmark.h"
#include "engine/RunRequest.h"
#include "suites/SmallSuiteShapes.h"
#include "suites/SuiteThreads.h"
#include "support/RecordingSink.h"

namespace veltrane::suites {
namespace {

using engine::BenchResult;
using veltrane::test::RecordingSink;

struct SuiteRun {
    RecordingSink sink;
    BenchResult record;

    SuiteRun() { record.progressWindow = &sink; }
    SuiteRun(void (*suite)(BenchResult&), int mask) : SuiteRun() {
        record.fullRun = mask == engine::kFullRunMask ? 1 : 0;
        record.selected = engine::unpackMask(mask);
        suite(record);
    }

    // The messages of test 2 other than its ticks, up to its end.
    std::vector<engine::WindowMessage> test2Messages() const {
        std::vector<engine::WindowMessage> seen;
        bool inTest2 = false;
        for (const auto& m : sink.messages()) {
            if (m.message == engine::WM_THREAD_BEGIN) {
                inTest2 = m.wParam == 2;
            } else if (inTest2 && m.message != engine::WM_THREAD_TICK) {
                seen.push_back(m.message);
                inTest2 = m.message != engine::WM_THREAD_END;
            }
        }
        return seen;
    }
};

TEST(OptimisedSuites, FullRunsTickLikeTheStandardSuiteButSse2TestFiveAndScore) {
    const std::pair<void (*)(BenchResult&), int> suites[] = {
        {&SuiteThreadSSE<SuiteSize::Small>, 10},
        {&SuiteThreadSSE2<SuiteSize::Small>, 9},
        {&SuiteThread3DNow<SuiteSize::Small>, 10}};
    for (const auto& [suite, test5Ticks] : suites) {
        const SuiteRun run(suite, engine::kFullRunMask);
        EXPECT_EQ(run.sink.ticksPerTest(), (std::vector<int>{10, 10, 20, 10, test5Ticks, 30, 30}));
        EXPECT_EQ(run.sink.messages().back().message, engine::WM_BENCH_DONE);
        EXPECT_GT(run.record.overallResult, 0.0f);
        EXPECT_GT(run.record.ramFpuTriad, 0.0f);
        if (test5Ticks == 9) {
            EXPECT_NEAR(run.record.mflopsResult, 16384.0 / run.record.mflopsTime,
                        run.record.mflopsResult * 1e-5);
        }
    }
}

TEST(OptimisedSuites, TestTwoResetsTheBarBeforeItSettles) {
    for (auto suite : {&SuiteThreadSSE<SuiteSize::Small>, &SuiteThreadSSE2<SuiteSize::Small>,
                       &SuiteThread3DNow<SuiteSize::Small>}) {
        const SuiteRun run(suite, 128 | 2);
        EXPECT_EQ(run.test2Messages(),
                  (std::vector<engine::WindowMessage>{engine::PBM_SETPOS, engine::WM_THREAD_END}));
    }
}

TEST(OptimisedSuites, OptimisedTestOneTakesTenMillisecondsOff) {
    // The measured interval is at least the time of the work; with 10 ms taken
    // off, a very fast test can come out at the one-millisecond floor.
    const SuiteRun run(&SuiteThreadSSE<SuiteSize::Small>, 128 | 1);
    EXPECT_GT(run.record.integerTime, 0.0f);
    EXPECT_NEAR(run.record.integerResult, 80.85 / run.record.integerTime * 10000,
                run.record.integerResult * 1e-5);
}

TEST(SseSuiteForms, AFullRunBorrowsTheThreeDNowCountingLoops) {
    EXPECT_EQ(sseMips(SuiteSize::Full, true).tickEvery, 51'200'001);
    EXPECT_EQ(sseMips(SuiteSize::Full, false).tickEvery, 51'200'000);
    EXPECT_EQ(sseMflops(SuiteSize::Full, true).step, 3);
    EXPECT_EQ(sseMflops(SuiteSize::Full, false).step, 2);
}

int ticksOf(void (*routine)(BenchResult&)) {
    SuiteRun run;
    routine(run.record);
    return run.sink.count(engine::WM_THREAD_TICK);
}

TEST(CountingLoops, IterationCountsOfEachForm) {
    // With a tick at every step the ticks count the iterations below 3,000.
    EXPECT_EQ(
        ticksOf(&engine::MipsBenchmark<test::everyStep(threeDNowCounting(SuiteSize::Small, 0))>),
        1000);
    EXPECT_EQ(ticksOf(&engine::MipsBenchmark<test::everyStep(sseMips(SuiteSize::Small, false))>),
              3000);
    EXPECT_EQ(ticksOf(&engine::MflopsBenchmark<test::everyStep(sse2Mflops(SuiteSize::Small))>),
              2999);  // counts from 1
}

TEST(PiForms, StepsPerIterationAndWhereTheyTick) {
    SuiteRun run;
    engine::PiState sse;
    engine::PiBenchmark<test::kSsePiEveryStep>(run.record, sse);
    EXPECT_EQ(run.sink.count(engine::WM_THREAD_TICK), 960);  // every flip and every term
    EXPECT_EQ(sse.piDenominator, 2.0 * 480 - 1);
    engine::PiState threeDNow;
    engine::PiBenchmark<test::k3DNowPiEveryIteration>(run.record, threeDNow);
    EXPECT_EQ(run.sink.count(engine::WM_THREAD_TICK), 960 + 30 + 30);
    EXPECT_EQ(threeDNow.piDenominator, 2.0 * 480 - 1);
    EXPECT_EQ(threeDNow.piSum, sse.piSum);
}

TEST(ThreeDNowMatrixTest, TicksTenTimesAndScores) {
    SuiteRun run;
    runMatrixTest3DNow<test::k3DNowMatrixFewSteps>(run.record);
    EXPECT_EQ(run.sink.count(engine::WM_THREAD_TICK), 10);
    EXPECT_EQ(run.sink.messages().front().message, engine::PBM_SETPOS);
    EXPECT_GT(run.record.floatResult, 0.0f);
}

}  // namespace
}  // namespace veltrane::suites

#include <gtest/gtest.h>

#include <cmath>

#include "engine/BenchmarkRun.h"
#include "engine/RunRequest.h"
#include "engine/StandardSuite.h"
#include "engine/TestInfo.h"
#include "support/RecordingSink.h"

namespace veltrane::engine {
namespace {

using test::RecordedMessage;
using test::RecordingSink;

struct SmallRun {
    RecordingSink sink;
    BenchResult record;

    explicit SmallRun(int mask) {
        record.progressWindow = &sink;
        record.fullRun = mask == kFullRunMask ? 1 : 0;
        if (record.fullRun == 0) {
            record.selected = unpackMask(mask);
        }
        record.overallResult = 99;  // a stale value the driver must clear
        record.mipsResult = 99;
        StandardSuiteThread<kSmallSuite>(record);
    }

    std::vector<std::int64_t> testsBegun() const {
        std::vector<std::int64_t> tests;
        for (const auto& m : sink.messages()) {
            if (m.message == WM_THREAD_BEGIN) {
                tests.push_back(m.wParam);
            }
        }
        return tests;
    }
};

TEST(StandardSuiteThread, AFullRunAnnouncesTicksAndEndsEveryTestThenPostsOnce) {
    const SmallRun run(kFullRunMask);
    EXPECT_EQ(run.testsBegun(), (std::vector<std::int64_t>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(run.sink.ticksPerTest(), (std::vector<int>{10, 10, 20, 10, 10, 30, 30}));
    EXPECT_EQ(run.sink.count(WM_THREAD_END), 7);
    const auto messages = run.sink.messages();
    EXPECT_EQ(messages.back(), (RecordedMessage{WM_BENCH_DONE, 0, 0, true}));
    EXPECT_EQ(run.sink.count(WM_BENCH_DONE), 1);
    for (const auto& m : messages) {
        if (m.message != WM_BENCH_DONE) {
            EXPECT_FALSE(m.posted);
            EXPECT_EQ(m.lParam, 0);
        }
        if (m.message == WM_THREAD_END || m.message == WM_THREAD_TICK) {
            EXPECT_EQ(m.wParam, 0);
        }
    }
    EXPECT_GT(run.record.overallResult, 0.0f);
    EXPECT_GT(run.record.ramFpuResult, 0.0f);
    EXPECT_GT(run.record.overallTime, 0.0f);
}

TEST(StandardSuiteThread, MaskWithoutTestBitsRunsNothingButStillEnds) {
    const SmallRun run(128);
    ASSERT_EQ(run.sink.messages().size(), 1u);
    EXPECT_EQ(run.sink.messages()[0].message, WM_BENCH_DONE);
    EXPECT_EQ(run.record.overallResult, 0.0f);
    EXPECT_EQ(run.record.mipsResult, 0.0f);
    EXPECT_GE(run.record.overallTime, 0.0f);
    EXPECT_LT(run.record.overallTime, 1.0f);
}

TEST(StandardSuiteThread, MaskOfAllSevenTestsIsACustomRun) {
    const SmallRun run(127);
    EXPECT_EQ(run.testsBegun().size(), 7u);
    EXPECT_EQ(run.record.overallResult, 0.0f);
    EXPECT_GT(run.record.integerResult, 0.0f);
}

TEST(StandardSuiteThread, ACustomRunOfTestsThreeAndSixRunsOnlyThose) {
    const SmallRun run(128 | 4 | 32);
    EXPECT_EQ(run.testsBegun(), (std::vector<std::int64_t>{3, 6}));
    EXPECT_GT(run.record.doubleResult, 0.0f);
    EXPECT_GT(run.record.ramAluResult, 0.0f);
    EXPECT_EQ(run.record.integerResult, 0.0f);
    EXPECT_EQ(run.record.ramFpuResult, 0.0f);
}

// One run of the real suite, at full size, through the run starter.
TEST(StandardSuiteFullSize, RunsAllSevenTestsWithTheirTicks) {
    RecordingSink sink;
    BenchmarkRun run;
    RunPlan plan;
    plan.suite = SuiteStandard;
    ASSERT_TRUE(run.start(plan, sink, &StandardSuiteThread<kFullSuite>));
    sink.waitForPost();
    run.finish();
    EXPECT_EQ(sink.ticksPerTest(), (std::vector<int>{10, 10, 20, 10, 10, 30, 30}));
    EXPECT_EQ(sink.count(WM_THREAD_END), 7);
    EXPECT_EQ(sink.messages().back().message, WM_BENCH_DONE);
    const BenchResult& r = run.record();
    EXPECT_EQ(r.suite, SuiteStandard);
    for (float value : {r.integerResult, r.floatResult, r.doubleResult, r.mipsResult,
                        r.mflopsResult, r.ramAluResult, r.ramFpuResult, r.overallResult}) {
        EXPECT_GT(value, 0.0f);
        EXPECT_TRUE(std::isfinite(value));
    }
    // seven settling sleeps of 200 ms lie inside the run's time
    EXPECT_GT(r.overallTime, 1.4f);
}

}  // namespace
}  // namespace veltrane::engine

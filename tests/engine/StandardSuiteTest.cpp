#include <gtest/gtest.h>

#include "engine/RunRequest.h"
#include "engine/StandardSuite.h"
#include "engine/TestInfo.h"
#include "support/SuiteRun.h"

namespace veltrane::engine {
namespace {

using test::RecordedMessage;

struct SmallRun : test::SuiteRun {
    explicit SmallRun(int mask, int stopAfter = -1) : SuiteRun(mask) {
        sink.stopAfter(stopAfter);
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
    // CPUMarks of the seven exact figures (808500, 361600, 325800, 20480,
    // 16896, 33, 33), weighed 5, 2, 2, 3, 3, 1, 1
    EXPECT_NEAR(run.record.overallResult, 5'529'494.0 / 170 * 2, 0.05);
    // from the run's first reading to its last: thirteen readings a second
    // apart, seven settles and the ten 1 ms pauses of test 2
    EXPECT_FLOAT_EQ(run.record.overallTime, 14.41f);
}

TEST(StandardSuiteThread, ACustomRunRunsOnlyTheSelectedTestsAndHasNoScore) {
    const struct {
        int mask;
        std::vector<std::int64_t> tests;
    } cases[] = {{128, {}}, {127, {1, 2, 3, 4, 5, 6, 7}}, {128 | 4 | 32, {3, 6}}};
    for (const auto& c : cases) {
        const SmallRun run(c.mask);
        SCOPED_TRACE(c.mask);
        EXPECT_EQ(run.testsBegun(), c.tests);
        EXPECT_EQ(run.sink.messages().back().message, WM_BENCH_DONE);
        EXPECT_EQ(run.record.overallResult, 0.0f);
        EXPECT_EQ(run.record.integerResult > 0, c.tests.size() == 7);
        EXPECT_EQ(run.record.mipsResult > 0, c.tests.size() == 7);
        EXPECT_EQ(run.record.doubleResult > 0, !c.tests.empty());
    }
}

TEST(StandardSuiteThread, AStopBetweenTestsEndsTheRunThroughItsUsualEndWithNoScore) {
    const SmallRun run(kFullRunMask, 2);
    EXPECT_EQ(run.testsBegun(), (std::vector<std::int64_t>{1, 2}));
    EXPECT_TRUE(run.record.stopped);
    EXPECT_EQ(run.record.overallResult, 0.0f);
    EXPECT_GT(run.record.floatResult, 0.0f);  // the tests that ran keep their figures
    EXPECT_EQ(run.sink.messages().back(), (RecordedMessage{WM_BENCH_DONE, 0, 0, true}));
    EXPECT_FALSE(SmallRun(kFullRunMask).record.stopped);
}

}  // namespace
}  // namespace veltrane::engine

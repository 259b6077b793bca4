// The standard suite's driver at small sizes, and the progress model that reads its messages.
#include <gtest/gtest.h>

#include "engine/ProgressModel.h"
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

// Applies `message` `times` times.
void repeat(ProgressModel& model, int times, WindowMessage message, int wParam, int lParam = 0) {
    for (int i = 0; i < times; ++i) {
        model.apply(message, wParam, lParam);
    }
}

TEST(ProgressModel, SingleThreadWindowCountsTicksEndsAndTestsBegun) {
    ProgressModel model(false);
    const auto& view = model.thread(0);
    model.apply(WM_THREAD_BEGIN, 3, 0);
    EXPECT_EQ(view.name + "|" + view.unit, "PI APPROXIMATION|FPU (64 bit)");
    repeat(model, 10, WM_THREAD_TICK, 0);
    EXPECT_EQ(view.current.position, 100);
    model.apply(WM_THREAD_TICK, 0, 0);  // test 3 ticks twenty times: the bar starts over
    EXPECT_EQ(view.current.position, 10);
    model.apply(WM_THREAD_END, 0, 0);
    EXPECT_EQ(ProgressModel::percentText(view.overallPercent), "14 %");
    model.apply(WM_THREAD_BEGIN, 9, 0);
    EXPECT_EQ(view.testsBegun, 2);             // the counter counts tests begun, not test numbers
    EXPECT_EQ(view.name, "PI APPROXIMATION");  // no text for a number outside 1-7
    model.apply(PBM_SETPOS, 30, 0);
    EXPECT_EQ(view.current.position, 30);
    EXPECT_EQ(model.apply(WM_BENCH_DONE, 0, 0), -1);
    repeat(model, 6, WM_THREAD_END, 0);
    EXPECT_EQ(view.overallPercent, 98);  // a full run ends short of 100
    EXPECT_EQ(view.overall.position, 7);
    model.reset();
    EXPECT_EQ(view.testsBegun + view.overallPercent + view.current.position, 0);
}

TEST(ProgressModel, TwoThreadWindowTellsTheThreadsApart) {
    ProgressModel model(true);
    EXPECT_EQ(model.apply(WM_THREAD_BEGIN, 1, 0), 0);
    EXPECT_EQ(model.apply(WM_THREAD_BEGIN, 1, 1), 1);
    EXPECT_EQ(model.apply(WM_THREAD_TICK, 2, 0), 1);
    EXPECT_EQ(model.thread(1).current.position, 10);
    EXPECT_EQ(model.apply(WM_THREAD_TICK, 0, 0), -1);
    EXPECT_EQ(model.apply(WM_THREAD_BEGIN, 2, 5), -1);
    repeat(model, 5, WM_THREAD_END, 2);
    EXPECT_EQ(model.thread(1).overallPercent, 100);  // the second thread runs five tests
    EXPECT_EQ(model.thread(1).overall.position, model.thread(1).overall.maximum);
    model.apply(WM_THREAD_END, 1, 0);
    EXPECT_EQ(model.thread(0).overallPercent, 14);
    // Thread 1 reaching test 6 or 7 stops thread 2's texts; they change only for tests 1-5.
    for (const int test : {6, 7}) {
        model.apply(WM_THREAD_BEGIN, 2, 1);
        model.apply(WM_THREAD_BEGIN, test, 0);
        const auto& second = model.thread(1);
        EXPECT_EQ(second.name + second.unit + second.description, kSecondThreadStopped) << test;
    }
    EXPECT_EQ(model.thread(0).name, "STREAM 4.0 FPU");
    model.apply(WM_THREAD_BEGIN, 6, 1);
    EXPECT_EQ(model.thread(1).name, "");
    EXPECT_EQ(model.thread(1).testsBegun, 4);  // its counter always counts
}

}  // namespace
}  // namespace veltrane::engine

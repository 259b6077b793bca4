// The standard suite's driver at small sizes and the self-checks of its tests; the progress model
// that reads its messages.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/DetailsRows.h"
#include "engine/IntegerBenchmark.h"
#include "engine/MatrixTransform.h"
#include "engine/PiBenchmark.h"
#include "engine/ProgressModel.h"
#include "engine/RunEnd.h"
#include "engine/RunRequest.h"
#include "engine/StandardSuite.h"
#include "engine/TestInfo.h"
#include "support/SuiteRun.h"

namespace veltrane::engine {
namespace {

using test::RecordedMessage;

std::vector<int> failedTests(const BenchResult& record) {
    std::vector<int> failed;
    for (int test = 1; test <= 7; ++test) {
        if (figureInvalid(record, test)) {
            failed.push_back(test);
        }
    }
    return failed;
}

// A small run of the suite; `damaged` feeds that test's self-check a damaged input.
struct SmallRun : test::SuiteRun {
    explicit SmallRun(int mask, int stopAfter = -1, int damaged = 0) : SuiteRun(mask) {
        sink.stopAfter(stopAfter);
        record.overallResult = 99;  // a stale value the driver must clear
        record.mipsResult = 99;
        setDamagedCheck(damaged);
        StandardSuiteThread<kSmallSuite>(record);
        setDamagedCheck(0);
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
    // Every self-check ran and passed.
    for (const TestCheck& check : run.record.checks) {
        EXPECT_EQ(check.state, CheckState::Passed) << check.detail;
    }
    EXPECT_FALSE(run.record.stopped);
    EXPECT_NE(scoreText(run.record), "N/A ");
}

// A damaged input fails its own test's check alone, which takes the overall score with it.
TEST(StandardSuiteThread, ADamagedInputFailsOnlyItsOwnTestsCheckAndTheScore) {
    for (const int damaged : {1, 2, 3, 4, 5, 6, 7}) {
        SCOPED_TRACE(damaged);
        const SmallRun run(kFullRunMask, -1, damaged);
        EXPECT_EQ(failedTests(run.record), std::vector{damaged});
        for (const TestCheck& check : run.record.checks) {
            EXPECT_NE(check.state, CheckState::NotRun);
        }
        EXPECT_EQ(run.record.overallResult, 0.0f);
        EXPECT_EQ(scoreText(run.record), "N/A ");
    }
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
}

TEST(SelfCheck, TicksExpectedAreTheMultiplesTheCounterStepsOn) {
    const struct {
        std::int32_t start, step, limit, every;
        std::int64_t ticks;
    } cases[] = {
        {0, 2, 512'000'000, 51'200'000, 10},  // the MIPS loop
        {1, 2, 100, 10, 0},                   // odd counts never meet an even multiple
        {0, 1, 100, 10, 10},
        {5, 5, 50, 20, 2},  // 20 and 40
        {0, 0, 100, 10, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(expectedTicks(c.start, c.step, c.limit, c.every), c.ticks) << c.start << c.step;
    }
    EXPECT_FALSE(checkTicks(10, 10).failed());
    EXPECT_EQ(checkTicks(11, 10).detail, "11 progress ticks counted, 10 expected");
}

TEST(SelfCheck, StreamArraysMatchTheirClosedFormExactlyOrWithinTolerance) {
    // Two passes from a = 0, b = 2, c = 1: a = 45, b = 18, c = 153.
    std::uint32_t a[3] = {45, 45, 45}, b[3] = {18, 18, 18}, c[3] = {153, 153, 153};
    EXPECT_FALSE(checkAluArrays(a, b, c, 3, 2).failed());
    c[2] = 154;
    EXPECT_EQ(checkAluArrays(a, b, c, 3, 2).detail, "array c element 2 is 154, not 153");
    double x[1] = {45}, y[1] = {18 * (1 + 1e-14)}, z[1] = {153};
    EXPECT_FALSE(checkFpuArrays(x, y, z, 1, 2).failed());
    y[0] = 18 * (1 + 1e-12);
    EXPECT_TRUE(checkFpuArrays(x, y, z, 1, 2).failed());
    // 300 passes wrap the integers many times over.
    const std::uint32_t wrapped = 0;
    EXPECT_TRUE(checkAluArrays(&wrapped, &wrapped, &wrapped, 1, 300).failed());
}

TEST(SelfCheck, RunningRotationKeepsItsExactFormAndItsPredictedScale) {
    D3DMatrix rotation;
    D3DMatrix running = identityMatrix();
    for (int step = 0; step < 1000; ++step) {
        BuildRotationY(rotation, matrixTestAngle());
        MatrixMultiply4x4(running, rotation, running);
    }
    EXPECT_FALSE(checkRunningRotation(running, rotation, 1000).failed());
    // Off by a step: the predicted scale strays by 2.2e-8, under the 64 u floor.
    EXPECT_FALSE(checkRunningRotation(running, rotation, 1001).failed());
    D3DMatrix bent = running;
    bent.m[1][1] = 0.999f;
    EXPECT_EQ(checkRunningRotation(bent, rotation, 1000).detail,
              "the running matrix has lost the form of a rotation about Y");
    bent = running;
    bent.m[0][2] *= 1.001f;
    EXPECT_TRUE(checkRunningRotation(bent, rotation, 1000).failed());
    // Both entries scaled alike keep the form but not the scale.
    bent = running;
    for (auto* entry : {&bent.m[0][0], &bent.m[2][2], &bent.m[0][2], &bent.m[2][0]}) {
        *entry *= 1.01f;
    }
    EXPECT_NE(checkRunningRotation(bent, rotation, 1000).detail.find("squared scale is"),
              std::string::npos);
    EXPECT_NEAR(rotationScaleTolerance(40'000'000), 6.03e-3, 1e-5);
    EXPECT_EQ(rotationScaleTolerance(1), std::ldexp(64.0, -24));
}

TEST(SelfCheck, PiSeriesCountsItsTermsAndLandsOnPi) {
    PiState s;
    s.piSign = -5;
    s.piDenominator = -1;
    // Four terms: +5 - 5/3 + 5/5 - 5/7, the sign back where it started.
    for (int k = 1; k <= 4; ++k) {
        s.piSign = -s.piSign;
        s.piDenominator += 2;
        s.piSum += s.piSign / s.piDenominator;
    }
    EXPECT_FALSE(checkPiSeries(s).failed());
    PiState wrong = s;
    wrong.piSign = 5;
    EXPECT_EQ(checkPiSeries(wrong).detail, "after 4 terms the sign is 5, not -5");
    wrong = s;
    wrong.piDenominator = 6;
    EXPECT_TRUE(checkPiSeries(wrong).failed());
    wrong = s;
    wrong.piSum -= 0.6;  // further off than the next term, 5 / 9
    EXPECT_TRUE(checkPiSeries(wrong).failed());
    EXPECT_NEAR(piSeriesTolerance(512'000'000), 3.7e-7, 1e-8);
}

TEST(SelfCheck, SortTableKeepsItsOrderAndElementOnesText) {
    auto table = std::make_unique<SortTable>();
    fillSortTable(*table);
    sortPass(*table);
    EXPECT_FALSE(checkSortTable(*table).failed());
    (*table)[1].third = SharedText("abcdefghilmnopqrstuw");
    EXPECT_EQ(checkSortTable(*table).detail, "element 1's text is not the longest one");
    std::swap((*table)[298].key, (*table)[299].key);
    EXPECT_EQ(checkSortTable(*table).detail, "element 298 holds key 299");
}

TEST(SelfCheck, AnInvalidFigureIsMarkedInTheDetailsAndBothSmpThreadsCount) {
    BenchResult first;
    first.fullRun = 1;
    first.mipsResult = 1000;
    BenchResult second = first;
    second.checks[3] = checkFailed("11 progress ticks counted, 10 expected");
    BenchResult combined;
    combineSmpResults(combined, first, second);
    EXPECT_EQ(failedTests(combined), std::vector{4});
    EXPECT_EQ(combined.overallResult, 0.0f);
    const auto rows = benchmarkDetailsRows(combined);
    const auto mips = std::find_if(rows.begin(), rows.end(),
                                   [](const InfoRow& row) { return row.item == "  MIPS Result"; });
    ASSERT_NE(mips, rows.end());
    EXPECT_EQ(mips->description, "2000 MIPS - INVALID");
    EXPECT_EQ(rows.back().description, "INVALID: 11 progress ticks counted, 10 expected");
    EXPECT_EQ(rows[rows.size() - 3].item, " Self-check Failures");
    // A core that slowed by more than 5 % while a test ran throttled.
    combined.clocks[1] = {3000.0f, 2849.0f};
    combined.clocks[2] = {3000.0f, 2851.0f};
    combined.clocks[3] = {0.0f, 0.0f};
    EXPECT_EQ(throttlingWarnings(combined),
              std::vector<std::string>{"test 2 slowed the core from 3000 to 2849 MHz while it ran: "
                                       "the processor throttled, figures will be low"});
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

#include <gtest/gtest.h>

#include "LoopFakes.h"
#include "reports/LoopLog.h"
#include "reports/LoopTexts.h"

namespace veltrane::reports {
namespace {

using platform::ThreadPriority;
using test::clockAt;

TEST(ProgramClock, AddsOneHourWithoutWrapping) {
    // 2024-03-07 23:15:09 UTC
    const ClockTime late = programClockTime(1709853309);
    EXPECT_EQ(late.hour, 24);
    EXPECT_EQ(late.minute, 15);
    EXPECT_EQ(late.second, 9);
    EXPECT_EQ(late.day, 7);
    EXPECT_EQ(late.month, 3);
    EXPECT_EQ(late.year, 2024);
    // 2024-03-07 00:00:00 UTC
    EXPECT_EQ(programClockTime(1709769600).hour, 1);
}

TEST(LoopStatus, TextsPerMode) {
    const ClockTime start{2024, 3, 7, 24, 5, 0};
    LoopSettings settings;
    auto texts = loopStatusTexts(settings, ThreadPriority::Idle, start);
    EXPECT_EQ(texts.runMode, "Continuously");
    EXPECT_EQ(texts.stopAt, "User Defined");
    EXPECT_EQ(texts.startingAt, "3/7/2024 at 24.5");
    EXPECT_EQ(texts.priority, "Very Low priority");

    settings.mode = LoopMode::Repeat;
    settings.repeatCycles = 4;
    texts = loopStatusTexts(settings, ThreadPriority::Normal, start);
    EXPECT_EQ(texts.runMode, "Running 4 Cycles");
    EXPECT_EQ(texts.stopAt, "After 4 Cycles");
    EXPECT_EQ(texts.priority, "Normal priority");

    settings.mode = LoopMode::StopAtTime;
    settings.stopHour = 18;
    settings.stopMinute = 7;
    texts = loopStatusTexts(settings, ThreadPriority::TimeCritical, start);
    EXPECT_EQ(texts.runMode, "Time - stop mode");
    EXPECT_EQ(texts.stopAt, "18.7");
    EXPECT_EQ(texts.priority, "Time Critical priority");
}

TEST(LoopRows, DatesAreMonthFirstWithTheUnwrappedHour) {
    const ClockTime t{2024, 12, 31, 24, 3, 9};
    EXPECT_EQ(unitStartRow(t), "Thread start on 12/31/2024 at 24.3.9...");
    EXPECT_EQ(unitEndRow(t), "Thread end on 12/31/2024 at 24.3.9 without errors");
    EXPECT_EQ(loopCycleRow(2), "Loop Cycle 2 started");
    EXPECT_EQ(unitFailedRow(t, 3).find("without errors"), std::string::npos);
}

class LoopLogTest : public ::testing::Test {
protected:
    void SetUp() override { log_.start(LoopSettings{}, ThreadPriority::Normal, clockAt(9, 0)); }
    void unit(bool matched = true, std::int64_t failed = 0) {
        log_.handle(WM_LOOP_UNIT_BEGIN, 0, 0, clockAt(9, 1, 2));
        for (int tick = 0; tick < 10; ++tick) {
            log_.handle(WM_THREAD_TICK, 0, 0, clockAt(9, 1, 2));
        }
        log_.handle(WM_LOOP_UNIT_END, matched ? 0 : 1, failed, clockAt(9, 1, 3));
    }
    LoopLog log_;
};

TEST_F(LoopLogTest, StartsEmptyWithTheStopCaption) {
    EXPECT_TRUE(log_.rows().empty());
    EXPECT_EQ(log_.caption(), "Stop Looping Now!!!");
    EXPECT_EQ(log_.overallBar(), 0);
    EXPECT_EQ(log_.currentBar(), 0);
    const auto rows = loopStatusRows(log_);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].label, "Run Mode:");
    EXPECT_EQ(rows[0].value, "Continuously");
    EXPECT_EQ(rows[2].value, "3/7/2024 at 9.0");
}

TEST_F(LoopLogTest, EveryRowIsFollowedByAnEmptyRow) {
    unit();
    const std::vector<std::string> expected = {"Loop Cycle 1 started",
                                               "",
                                               "Thread start on 3/7/2024 at 9.1.2...",
                                               "",
                                               "Thread end on 3/7/2024 at 9.1.3 without errors",
                                               ""};
    EXPECT_EQ(log_.rows(), expected);
}

TEST_F(LoopLogTest, CycleLineOpensUnitsOneElevenAndTwentyOne) {
    for (int i = 0; i < 21; ++i) {
        unit();
    }
    EXPECT_EQ(log_.cycleCount(), 3);
    // Cycle 1: 2 rows, then 4 per unit.
    EXPECT_EQ(log_.rows()[2 + 10 * 4], "Loop Cycle 2 started");
    EXPECT_EQ(log_.rows()[4 + 20 * 4], "Loop Cycle 3 started");
    EXPECT_EQ(log_.overallBar(), 1);
    EXPECT_EQ(log_.currentBar(), 10);
}

TEST_F(LoopLogTest, BarsCountUnitsOfTheCycleAndTicksOfTheUnit) {
    for (int i = 0; i < 10; ++i) {
        unit();
    }
    EXPECT_EQ(log_.overallBar(), 10);
    log_.handle(WM_LOOP_UNIT_BEGIN, 0, 0, clockAt(9, 2));
    log_.handle(WM_THREAD_TICK, 0, 0, clockAt(9, 2));
    EXPECT_EQ(log_.overallBar(), 1);
    EXPECT_EQ(log_.currentBar(), 1);
}

TEST_F(LoopLogTest, FailedUnitIsNeverLoggedAsWithoutErrors) {
    unit(false, 1);
    EXPECT_EQ(log_.rows()[4].find("without errors"), std::string::npos);
    EXPECT_NE(log_.rows()[4].find("FAILED"), std::string::npos);
    EXPECT_NE(log_.rows()[4].find("1 failed unit"), std::string::npos);
    EXPECT_EQ(log_.failedUnits(), 1);
}

TEST_F(LoopLogTest, StartingAgainClearsTheLog) {
    unit();
    log_.finish();
    EXPECT_EQ(log_.caption(), "Close this window");
    log_.start(LoopSettings{}, ThreadPriority::Normal, clockAt(10, 0));
    EXPECT_TRUE(log_.rows().empty());
    EXPECT_EQ(log_.cycleCount(), 0);
    unit();
    EXPECT_EQ(log_.rows()[0], "Loop Cycle 1 started");
}

}  // namespace
}  // namespace veltrane::reports

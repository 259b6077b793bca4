#include <gtest/gtest.h>

#include "LoopFakes.h"
#include "platform/Format.h"
#include "reports/LoopLog.h"
#include "reports/LoopTexts.h"

namespace veltrane::reports {
namespace {

using platform::ThreadPriority;
using test::clockAt;

TEST(ProgramClock, AddsOneHourWithoutWrapping) {
    const ClockTime late = programClockTime(1709853309);  // 2024-03-07 23:15:09 UTC
    EXPECT_EQ(strprintf("%d-%d-%d %d:%d:%d", late.year, late.month, late.day, late.hour,
                        late.minute, late.second),
              "2024-3-7 24:15:9");
    EXPECT_EQ(programClockTime(1709769600).hour, 1);  // 2024-03-07 00:00:00 UTC
}

TEST(LoopStatus, TextsPerMode) {
    const ClockTime start{2024, 3, 7, 24, 5, 0};
    const auto texts = [&](LoopMode mode, ThreadPriority priority) {
        const LoopSettings settings{mode, 18, 7, 4};
        const auto t = loopStatusTexts(settings, priority, start);
        return t.runMode + "|" + t.stopAt + "|" + t.startingAt + "|" + t.priority;
    };
    EXPECT_EQ(texts(LoopMode::Continuous, ThreadPriority::Idle),
              "Continuously|User Defined|3/7/2024 at 24.5|Very Low priority");
    EXPECT_EQ(texts(LoopMode::Repeat, ThreadPriority::Normal),
              "Running 4 Cycles|After 4 Cycles|3/7/2024 at 24.5|Normal priority");
    EXPECT_EQ(texts(LoopMode::StopAtTime, ThreadPriority::TimeCritical),
              "Time - stop mode|18.7|3/7/2024 at 24.5|Time Critical priority");
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

TEST_F(LoopLogTest, StartsEmptyAndEveryRowIsFollowedByAnEmptyRow) {
    EXPECT_TRUE(log_.rows().empty());
    EXPECT_EQ(log_.caption(), "Stop Looping Now!!!");
    EXPECT_EQ(log_.overallBar() + log_.currentBar(), 0);
    const auto rows = loopStatusRows(log_);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].label + rows[0].value, "Run Mode:Continuously");
    EXPECT_EQ(rows[2].value, "3/7/2024 at 9.0");
    unit();
    EXPECT_EQ(log_.rows(), (std::vector<std::string>{
                               "Loop Cycle 1 started", "", "Thread start on 3/7/2024 at 9.1.2...",
                               "", "Thread end on 3/7/2024 at 9.1.3 without errors", ""}));
}

TEST_F(LoopLogTest, CycleLinesOpenUnitsOneElevenAndTwentyOneAndTheBarsCount) {
    for (int i = 0; i < 10; ++i) {
        unit();
    }
    EXPECT_EQ(log_.overallBar(), 10);
    log_.handle(WM_LOOP_UNIT_BEGIN, 0, 0, clockAt(9, 2));
    log_.handle(WM_THREAD_TICK, 0, 0, clockAt(9, 2));
    EXPECT_EQ(log_.overallBar(), 1);  // units of the cycle, ticks of the unit
    EXPECT_EQ(log_.currentBar(), 1);
    log_.handle(WM_LOOP_UNIT_END, 0, 0, clockAt(9, 2));
    for (int i = 0; i < 10; ++i) {
        unit();
    }
    EXPECT_EQ(log_.cycleCount(), 3);
    // Cycle 1: 2 rows, then 4 per unit.
    EXPECT_EQ(log_.rows()[2 + 10 * 4], "Loop Cycle 2 started");
    EXPECT_EQ(log_.rows()[4 + 20 * 4], "Loop Cycle 3 started");
    EXPECT_EQ(log_.overallBar(), 1);
    EXPECT_EQ(log_.currentBar(), 1);  // 101 ticks: past ten the bar starts again
}

TEST_F(LoopLogTest, AFailedUnitIsNeverLoggedAsWithoutErrors) {
    unit(false, 1);
    EXPECT_EQ(log_.rows()[4],
              "Thread end on 3/7/2024 at 9.1.3 FAILED: wrong result (1 failed unit in this loop)");
    EXPECT_EQ(log_.failedUnits(), 1);
    EXPECT_EQ(unitFailedRow(clockAt(9, 1), 2).find("without errors"), std::string::npos);
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

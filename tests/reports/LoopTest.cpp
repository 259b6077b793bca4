#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "LoopFakes.h"
#include "platform/Format.h"
#include "reports/LoopLog.h"
#include "reports/LoopRunner.h"
#include "reports/LoopStart.h"
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
    const auto texts = [](LoopMode mode, ThreadPriority priority) {
        const auto t = loopStatusTexts(LoopSettings{mode, 18, 7, 4}, priority, clockAt(24, 5));
        return t.runMode + "|" + t.stopAt + "|" + t.startingAt + "|" + t.priority;
    };
    EXPECT_EQ(texts(LoopMode::Continuous, ThreadPriority::Idle),
              "Continuously|User Defined|3/7/2024 at 24.5|Very Low priority");
    EXPECT_EQ(texts(LoopMode::Repeat, ThreadPriority::Normal),
              "Running 4 Cycles|After 4 Cycles|3/7/2024 at 24.5|Normal priority");
    EXPECT_EQ(texts(LoopMode::StopAtTime, ThreadPriority::TimeCritical),
              "Time - stop mode|18.7|3/7/2024 at 24.5|Time Critical priority");
}

// Rows, cycle lines and bars as the window shows them; failed units and a
// log started again are checked through the loop runner.
TEST(LoopLog, RowsCycleLinesAndBars) {
    LoopLog log;
    log.start(LoopSettings{}, ThreadPriority::Normal, clockAt(9, 0));
    const auto rows = loopStatusRows(log);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].label + rows[1].label + rows[2].label + rows[3].label + rows[2].value,
              "Run Mode:Priority:Starting At:Stop At:3/7/2024 at 9.0");
    for (int unit = 1; unit <= 11; ++unit) {
        log.handle(WM_LOOP_UNIT_BEGIN, 0, 0, clockAt(9, 1, 2));
        for (int tick = 0; tick < (unit <= 10 ? 10 : 1); ++tick) {
            log.handle(WM_THREAD_TICK, 0, 0, clockAt(9, 1, 2));
        }
        log.handle(WM_LOOP_UNIT_END, 0, 0, clockAt(9, 1, 3));
    }
    EXPECT_EQ(std::vector<std::string>(log.rows().begin(), log.rows().begin() + 6),
              (std::vector<std::string>{"Loop Cycle 1 started", "",
                                        "Thread start on 3/7/2024 at 9.1.2...", "",
                                        "Thread end on 3/7/2024 at 9.1.3 without errors", ""}));
    // Unit 11 opens cycle 2 after 2 rows, then 4 per unit; its first tick is
    // the 101st, and past ten a bar starts again.
    EXPECT_EQ(log.rows()[2 + 10 * 4], "Loop Cycle 2 started");
    EXPECT_EQ(log.overallBar(), 1);  // units of the cycle, ticks of the unit
    EXPECT_EQ(log.currentBar(), 1);
}

const std::string kInvalidValue = "Veltrane error: Invalid value (continuous)";
const std::string kBadTime =
    "Veltrane Error: Error: The time format is incorrect or is less than the current time "
    "(continuous)";

// What "Start!" decided: the loop, or the message's title and text and the mode it fell back to.
std::string check(LoopMode mode, std::string repeat, std::string hour = "", std::string minute = "",
                  ClockTime now = clockAt(12, 0)) {
    const LoopEntry entry{mode, std::move(repeat), std::move(hour), std::move(minute)};
    const auto c = checkLoopStart(entry, now);
    const auto& s = c.settings;
    const std::string result = s.mode == LoopMode::Continuous ? "continuous"
                               : s.mode == LoopMode::Repeat
                                   ? strprintf("repeat %d", s.repeatCycles)
                                   : strprintf("stop at %d.%d", s.stopHour, s.stopMinute);
    return c.accepted ? result : c.errorTitle + ": " + c.errorText + " (" + result + ")";
}

std::string stopAt(std::string hour, std::string minute, ClockTime now = clockAt(12, 0)) {
    return check(LoopMode::StopAtTime, "", std::move(hour), std::move(minute), now);
}

TEST(FieldNumbers, ReadLikeAtoiFromTheFirstThirtyCharactersAndSaturate) {
    EXPECT_EQ(readFieldNumber("  7 times"), 7);
    EXPECT_EQ(readFieldNumber("-3"), -3);
    EXPECT_EQ(readFieldNumber("+4"), 4);
    EXPECT_EQ(readFieldNumber("abc"), 0);
    EXPECT_EQ(readFieldNumber("- 3"), 0);
    EXPECT_EQ(readFieldNumber(std::string(29, ' ') + "9"), 9);
    EXPECT_EQ(readFieldNumber(std::string(30, ' ') + "9"), 0);
    EXPECT_EQ(readFieldNumber("99999999999999999999"), 2147483647);
    EXPECT_EQ(readFieldNumber("-99999999999999999999"), -2147483647 - 1);
}

TEST(LoopStartCheck, RepeatCountsContinuousModeAndStopTimes) {
    EXPECT_EQ(check(LoopMode::Continuous, "-5", "99"), "continuous");  // reads nothing
    EXPECT_EQ(check(LoopMode::Repeat, "3"), "repeat 3");
    EXPECT_EQ(check(LoopMode::Repeat, "0"), "repeat 0");
    EXPECT_EQ(check(LoopMode::Repeat, "-1"), kInvalidValue);
    EXPECT_EQ(stopAt("24", "59", clockAt(12, 30)), "stop at 24.59");
    EXPECT_EQ(stopAt("25", "0", clockAt(12, 30)), kBadTime);
    EXPECT_EQ(stopAt("13", "60", clockAt(12, 30)), kBadTime);
    EXPECT_EQ(stopAt("18", "-5"), kBadTime);  // a minute that never comes
    EXPECT_EQ(stopAt("14", "59", clockAt(15, 40)), kBadTime);
    // The minutes are not compared: 15.10 comes round tomorrow.
    EXPECT_EQ(stopAt("15", "10", clockAt(15, 40)), "stop at 15.10");
    EXPECT_EQ(stopAt("18", "xx"), "stop at 18.0");
    EXPECT_EQ(stopAt("xx", "10"), kBadTime);
}

TEST(LoopStartCheck, SliderGivesThePriority) {
    LoopEntry entry;  // the slider starts at High
    EXPECT_EQ(checkLoopStart(entry, clockAt(1, 0)).priority, ThreadPriority::TimeCritical);
    entry.sliderPosition = 1;
    EXPECT_EQ(checkLoopStart(entry, clockAt(1, 0)).priority, ThreadPriority::Normal);
    entry.sliderPosition = 0;
    EXPECT_EQ(checkLoopStart(entry, clockAt(1, 0)).priority, ThreadPriority::Idle);
}

constexpr int kElements = kLoopMatrixSize * kLoopMatrixSize;

// A zero operand, or a result of one value, would hide damaged products.
TEST(LoopUnit, OperandsAreNonZeroAndResultRowsDiffer) {
    auto m = std::make_unique<LoopMatrices>();
    initLoopOperands(*m);
    EXPECT_EQ(std::count(&m->a[0][0], &m->a[0][0] + kElements, 0), 0);
    EXPECT_EQ(std::count(&m->b[0][0], &m->b[0][0] + kElements, 0), 0);
    const auto expected = expectedLoopResult();
    ASSERT_EQ(expected.size(), std::size_t{kElements});
    EXPECT_EQ(expected[0], expected[49]);  // every row holds one value
    EXPECT_NE(expected[0], expected[50]);
}

// The program's own unit once, at its real size (2.5 x 10^9 multiply-adds).
TEST(LoopUnit, RealUnitTicksTenTimesAndMatches) {
    auto m = std::make_unique<LoopMatrices>();
    test::FakeLoopClock clock(clockAt(9, 0));
    test::RecordingLoopSink sink(clock);
    standardLoopUnit()(*m, sink);
    EXPECT_EQ(sink.notices, std::vector<LoopNotice>(10, WM_THREAD_TICK));
    const std::int32_t* r = &m->result[0][0];
    EXPECT_EQ(std::vector<std::int32_t>(r, r + kElements), expectedLoopResult());
}

}  // namespace
}  // namespace veltrane::reports

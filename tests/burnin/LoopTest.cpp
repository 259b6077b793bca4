#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "LoopFakes.h"
#include "burnin/LoopLog.h"
#include "burnin/LoopRunner.h"
#include "burnin/LoopStart.h"
#include "platform/Format.h"
#include "support/Joined.h"

namespace veltrane::burnin {
namespace {

using platform::ThreadPriority;
using test::clockAt;

// The status panel's rows, as the window shows them when a loop starts.
TEST(LoopStatus, RowsPerMode) {
    const auto rows = [](LoopMode mode, ThreadPriority priority) {
        LoopLog log;
        log.start(LoopSettings{mode, 18, 7, 4}, priority, clockAt(24, 5));
        return veltrane::test::joined(loopStatusRows(log),
                                      [](auto& row) { return row.label + row.value + "|"; });
    };
    EXPECT_EQ(rows(LoopMode::Continuous, ThreadPriority::Idle),
              "Run Mode:Continuously|Priority:Very Low priority|Starting At:3/7/2024 at "
              "24.5|Stop At:User Defined|");
    EXPECT_EQ(rows(LoopMode::Repeat, ThreadPriority::Normal),
              "Run Mode:Running 4 Cycles|Priority:Normal priority|Starting At:3/7/2024 at "
              "24.5|Stop At:After 4 Cycles|");
    EXPECT_EQ(rows(LoopMode::StopAtTime, ThreadPriority::TimeCritical),
              "Run Mode:Time - stop mode|Priority:Time Critical priority|Starting At:3/7/2024 at "
              "24.5|Stop At:18.7|");
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
    std::string read;
    for (const std::string& text : std::initializer_list<std::string>{
             "  7 times", "-3", "+4", "abc", "- 3", std::string(29, ' ') + "9",
             std::string(30, ' ') + "9", "99999999999999999999", "-99999999999999999999"}) {
        read += std::to_string(readFieldNumber(text)) + " ";
    }
    EXPECT_EQ(read, "7 -3 4 0 0 9 0 2147483647 -2147483648 ");
}

TEST(LoopStartCheck, RepeatCountsStopTimesAndSlider) {
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
    LoopEntry entry;  // the slider starts at High
    for (const auto priority :
         {ThreadPriority::TimeCritical, ThreadPriority::Normal, ThreadPriority::Idle}) {
        EXPECT_EQ(checkLoopStart(entry, clockAt(1, 0)).priority, priority);
        --entry.sliderPosition;
    }
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
}  // namespace veltrane::burnin

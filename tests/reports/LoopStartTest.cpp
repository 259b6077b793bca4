#include <gtest/gtest.h>

#include "LoopFakes.h"
#include "platform/Format.h"
#include "reports/LoopStart.h"

namespace veltrane::reports {
namespace {

using platform::ThreadPriority;
using test::clockAt;

const std::string kInvalidValue = "Veltrane error: Invalid value (continuous)";
const std::string kBadTime =
    "Veltrane Error: Error: The time format is incorrect or is less than the current time "
    "(continuous)";

LoopEntry entry(LoopMode mode, std::string repeat, std::string hour = "", std::string minute = "") {
    LoopEntry e;
    e.mode = mode;
    e.repeatText = std::move(repeat);
    e.hourText = std::move(hour);
    e.minuteText = std::move(minute);
    return e;
}

LoopEntry stopAt(std::string hour, std::string minute) {
    return entry(LoopMode::StopAtTime, "", std::move(hour), std::move(minute));
}

// What "Start!" decided: the loop, or the message's title and text and the mode it fell back to.
std::string check(const LoopEntry& entry, ClockTime now = clockAt(12, 0)) {
    const auto c = checkLoopStart(entry, now);
    const auto& s = c.settings;
    const std::string mode = s.mode == LoopMode::Continuous ? "continuous"
                             : s.mode == LoopMode::Repeat
                                 ? strprintf("repeat %d", s.repeatCycles)
                                 : strprintf("stop at %d.%d", s.stopHour, s.stopMinute);
    return c.accepted ? mode : c.errorTitle + ": " + c.errorText + " (" + mode + ")";
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

TEST(LoopStartCheck, RepeatCountsAndContinuousMode) {
    EXPECT_EQ(check(entry(LoopMode::Continuous, "-5", "99")), "continuous");  // reads nothing
    EXPECT_EQ(check(entry(LoopMode::Repeat, "3")), "repeat 3");
    EXPECT_EQ(check(entry(LoopMode::Repeat, "ten")), "repeat 0");
    EXPECT_EQ(check(entry(LoopMode::Repeat, "0")), "repeat 0");
    EXPECT_EQ(check(entry(LoopMode::Repeat, "-1")), kInvalidValue);
}

TEST(LoopStartCheck, StopTimes) {
    EXPECT_EQ(check(stopAt("24", "59"), clockAt(12, 30)), "stop at 24.59");
    EXPECT_EQ(check(stopAt("25", "0"), clockAt(12, 30)), kBadTime);
    EXPECT_EQ(check(stopAt("13", "60"), clockAt(12, 30)), kBadTime);
    EXPECT_EQ(check(stopAt("18", "-5")), kBadTime);  // a minute that never comes
    EXPECT_EQ(check(stopAt("14", "59"), clockAt(15, 40)), kBadTime);
    // The minutes are not compared: 15.10 comes round tomorrow.
    EXPECT_EQ(check(stopAt("15", "10"), clockAt(15, 40)), "stop at 15.10");
    EXPECT_EQ(check(stopAt("23", "0"), clockAt(24, 5)), kBadTime);
    EXPECT_EQ(check(stopAt("24", "30"), clockAt(24, 5)), "stop at 24.30");
    EXPECT_EQ(check(stopAt("18", "xx")), "stop at 18.0");
    EXPECT_EQ(check(stopAt("xx", "10")), kBadTime);
}

TEST(LoopStartCheck, SliderGivesThePriority) {
    LoopEntry low, medium, high;
    low.sliderPosition = 0;
    medium.sliderPosition = 1;
    EXPECT_EQ(checkLoopStart(low, clockAt(1, 0)).priority, ThreadPriority::Idle);
    EXPECT_EQ(checkLoopStart(medium, clockAt(1, 0)).priority, ThreadPriority::Normal);
    EXPECT_EQ(checkLoopStart(high, clockAt(1, 0)).priority, ThreadPriority::TimeCritical);
}

}  // namespace
}  // namespace veltrane::reports

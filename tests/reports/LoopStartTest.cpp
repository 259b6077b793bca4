#include <gtest/gtest.h>

#include "LoopFakes.h"
#include "reports/LoopStart.h"

namespace veltrane::reports {
namespace {

using platform::ThreadPriority;
using test::clockAt;

LoopEntry repeatEntry(std::string text) {
    LoopEntry entry;
    entry.mode = LoopMode::Repeat;
    entry.repeatText = std::move(text);
    return entry;
}

LoopEntry stopEntry(std::string hour, std::string minute) {
    LoopEntry entry;
    entry.mode = LoopMode::StopAtTime;
    entry.hourText = std::move(hour);
    entry.minuteText = std::move(minute);
    return entry;
}

TEST(FieldNumbers, ReadLikeAtoi) {
    EXPECT_EQ(readFieldNumber("12"), 12);
    EXPECT_EQ(readFieldNumber("  7 times"), 7);
    EXPECT_EQ(readFieldNumber("-3"), -3);
    EXPECT_EQ(readFieldNumber("+4"), 4);
    EXPECT_EQ(readFieldNumber("abc"), 0);
    EXPECT_EQ(readFieldNumber(""), 0);
    EXPECT_EQ(readFieldNumber("- 3"), 0);
}

TEST(FieldNumbers, OnlyTheFirstThirtyCharactersCount) {
    EXPECT_EQ(readFieldNumber(std::string(29, ' ') + "9"), 9);
    EXPECT_EQ(readFieldNumber(std::string(30, ' ') + "9"), 0);
}

TEST(FieldNumbers, HugeValuesSaturateInsteadOfWrapping) {
    EXPECT_EQ(readFieldNumber("99999999999999999999"), 2147483647);
    EXPECT_EQ(readFieldNumber("-99999999999999999999"), -2147483647 - 1);
}

TEST(LoopStartCheck, ContinuousReadsNothing) {
    LoopEntry entry;
    entry.repeatText = "-5";
    entry.hourText = "99";
    const auto check = checkLoopStart(entry, clockAt(12, 0));
    EXPECT_TRUE(check.accepted);
    EXPECT_EQ(check.settings.mode, LoopMode::Continuous);
}

TEST(LoopStartCheck, RepeatCountIsRead) {
    const auto check = checkLoopStart(repeatEntry("3"), clockAt(12, 0));
    ASSERT_TRUE(check.accepted);
    EXPECT_EQ(check.settings.mode, LoopMode::Repeat);
    EXPECT_EQ(check.settings.repeatCycles, 3);
}

TEST(LoopStartCheck, NegativeRepeatCountIsAnInvalidValue) {
    const auto check = checkLoopStart(repeatEntry("-1"), clockAt(12, 0));
    EXPECT_FALSE(check.accepted);
    EXPECT_EQ(check.errorText, "Invalid value");
    EXPECT_EQ(check.errorTitle, "Veltrane error");
    EXPECT_EQ(check.settings.mode, LoopMode::Continuous);
}

TEST(LoopStartCheck, NonNumericRepeatCountReadsAsZero) {
    const auto check = checkLoopStart(repeatEntry("ten"), clockAt(12, 0));
    ASSERT_TRUE(check.accepted);
    EXPECT_EQ(check.settings.repeatCycles, 0);
}

TEST(LoopStartCheck, StopTimeBoundaries) {
    const auto now = clockAt(12, 30);
    EXPECT_TRUE(checkLoopStart(stopEntry("24", "59"), now).accepted);
    EXPECT_FALSE(checkLoopStart(stopEntry("25", "0"), now).accepted);
    EXPECT_FALSE(checkLoopStart(stopEntry("13", "60"), now).accepted);
}

TEST(LoopStartCheck, BadStopTimeHasItsOwnMessageAndFallsBackToContinuous) {
    const auto check = checkLoopStart(stopEntry("25", "0"), clockAt(12, 0));
    EXPECT_EQ(check.errorText,
              "Error: The time format is incorrect or is less than the current time");
    EXPECT_EQ(check.errorTitle, "Veltrane Error");
    EXPECT_EQ(check.settings.mode, LoopMode::Continuous);
}

TEST(LoopStartCheck, AnHourBeforeNowIsRejectedButTheSameHourIsNot) {
    const auto now = clockAt(15, 40);
    EXPECT_FALSE(checkLoopStart(stopEntry("14", "59"), now).accepted);
    // The minutes are not compared: 15.10 is accepted and comes round tomorrow.
    const auto check = checkLoopStart(stopEntry("15", "10"), now);
    ASSERT_TRUE(check.accepted);
    EXPECT_EQ(check.settings.stopHour, 15);
    EXPECT_EQ(check.settings.stopMinute, 10);
}

TEST(LoopStartCheck, AtTwentyFourHoursOnlyHourTwentyFourPasses) {
    const auto now = clockAt(24, 5);
    EXPECT_FALSE(checkLoopStart(stopEntry("23", "0"), now).accepted);
    EXPECT_TRUE(checkLoopStart(stopEntry("24", "30"), now).accepted);
}

TEST(LoopStartCheck, NonNumericStopTimeReadsAsZero) {
    const auto check = checkLoopStart(stopEntry("18", "xx"), clockAt(12, 0));
    ASSERT_TRUE(check.accepted);
    EXPECT_EQ(check.settings.stopMinute, 0);
    EXPECT_FALSE(checkLoopStart(stopEntry("xx", "10"), clockAt(12, 0)).accepted);
}

TEST(LoopStartCheck, NegativeMinuteIsRejectedBecauseItNeverComes) {
    EXPECT_FALSE(checkLoopStart(stopEntry("18", "-5"), clockAt(12, 0)).accepted);
}

TEST(LoopStartCheck, SliderGivesThePriority) {
    LoopEntry entry;
    entry.sliderPosition = 0;
    EXPECT_EQ(checkLoopStart(entry, clockAt(1, 0)).priority, ThreadPriority::Idle);
    entry.sliderPosition = 1;
    EXPECT_EQ(checkLoopStart(entry, clockAt(1, 0)).priority, ThreadPriority::Normal);
    entry.sliderPosition = 2;
    EXPECT_EQ(checkLoopStart(entry, clockAt(1, 0)).priority, ThreadPriority::TimeCritical);
}

}  // namespace
}  // namespace veltrane::reports

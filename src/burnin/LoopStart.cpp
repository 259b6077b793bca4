#include "burnin/LoopStart.h"

#include <algorithm>
#include <limits>

namespace veltrane::burnin {

namespace {

constexpr std::size_t kFieldChars = 30;
constexpr std::int64_t kMaxValue = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMinValue = std::numeric_limits<std::int32_t>::min();

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

LoopStartCheck refused(const char* text, const char* title) {
    LoopStartCheck check;
    check.settings.mode = LoopMode::Continuous;
    check.errorText = text;
    check.errorTitle = title;
    return check;
}

// A minute below zero can never come round, so such a loop would never end.
bool stopTimeAccepted(std::int32_t hour, std::int32_t minute, const ClockTime& now) {
    return hour <= 24 && minute >= 0 && minute <= 59 && hour >= now.hour;
}

}  // namespace

platform::ThreadPriority priorityForSlider(int position) {
    switch (position) {
        case 0:
            return platform::ThreadPriority::Idle;
        case 1:
            return platform::ThreadPriority::Normal;
        default:
            return platform::ThreadPriority::TimeCritical;
    }
}

std::int32_t readFieldNumber(std::string_view text) {
    text = text.substr(0, std::min(text.size(), kFieldChars));
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min(value * 10 + (text[i] - '0'), kMaxValue + 1);
    }
    value = negative ? -value : value;
    return static_cast<std::int32_t>(std::clamp(value, kMinValue, kMaxValue));
}

LoopStartCheck checkLoopStart(const LoopEntry& entry, const ClockTime& now) {
    LoopStartCheck check;
    check.settings.mode = entry.mode;
    if (entry.mode == LoopMode::Repeat) {
        check.settings.repeatCycles = readFieldNumber(entry.repeatText);
        if (check.settings.repeatCycles < 0) {
            return refused(kInvalidValueText, kInvalidValueTitle);
        }
    } else if (entry.mode == LoopMode::StopAtTime) {
        check.settings.stopMinute = readFieldNumber(entry.minuteText);
        check.settings.stopHour = readFieldNumber(entry.hourText);
        if (!stopTimeAccepted(check.settings.stopHour, check.settings.stopMinute, now)) {
            return refused(kBadStopTimeText, kBadStopTimeTitle);
        }
    }
    check.accepted = true;
    check.priority = priorityForSlider(entry.sliderPosition);
    return check;
}

}  // namespace veltrane::burnin

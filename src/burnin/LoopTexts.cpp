#include "burnin/LoopTexts.h"

#include "platform/Format.h"

namespace veltrane::burnin {

std::string loopStartTimeText(const ClockTime& time) {
    return strprintf("%d/%d/%d at %d.%d", time.month, time.day, time.year, time.hour, time.minute);
}

const char* loopPriorityText(platform::ThreadPriority priority) {
    switch (priority) {
        case platform::ThreadPriority::Idle:
            return "Very Low priority";
        case platform::ThreadPriority::Normal:
            return "Normal priority";
        case platform::ThreadPriority::TimeCritical:
            return "Time Critical priority";
    }
    return "";
}

LoopStatusTexts loopStatusTexts(const LoopSettings& settings, platform::ThreadPriority priority,
                                const ClockTime& start) {
    LoopStatusTexts texts;
    texts.priority = loopPriorityText(priority);
    texts.startingAt = loopStartTimeText(start);
    switch (settings.mode) {
        case LoopMode::Continuous:
            texts.runMode = "Continuously";
            texts.stopAt = "User Defined";
            break;
        case LoopMode::Repeat:
            texts.runMode = strprintf("Running %d Cycles", settings.repeatCycles);
            texts.stopAt = strprintf("After %d Cycles", settings.repeatCycles);
            break;
        case LoopMode::StopAtTime:
            texts.runMode = "Time - stop mode";
            texts.stopAt = strprintf("%d.%d", settings.stopHour, settings.stopMinute);
            break;
    }
    return texts;
}

std::string loopCycleRow(std::int32_t cycle) {
    return strprintf("Loop Cycle %d started", cycle);
}

std::string unitStartRow(const ClockTime& t) {
    return strprintf("Thread start on %d/%d/%d at %d.%d.%d...", t.month, t.day, t.year, t.hour,
                     t.minute, t.second);
}

std::string unitEndRow(const ClockTime& t) {
    return strprintf("Thread end on %d/%d/%d at %d.%d.%d without errors", t.month, t.day, t.year,
                     t.hour, t.minute, t.second);
}

std::string unitFailedRow(const ClockTime& t, std::int64_t failedUnits) {
    return strprintf(
        "Thread end on %d/%d/%d at %d.%d.%d FAILED: wrong result (%lld failed unit%s in this loop)",
        t.month, t.day, t.year, t.hour, t.minute, t.second, static_cast<long long>(failedUnits),
        failedUnits == 1 ? "" : "s");
}

}  // namespace veltrane::burnin

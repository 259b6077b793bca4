#pragma once

#include <functional>
#include <vector>

#include "burnin/LoopClock.h"
#include "burnin/LoopLog.h"
#include "burnin/LoopNotices.h"
#include "burnin/LoopUnit.h"

namespace veltrane::burnin::test {

inline ClockTime clockAt(std::int32_t hour, std::int32_t minute, std::int32_t second = 0) {
    return ClockTime{2024, 3, 7, hour, minute, second};
}

// Changed only from the loop thread or while no loop runs.
struct FakeLoopClock : LoopClock {
    explicit FakeLoopClock(ClockTime start) : time(start) {}
    ClockTime now() override { return time; }
    ClockTime time;
};

// Keeps the log like the window would and records every notice in order; `onNotice`
// acts on one from the loop thread. Read the notices only once the loop has ended.
class RecordingLoopSink : public LoopLogSink {
public:
    using LoopLogSink::LoopLogSink;
    void send(LoopNotice notice, std::int64_t wParam, std::int64_t lParam) override {
        LoopLogSink::send(notice, wParam, lParam);
        notices.push_back(notice);
        if (onNotice) {
            onNotice(notice);
        }
    }

    std::vector<LoopNotice> notices;
    std::function<void(LoopNotice)> onNotice;  // set before the loop starts
};

// Ten ticks over twenty passes: the unit's shape at a size tests can run.
inline constexpr LoopUnitShape kSmallLoopUnit{20, 2};
LoopUnitFn smallLoopUnit();

}  // namespace veltrane::burnin::test

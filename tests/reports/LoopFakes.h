#pragma once

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "reports/LoopClock.h"
#include "reports/LoopLog.h"
#include "reports/LoopNotices.h"
#include "reports/LoopUnit.h"

namespace veltrane::reports::test {

class FakeLoopClock : public LoopClock {
public:
    explicit FakeLoopClock(ClockTime time) : time_(time) {}
    ClockTime now() override {
        std::lock_guard lock(mutex_);
        return time_;
    }
    void set(ClockTime time) {
        std::lock_guard lock(mutex_);
        time_ = time;
    }

private:
    std::mutex mutex_;
    ClockTime time_;
};

inline ClockTime clockAt(std::int32_t hour, std::int32_t minute, std::int32_t second = 0) {
    return ClockTime{2024, 3, 7, hour, minute, second};
}

// Keeps the log like the window would and records every notice in order; a
// test may act on a notice from the loop thread through `onNotice`.
class RecordingLoopSink : public LoopLogSink {
public:
    using LoopLogSink::LoopLogSink;
    void send(LoopNotice notice, std::int64_t wParam, std::int64_t lParam) override {
        LoopLogSink::send(notice, wParam, lParam);
        {
            std::lock_guard lock(mutex_);
            notices_.push_back(notice);
        }
        if (onNotice) {
            onNotice(notice);
        }
    }
    void loopFinished() override {
        LoopLogSink::loopFinished();
        std::lock_guard lock(mutex_);
        ++finishedCalls_;
    }
    std::vector<LoopNotice> notices() const {
        std::lock_guard lock(mutex_);
        return notices_;
    }
    int finishedCalls() const {
        std::lock_guard lock(mutex_);
        return finishedCalls_;
    }

    // Set before the loop starts.
    std::function<void(LoopNotice)> onNotice;

private:
    mutable std::mutex mutex_;
    std::vector<LoopNotice> notices_;
    int finishedCalls_ = 0;
};

// Ten ticks over twenty passes: the unit's shape at a size tests can run.
inline constexpr LoopUnitShape kSmallLoopUnit{20, 2};
LoopUnitFn smallLoopUnit();

}  // namespace veltrane::reports::test

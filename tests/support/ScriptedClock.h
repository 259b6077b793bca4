#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/Tick.h"

namespace veltrane::test {

// The benchmark's clock while the object lives. Every thread has a timeline
// of its own starting at 0: a millisecond reading returns the time and then
// moves it on by a second; a sleep moves it on by its length and is
// remembered; second readings come in start/end pairs, the n-th pair
// spanning kSpans[n % 4]. So every time a test measures is exact.
class ScriptedClock final : public platform::BenchClock {
public:
    ScriptedClock() { platform::installClock(this); }
    ~ScriptedClock() override { platform::installClock(nullptr); }
    ScriptedClock(const ScriptedClock&) = delete;
    ScriptedClock& operator=(const ScriptedClock&) = delete;

    std::uint32_t milliseconds() override {
        std::lock_guard lock(mutex_);
        Timeline& t = timeline();
        const std::uint32_t now = t.ms;
        t.ms += kStepMs;
        return now;
    }

    double seconds() override {
        std::lock_guard lock(mutex_);
        Timeline& t = timeline();
        const double now = t.seconds;
        if (t.secondReadings++ % 2 == 0) {
            t.seconds += kSpans[(t.secondReadings / 2) % std::size(kSpans)];
        }
        return now;
    }

    void sleep(std::uint32_t ms) override {
        std::lock_guard lock(mutex_);
        Timeline& t = timeline();
        t.ms += ms;
        t.sleeps.push_back(ms);
    }

    // The pauses of every thread that used the clock, in the order each began.
    std::vector<std::vector<std::uint32_t>> sleeps() const {
        std::lock_guard lock(mutex_);
        std::vector<std::vector<std::uint32_t>> all;
        for (const auto& id : order_) {
            all.push_back(timelines_.at(id).sleeps);
        }
        return all;
    }

private:
    struct Timeline {
        std::uint32_t ms = 0;
        double seconds = 0;
        std::uint64_t secondReadings = 0;
        std::vector<std::uint32_t> sleeps;
    };

    Timeline& timeline() {
        const auto id = std::this_thread::get_id();
        if (timelines_.find(id) == timelines_.end()) {
            order_.push_back(id);
        }
        return timelines_[id];
    }

    static constexpr std::uint32_t kStepMs = 1000;
    static constexpr double kSpans[] = {0.001, 0.002, 0.004, 0.008};
    mutable std::mutex mutex_;
    std::map<std::thread::id, Timeline> timelines_;
    std::vector<std::thread::id> order_;
};

}  // namespace veltrane::test

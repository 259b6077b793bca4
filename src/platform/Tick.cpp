#include "platform/Tick.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace veltrane::platform {

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point programStart() {
    static const Clock::time_point start = Clock::now();
    return start;
}

// Fixes the origin while statics are initialised, before main runs.
const Clock::time_point originAtLoad = programStart();

std::atomic<BenchClock*> installedClock{nullptr};

BenchClock* scripted() {
    return installedClock.load(std::memory_order_acquire);
}

class SystemTickSource final : public TickSource {
public:
    std::uint32_t now() override { return timeGetTime(); }
};

}  // namespace

std::uint32_t timeGetTime() {
    if (BenchClock* clock = scripted()) {
        return clock->milliseconds();
    }
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - programStart());
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(elapsed.count()));
}

double preciseSeconds() {
    if (BenchClock* clock = scripted()) {
        return clock->seconds();
    }
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - programStart());
    return static_cast<double>(elapsed.count()) * 1e-6;
}

void sleepMs(std::uint32_t milliseconds) {
    if (BenchClock* clock = scripted()) {
        clock->sleep(milliseconds);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void installClock(BenchClock* clock) {
    installedClock.store(clock, std::memory_order_release);
}

TickSource& systemTicks() {
    static SystemTickSource ticks;
    return ticks;
}

}  // namespace veltrane::platform

#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "platform/Tick.h"

namespace veltrane::ident {

class ProcessorIdentity;

// The processor clock, measured once per process by the clock thread and
// read by anyone; readers see 0 MHz and no rating until it is done.
class ClockState {
public:
    bool measured() const { return measured_.load(std::memory_order_acquire); }
    float clockMHz() const { return clockMHz_.load(std::memory_order_acquire); }
    std::string ratingText() const { return measured() ? ratingText_ : std::string(); }

    // True for the one caller that gets to measure.
    bool claim() { return !claimed_.exchange(true); }
    void publish(float clockMHz, std::string ratingText);

private:
    std::atomic<bool> claimed_{false};
    std::atomic<bool> measured_{false};
    std::atomic<float> clockMHz_{0.0f};
    std::string ratingText_;  // written once, before measured_ is set
};

ClockState& clockState();

// Counts time-stamp-counter ticks over a window of a little more than two
// seconds of the millisecond tick, busy waiting so the edges are sharp.
// Does nothing once the clock has been measured.
void measureClock(const ProcessorIdentity& identity, ClockState& state = clockState(),
                  platform::TickSource& ticks = platform::systemTicks());

// MHz from a counter difference over the window actually measured.
float clockFromCounter(std::uint64_t counterTicks, std::uint32_t windowMs);

// Starts measureClock on a time-critical thread of its own; the identity is
// copied, so the caller's may go away.
std::thread startClockMeasurement(const ProcessorIdentity& identity,
                                  ClockState& state = clockState());

}  // namespace veltrane::ident

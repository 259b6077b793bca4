#pragma once

#include <cstdint>

namespace veltrane::platform {

// Milliseconds since program start as a 32-bit count. Counting from start
// rather than from boot keeps a single-precision reading exact for hours.
std::uint32_t timeGetTime();

void sleepMs(std::uint32_t milliseconds);

// Seconds on the same monotonic clock, to the microsecond, for intervals too
// short for the millisecond tick.
double preciseSeconds();

// The millisecond tick behind an interface, for code whose timing tests
// must script.
class TickSource {
public:
    virtual ~TickSource() = default;
    virtual std::uint32_t now() = 0;
};

TickSource& systemTicks();

// Where timeGetTime, preciseSeconds and sleepMs take their time from. Tests
// install a scripted clock, so the times, corrections and pauses of a run
// become exact numbers; nothing else ever installs one.
class BenchClock {
public:
    virtual ~BenchClock() = default;
    virtual std::uint32_t milliseconds() = 0;
    virtual double seconds() = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
};

// nullptr goes back to the system's clock.
void installClock(BenchClock* clock);

}  // namespace veltrane::platform

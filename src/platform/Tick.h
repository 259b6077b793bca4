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

}  // namespace veltrane::platform

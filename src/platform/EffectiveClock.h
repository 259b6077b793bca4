#pragma once

#include <cstdint>

namespace veltrane::platform {

// Core cycles spent against time-stamp counter ticks over one sample.
struct ClockSample {
    std::uint64_t cycles = 0;
    std::uint64_t tscTicks = 0;
};

// A chain of dependent additions, one core cycle each on every x86-64 core,
// `iterations` times eight of them, timed with the time-stamp counter.
ClockSample sampleDependentAdds(std::uint64_t iterations);

// The core's clock in MHz from a sample, given the counter's rate.
double effectiveMHz(const ClockSample& sample, double tscMHz);

// The core's clock right now: the fastest of three short samples (about a
// millisecond each), so an interruption does not read as a slow core.
double effectiveClockMHz(double tscMHz);

}  // namespace veltrane::platform

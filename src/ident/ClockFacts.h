#pragma once

#include <string>
#include <vector>

#include "ident/ExtendedCpuPage.h"
#include "platform/CpuProbe.h"
#include "platform/ModelSpecificRegisters.h"

namespace veltrane::ident {

inline constexpr const char* kClocksHeading = "Clocks";

// The processor's clocks as today's processors have them: the time-stamp
// counter ticks at one fixed rate while each core runs at its own, higher
// when boosting and lower when idle or throttled.
struct ClockFacts {
    float counterMHz = 0;                      // the counter's measured rate; 0 when not measured
    double effectiveMHz = 0;                   // from a chain of dependent additions
    double busyCountersMHz = 0;                // from APERF/MPERF; 0 when unreadable
    std::string busyCountersWhy;               // why they could not be read
    std::string notMeasured = "not measured";  // why nothing was measured ("--no-clock")
};

// The effective clock and, where readable, the busy counters' clock, on the
// processor this thread runs on, against the counter's measured rate.
ClockFacts measureClockFacts(float counterMHz,
                             const platform::MsrSource& msr = platform::nativeMsrSource());

// The clocks of `probe`'s processor: measured only for the processor this
// program runs on, and not when `skipped` names why not ("--no-clock").
ClockFacts clockFactsOf(const platform::CpuProbe& probe, float counterMHz,
                        const std::string& skipped = {});

// "Counter rate:", "Effective clock:" and "APERF/MPERF:", each saying how it
// was found.
std::vector<LabelledValue> clockRows(const ClockFacts& clocks);

}  // namespace veltrane::ident

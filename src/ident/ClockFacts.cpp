#include "ident/ClockFacts.h"

#include "platform/EffectiveClock.h"
#include "platform/Format.h"

namespace veltrane::ident {

namespace {

// About a millisecond of dependent additions between the counter reads.
void busyWork() {
    platform::sampleDependentAdds(1u << 18);
}

std::string mhz(double value) {
    return strprintf("%.0f MHz", value);
}

}  // namespace

ClockFacts measureClockFacts(float counterMHz, const platform::MsrSource& msr) {
    ClockFacts clocks;
    clocks.counterMHz = counterMHz;
    if (counterMHz <= 0) {
        clocks.notMeasured = "the counter's rate is not known";
        return clocks;
    }
    clocks.notMeasured.clear();
    clocks.effectiveMHz = platform::effectiveClockMHz(counterMHz);
    clocks.busyCountersMHz =
        platform::busyCountersMHz(msr, counterMHz, &busyWork, clocks.busyCountersWhy);
    return clocks;
}

ClockFacts clockFactsOf(const platform::CpuProbe& probe, float counterMHz,
                        const std::string& skipped) {
    if (!platform::readsThisProcessor(probe)) {
        ClockFacts clocks;
        clocks.notMeasured = "a recorded processor";
        return clocks;
    }
    if (!skipped.empty()) {
        ClockFacts clocks;
        clocks.notMeasured = skipped;
        return clocks;
    }
    return measureClockFacts(counterMHz);
}

std::vector<LabelledValue> clockRows(const ClockFacts& clocks) {
    if (!clocks.notMeasured.empty()) {
        const std::string value = "not measured (" + clocks.notMeasured + ")";
        return {{"Counter rate:", value}, {"Effective clock:", value}, {"APERF/MPERF:", value}};
    }
    const std::string busy =
        clocks.busyCountersMHz > 0
            ? mhz(clocks.busyCountersMHz) + " (busy cycles over reference cycles)"
            : "not readable (" + clocks.busyCountersWhy + ")";
    return {
        {"Counter rate:",
         strprintf("%.1f MHz (the time-stamp counter, measured; not the cores' clock)",
                   static_cast<double>(clocks.counterMHz))},
        {"Effective clock:",
         mhz(clocks.effectiveMHz) + " (dependent additions, one cycle each, timed by the counter)"},
        {"APERF/MPERF:", busy},
    };
}

}  // namespace veltrane::ident

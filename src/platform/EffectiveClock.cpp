#include "platform/EffectiveClock.h"

#include <x86intrin.h>

#include <algorithm>

namespace veltrane::platform {

namespace {

constexpr std::uint64_t kAddsPerIteration = 8;
constexpr std::uint64_t kSampleIterations = 1u << 18;

}  // namespace

ClockSample sampleDependentAdds(std::uint64_t iterations) {
    std::uint64_t chain = 0;
    const std::uint64_t one = 1;
    _mm_lfence();
    const std::uint64_t start = __rdtsc();
    _mm_lfence();
    for (std::uint64_t i = 0; i < iterations; ++i) {
        // Each addition waits for the one before: the chain's length in cycles.
        // The addend is a register: some cores fold additions of a constant
        // into the renamer and would run the chain several times too fast.
        asm volatile(
            "add %1, %0\n\tadd %1, %0\n\tadd %1, %0\n\tadd %1, %0\n\t"
            "add %1, %0\n\tadd %1, %0\n\tadd %1, %0\n\tadd %1, %0"
            : "+r"(chain)
            : "r"(one));
    }
    _mm_lfence();
    const std::uint64_t end = __rdtsc();
    return {iterations * kAddsPerIteration, end - start};
}

double effectiveMHz(const ClockSample& sample, double tscMHz) {
    if (sample.tscTicks == 0 || tscMHz <= 0) {
        return 0;
    }
    return static_cast<double>(sample.cycles) / static_cast<double>(sample.tscTicks) * tscMHz;
}

double effectiveClockMHz(double tscMHz) {
    double fastest = 0;
    for (int sample = 0; sample < 3; ++sample) {
        fastest = std::max(fastest, effectiveMHz(sampleDependentAdds(kSampleIterations), tscMHz));
    }
    return fastest;
}

}  // namespace veltrane::platform

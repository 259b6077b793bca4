// The ladder's rungs, one instance of test 7's Triad kernel per array size.
// Built with the fixed flags of the timed routines.
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <new>
#include <utility>

#include "engine/MemoryLadder.h"
#include "engine/StreamBenchmarkImpl.h"

namespace veltrane::engine {

namespace {

// A rung's three arrays, laid out as test 7's are, so the kernel addresses
// them the same way. Allocated on the heap for the rung only: the largest
// would be gigabytes of static storage otherwise.
template <std::size_t Doubles>
struct LadderArrays {
    static_assert(Doubles % 40 == 0, "whole loop iterations and 64-byte-aligned arrays");
    static constexpr std::size_t kDoubles = Doubles;
    alignas(64) double fpuA[Doubles];
    alignas(64) double fpuB[Doubles];
    alignas(64) double fpuC[Doubles];
};

// Test 7's own form of the kernel.
constexpr StreamShape kTriadShape = kFullSuite.stream;

template <std::size_t Doubles>
double timeBatch(LadderArrays<Doubles>& arrays, int repetitions) {
    const double start = platform::preciseSeconds();
    for (int r = 0; r < repetitions; ++r) {
        stream_detail::fpuTriad<kTriadShape, LadderArrays<Doubles>>(arrays);
    }
    return platform::preciseSeconds() - start;
}

// Doubles the repetitions until a batch takes a quarter of the wanted time,
// then scales them to the whole of it.
template <std::size_t Doubles>
int calibrate(LadderArrays<Doubles>& arrays, double batchSeconds) {
    constexpr int kMaxRepetitions = 1 << 24;
    int repetitions = 1;
    double seconds = timeBatch(arrays, repetitions);
    while (seconds < batchSeconds / 4 && repetitions < kMaxRepetitions) {
        repetitions *= 2;
        seconds = timeBatch(arrays, repetitions);
    }
    const double wanted = std::ceil(repetitions * batchSeconds / std::max(seconds, 1e-9));
    return static_cast<int>(std::clamp(wanted, 1.0, static_cast<double>(kMaxRepetitions)));
}

template <std::size_t Doubles>
RungMeasure measure(const LadderTiming& timing, const std::atomic<bool>& cancel) {
    RungMeasure result;
    std::unique_ptr<LadderArrays<Doubles>> arrays(new (std::nothrow) LadderArrays<Doubles>);
    if (!arrays) {
        result.outOfMemory = true;
        return result;
    }
    stream_detail::fill(arrays->fpuA, kLadderA);
    stream_detail::fill(arrays->fpuB, kLadderB);
    stream_detail::fill(arrays->fpuC, kLadderC);
    result.repetitions = calibrate(*arrays, timing.batchSeconds);
    for (int batch = 0; batch < timing.batches; ++batch) {
        if (cancel.load()) {
            result.cancelled = true;
            return result;
        }
        const double seconds = timeBatch(*arrays, result.repetitions);
        result.bestSeconds = batch == 0 ? seconds : std::min(result.bestSeconds, seconds);
    }
    result.check = checkTriadArrays(arrays->fpuA, arrays->fpuB, arrays->fpuC, Doubles);
    return result;
}

using Measure = RungMeasure (*)(const LadderTiming&, const std::atomic<bool>&);

template <int... K>
constexpr std::array<Measure, sizeof...(K)> measures(std::integer_sequence<int, K...>) {
    return {&measure<kRungBaseDoubles << (K + kFirstRungExponent)>...};
}

constexpr auto kMeasures =
    measures(std::make_integer_sequence<int, kLastRungExponent - kFirstRungExponent + 1>{});

}  // namespace

RungMeasure measureRung(int exponent, const LadderTiming& timing, const std::atomic<bool>& cancel) {
    const int index = exponent - kFirstRungExponent;
    if (index < 0 || index >= static_cast<int>(kMeasures.size())) {
        RungMeasure none;
        none.check = checkFailed("no rung of that size");
        return none;
    }
    return kMeasures[static_cast<std::size_t>(index)](timing, cancel);
}

}  // namespace veltrane::engine

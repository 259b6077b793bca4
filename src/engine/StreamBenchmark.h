#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/BenchResult.h"
#include "engine/TestShapes.h"

namespace veltrane::engine {

// The six arrays of the memory tests, back to back, each on a 64-byte
// boundary: three of doubles, then three of 32-bit integers of the same size.
template <std::size_t Doubles>
struct StreamArrays {
    static_assert(Doubles % 10 == 0 && Doubles % 8 == 0,
                  "whole loop iterations and back-to-back 64-byte-aligned arrays");
    static constexpr std::size_t kDoubles = Doubles;
    static constexpr std::size_t kInts = 2 * Doubles;

    alignas(64) double fpuA[Doubles];
    alignas(64) double fpuB[Doubles];
    alignas(64) double fpuC[Doubles];
    alignas(64) std::uint32_t aluA[kInts];
    alignas(64) std::uint32_t aluB[kInts];
    alignas(64) std::uint32_t aluC[kInts];
};

// One zero-initialised static set per size, for the life of the process.
template <std::size_t Doubles>
StreamArrays<Doubles>& streamArrays() {
    static StreamArrays<Doubles> arrays;
    return arrays;
}

// The four rates of one test and their mean, in MB/s.
struct StreamRates {
    double assign = 0;
    double scale = 0;
    double add = 0;
    double triad = 0;
    double result = 0;
};

// Rates from the summed kernel times of a test of `doubles` elements per
// array and `passes` passes. A sum of zero counts as one millisecond.
StreamRates streamRates(const double sums[4], std::size_t doubles, int passes);

// Each rate into its own field of the record, rounded to single precision.
void storeAluRates(BenchResult& record, const StreamRates& rates);
void storeFpuRates(BenchResult& record, const StreamRates& rates);

template <StreamShape S = StreamShape{}>
void StreamAluBenchmark(BenchResult& record,
                        StreamArrays<S.doubles>& arrays = streamArrays<S.doubles>());

template <StreamShape S = StreamShape{}>
void StreamFpuBenchmark(BenchResult& record,
                        StreamArrays<S.doubles>& arrays = streamArrays<S.doubles>());

}  // namespace veltrane::engine

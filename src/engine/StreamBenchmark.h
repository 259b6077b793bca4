#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/BenchResult.h"
#include "engine/TestShapes.h"

namespace veltrane::engine {

// The six arrays of the memory tests, back to back, each on a 64-byte
// boundary: three of doubles, then three of 32-bit integers of the same size.
// Each suite has its own set.
template <std::size_t Doubles, int Set = 0>
struct StreamArrays {
    static_assert(Doubles % 40 == 0,
                  "whole loop iterations of every form and 64-byte-aligned arrays");
    static constexpr std::size_t kDoubles = Doubles;
    static constexpr std::size_t kInts = 2 * Doubles;

    alignas(64) double fpuA[Doubles];
    alignas(64) double fpuB[Doubles];
    alignas(64) double fpuC[Doubles];
    alignas(64) std::uint32_t aluA[kInts];
    alignas(64) std::uint32_t aluB[kInts];
    alignas(64) std::uint32_t aluC[kInts];
};

// One zero-initialised static set per size and suite, for the life of the
// process; its pages stay untouched until a test of that suite runs.
template <std::size_t Doubles, int Set = 0>
StreamArrays<Doubles, Set>& streamArrays() {
    static StreamArrays<Doubles, Set> arrays;
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

// The optimised forms' way to the same figures: each kernel's bytes from a
// table, x 1e-6 x passes / time.
StreamRates streamRatesFromByteTable(const double sums[4], std::size_t doubles, int passes);

// Each rate into its own field of the record, rounded to single precision.
void storeAluRates(BenchResult& record, const StreamRates& rates);
void storeFpuRates(BenchResult& record, const StreamRates& rates);

template <StreamShape S>
using StreamArraysFor = StreamArrays<S.doubles, S.arraySet>;

template <StreamShape S = StreamShape{}>
void StreamAluBenchmark(BenchResult& record,
                        StreamArraysFor<S>& arrays = streamArrays<S.doubles, S.arraySet>());

template <StreamShape S = StreamShape{}>
void StreamFpuBenchmark(BenchResult& record,
                        StreamArraysFor<S>& arrays = streamArrays<S.doubles, S.arraySet>());

}  // namespace veltrane::engine

#pragma once
// Definitions of the timed templates; included only by files built with the
// fixed flags of the timed routines.

#include <xmmintrin.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "engine/Progress.h"
#include "engine/SelfCheck.h"
#include "engine/StreamBenchmark.h"
#include "platform/Tick.h"

namespace veltrane::engine {

namespace stream_detail {

constexpr std::uintptr_t kPrefetchAhead = 128;  // bytes beyond the iteration's first element

// The address a prefetch names; it may lie past the array's end, which a
// prefetch may name without touching it.
inline const char* ahead(const void* p) {
    return reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(p) + kPrefetchAhead);
}

// The prefetches of one iteration, before its loads: the SSE forms name every
// array with prefetcht1; the 3DNow! forms use prefetchw on the array written
// and prefetch on each one read.
template <Prefetch P>
inline void prefetchWritten(const void* p) {
    if constexpr (P == Prefetch::T1) {
        _mm_prefetch(ahead(p), _MM_HINT_T1);
    } else if constexpr (P == Prefetch::ThreeDNow) {
        asm volatile("prefetchw %0" : : "m"(*ahead(p)));
    }
}

template <Prefetch P>
inline void prefetchRead(const void* p) {
    if constexpr (P == Prefetch::T1) {
        _mm_prefetch(ahead(p), _MM_HINT_T1);
    } else if constexpr (P == Prefetch::ThreeDNow) {
        asm volatile("prefetch %0" : : "m"(*ahead(p)));
    }
}

// One pass of a kernel over `Count` elements, `Per` of them an iteration,
// each iteration's prefetches before its loads; `element(j)` computes one.
template <StreamShape S, int Per, std::size_t Count, typename T, typename Element, typename... Read>
inline void kernelPass(const T* written, Element element, const Read*... read) {
    constexpr auto per = static_cast<std::size_t>(Per);
    for (std::size_t i = 0; i < Count; i += per) {
        prefetchWritten<S.prefetch>(&written[i]);
        (prefetchRead<S.prefetch>(&read[i]), ...);
#pragma GCC unroll 16
        for (std::size_t k = 0; k < per; ++k) {
            element(i + k);
        }
    }
}

// Integer kernels, arithmetic modulo 2^32.
template <StreamShape S, typename Arrays>
[[gnu::noinline]] void aluAssign(Arrays& s) {
    kernelPass<S, S.aluPerIteration, Arrays::kInts>(
        s.aluA, [&s](std::size_t j) { s.aluA[j] = s.aluC[j]; }, s.aluC);
}

template <StreamShape S, typename Arrays>
[[gnu::noinline]] void aluScale(Arrays& s) {
    kernelPass<S, S.aluPerIteration, Arrays::kInts>(
        s.aluB, [&s](std::size_t j) { s.aluB[j] = 3u * s.aluB[j]; });
}

template <StreamShape S, typename Arrays>
[[gnu::noinline]] void aluAdd(Arrays& s) {
    kernelPass<S, S.aluPerIteration, Arrays::kInts>(
        s.aluA, [&s](std::size_t j) { s.aluA[j] = s.aluB[j] + s.aluC[j]; }, s.aluB, s.aluC);
}

template <StreamShape S, typename Arrays>
[[gnu::noinline]] void aluTriad(Arrays& s) {
    kernelPass<S, S.aluPerIteration, Arrays::kInts>(
        s.aluC, [&s](std::size_t j) { s.aluC[j] = 3u * s.aluA[j] + s.aluB[j]; }, s.aluA, s.aluB);
}

// One double copied: as raw bits through an integer register (standard
// form), or loaded and stored by the x87 (optimised forms).
template <bool X87>
inline void copyDouble(double& to, const double& from) {
    if constexpr (X87) {
        asm("fldl %1\n\tfstpl %0" : "=m"(to) : "m"(from));
    } else {
        std::uint64_t bits;
        std::memcpy(&bits, &from, sizeof bits);
        std::memcpy(&to, &bits, sizeof bits);
    }
}

// Double kernels.
template <StreamShape S, typename Arrays>
[[gnu::noinline]] void fpuAssign(Arrays& s) {
    kernelPass<S, S.fpuPerIteration, Arrays::kDoubles>(
        s.fpuA, [&s](std::size_t j) { copyDouble<S.x87Assign>(s.fpuA[j], s.fpuC[j]); }, s.fpuC);
}

template <StreamShape S, typename Arrays>
[[gnu::noinline]] void fpuScale(Arrays& s) {
    kernelPass<S, S.fpuPerIteration, Arrays::kDoubles>(
        s.fpuB, [&s](std::size_t j) { s.fpuB[j] = 3.0 * s.fpuB[j]; });
}

template <StreamShape S, typename Arrays>
[[gnu::noinline]] void fpuAdd(Arrays& s) {
    kernelPass<S, S.fpuPerIteration, Arrays::kDoubles>(
        s.fpuA, [&s](std::size_t j) { s.fpuA[j] = s.fpuB[j] + s.fpuC[j]; }, s.fpuB, s.fpuC);
}

template <StreamShape S, typename Arrays>
[[gnu::noinline]] void fpuTriad(Arrays& s) {
    kernelPass<S, S.fpuPerIteration, Arrays::kDoubles>(
        s.fpuC, [&s](std::size_t j) { s.fpuC[j] = 3.0 * s.fpuA[j] + s.fpuB[j]; }, s.fpuA, s.fpuB);
}

template <typename Value, std::size_t Count>
void fill(Value (&array)[Count], Value value) {
    for (auto& element : array) {
        element = value;
    }
}

// Runs the passes, timing each kernel alone, and returns the four sums of
// kernel times in execution order (Assign, Scale, Add, Triad).
template <StreamShape S, typename Arrays, typename... Kernels>
std::array<double, 4> timePasses(const BenchResult& record, Arrays& arrays, Kernels... kernels) {
    // one elapsed time per kernel per pass
    std::array<std::array<double, static_cast<std::size_t>(S.passes)>, 4> times{};
    const ProgressCheck<S.remainder, S.tickEvery> check;
    for (int pass = 0; pass < S.passes; ++pass) {
        std::size_t k = 0;
        for (auto kernel : {kernels...}) {
            const double start = platform::preciseSeconds();
            kernel(arrays);
            times[k++][static_cast<std::size_t>(pass)] = platform::preciseSeconds() - start;
        }
        if (check.due(pass)) {
            sendTick(record, S.tickParam);
        }
    }
    std::array<double, 4> sums{};
    for (std::size_t k = 0; k < 4; ++k) {
        for (const double t : times[k]) {
            sums[k] += t;
        }
    }
    return sums;
}

template <StreamShape S>
StreamRates rates(const std::array<double, 4>& sums) {
    if constexpr (S.byteTableRates) {
        return streamRatesFromByteTable(sums.data(), S.doubles, S.passes);
    } else {
        return streamRates(sums.data(), S.doubles, S.passes);
    }
}

}  // namespace stream_detail

template <StreamShape S>
void StreamAluBenchmark(BenchResult& record, StreamArraysFor<S>& arrays) {
    using Arrays = StreamArraysFor<S>;
    platform::sleepMs(S.settleMs);
    stream_detail::fill(arrays.aluA, 0u);
    stream_detail::fill(arrays.aluB, 2u);
    stream_detail::fill(arrays.aluC, 1u);
    const auto sums = stream_detail::timePasses<S>(
        record, arrays, &stream_detail::aluAssign<S, Arrays>, &stream_detail::aluScale<S, Arrays>,
        &stream_detail::aluAdd<S, Arrays>, &stream_detail::aluTriad<S, Arrays>);
    if (checkInputDamaged(6)) {
        arrays.aluB[Arrays::kInts / 2] ^= 1u;
    }
    record.checks[5] =
        checkAluArrays(arrays.aluA, arrays.aluB, arrays.aluC, Arrays::kInts, S.passes);
    storeAluRates(record, stream_detail::rates<S>(sums));
}

template <StreamShape S>
void StreamFpuBenchmark(BenchResult& record, StreamArraysFor<S>& arrays) {
    using Arrays = StreamArraysFor<S>;
    platform::sleepMs(S.settleMs);
    stream_detail::fill(arrays.fpuA, 0.0);
    stream_detail::fill(arrays.fpuB, 2.0);
    stream_detail::fill(arrays.fpuC, 1.0);
    const auto sums = stream_detail::timePasses<S>(
        record, arrays, &stream_detail::fpuAssign<S, Arrays>, &stream_detail::fpuScale<S, Arrays>,
        &stream_detail::fpuAdd<S, Arrays>, &stream_detail::fpuTriad<S, Arrays>);
    if (checkInputDamaged(7)) {
        arrays.fpuC[Arrays::kDoubles - 1] *= 1.0 + 1e-12;
    }
    record.checks[6] =
        checkFpuArrays(arrays.fpuA, arrays.fpuB, arrays.fpuC, Arrays::kDoubles, S.passes);
    storeFpuRates(record, stream_detail::rates<S>(sums));
}

}  // namespace veltrane::engine

#pragma once
// Definitions of the timed templates; included only by files built with the
// fixed flags of the timed routines.

#include <xmmintrin.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "engine/Progress.h"
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

// Integer kernels, arithmetic modulo 2^32, as many elements per iteration
// as the form sets.
template <StreamShape S, typename Arrays>
[[gnu::noinline]] void aluAssign(Arrays& s) {
    constexpr auto per = static_cast<std::size_t>(S.aluPerIteration);
    for (std::size_t i = 0; i < Arrays::kInts; i += per) {
        prefetchWritten<S.prefetch>(&s.aluA[i]);
        prefetchRead<S.prefetch>(&s.aluC[i]);
#pragma GCC unroll 16
        for (std::size_t k = 0; k < per; ++k) {
            s.aluA[i + k] = s.aluC[i + k];
        }
    }
}

template <StreamShape S, typename Arrays>
[[gnu::noinline]] void aluScale(Arrays& s) {
    constexpr auto per = static_cast<std::size_t>(S.aluPerIteration);
    for (std::size_t i = 0; i < Arrays::kInts; i += per) {
        prefetchWritten<S.prefetch>(&s.aluB[i]);
#pragma GCC unroll 16
        for (std::size_t k = 0; k < per; ++k) {
            s.aluB[i + k] = 3u * s.aluB[i + k];
        }
    }
}

template <StreamShape S, typename Arrays>
[[gnu::noinline]] void aluAdd(Arrays& s) {
    constexpr auto per = static_cast<std::size_t>(S.aluPerIteration);
    for (std::size_t i = 0; i < Arrays::kInts; i += per) {
        prefetchWritten<S.prefetch>(&s.aluA[i]);
        prefetchRead<S.prefetch>(&s.aluB[i]);
        prefetchRead<S.prefetch>(&s.aluC[i]);
#pragma GCC unroll 16
        for (std::size_t k = 0; k < per; ++k) {
            s.aluA[i + k] = s.aluB[i + k] + s.aluC[i + k];
        }
    }
}

template <StreamShape S, typename Arrays>
[[gnu::noinline]] void aluTriad(Arrays& s) {
    constexpr auto per = static_cast<std::size_t>(S.aluPerIteration);
    for (std::size_t i = 0; i < Arrays::kInts; i += per) {
        prefetchWritten<S.prefetch>(&s.aluC[i]);
        prefetchRead<S.prefetch>(&s.aluA[i]);
        prefetchRead<S.prefetch>(&s.aluB[i]);
#pragma GCC unroll 16
        for (std::size_t k = 0; k < per; ++k) {
            s.aluC[i + k] = 3u * s.aluA[i + k] + s.aluB[i + k];
        }
    }
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
    constexpr auto per = static_cast<std::size_t>(S.fpuPerIteration);
    for (std::size_t i = 0; i < Arrays::kDoubles; i += per) {
        prefetchWritten<S.prefetch>(&s.fpuA[i]);
        prefetchRead<S.prefetch>(&s.fpuC[i]);
#pragma GCC unroll 16
        for (std::size_t k = 0; k < per; ++k) {
            copyDouble<S.x87Assign>(s.fpuA[i + k], s.fpuC[i + k]);
        }
    }
}

template <StreamShape S, typename Arrays>
[[gnu::noinline]] void fpuScale(Arrays& s) {
    constexpr auto per = static_cast<std::size_t>(S.fpuPerIteration);
    for (std::size_t i = 0; i < Arrays::kDoubles; i += per) {
        prefetchWritten<S.prefetch>(&s.fpuB[i]);
#pragma GCC unroll 16
        for (std::size_t k = 0; k < per; ++k) {
            s.fpuB[i + k] = 3.0 * s.fpuB[i + k];
        }
    }
}

template <StreamShape S, typename Arrays>
[[gnu::noinline]] void fpuAdd(Arrays& s) {
    constexpr auto per = static_cast<std::size_t>(S.fpuPerIteration);
    for (std::size_t i = 0; i < Arrays::kDoubles; i += per) {
        prefetchWritten<S.prefetch>(&s.fpuA[i]);
        prefetchRead<S.prefetch>(&s.fpuB[i]);
        prefetchRead<S.prefetch>(&s.fpuC[i]);
#pragma GCC unroll 16
        for (std::size_t k = 0; k < per; ++k) {
            s.fpuA[i + k] = s.fpuB[i + k] + s.fpuC[i + k];
        }
    }
}

template <StreamShape S, typename Arrays>
[[gnu::noinline]] void fpuTriad(Arrays& s) {
    constexpr auto per = static_cast<std::size_t>(S.fpuPerIteration);
    for (std::size_t i = 0; i < Arrays::kDoubles; i += per) {
        prefetchWritten<S.prefetch>(&s.fpuC[i]);
        prefetchRead<S.prefetch>(&s.fpuA[i]);
        prefetchRead<S.prefetch>(&s.fpuB[i]);
#pragma GCC unroll 16
        for (std::size_t k = 0; k < per; ++k) {
            s.fpuC[i + k] = 3.0 * s.fpuA[i + k] + s.fpuB[i + k];
        }
    }
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
    const int modulus = tickModulus<S.remainder>(S.tickEvery);
    for (int pass = 0; pass < S.passes; ++pass) {
        std::size_t k = 0;
        for (auto kernel : {kernels...}) {
            const double start = platform::preciseSeconds();
            kernel(arrays);
            times[k++][static_cast<std::size_t>(pass)] = platform::preciseSeconds() - start;
        }
        if (pass % modulus == 0) {
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
    storeFpuRates(record, stream_detail::rates<S>(sums));
}

}  // namespace veltrane::engine

#pragma once
// Definitions of the timed templates; included only by files built with the
// fixed flags of the timed routines.

#include <array>
#include <cstring>

#include "engine/Progress.h"
#include "engine/StreamBenchmark.h"
#include "platform/Tick.h"

namespace veltrane::engine {

namespace stream_detail {

// Integer kernels: five elements per iteration, arithmetic modulo 2^32.
template <typename Arrays>
[[gnu::noinline]] void aluAssign(Arrays& s) {
    for (std::size_t i = 0; i < Arrays::kInts; i += 5) {
#pragma GCC unroll 5
        for (std::size_t k = 0; k < 5; ++k) {
            s.aluA[i + k] = s.aluC[i + k];
        }
    }
}

template <typename Arrays>
[[gnu::noinline]] void aluScale(Arrays& s) {
    for (std::size_t i = 0; i < Arrays::kInts; i += 5) {
#pragma GCC unroll 5
        for (std::size_t k = 0; k < 5; ++k) {
            s.aluB[i + k] = 3u * s.aluB[i + k];
        }
    }
}

template <typename Arrays>
[[gnu::noinline]] void aluAdd(Arrays& s) {
    for (std::size_t i = 0; i < Arrays::kInts; i += 5) {
#pragma GCC unroll 5
        for (std::size_t k = 0; k < 5; ++k) {
            s.aluA[i + k] = s.aluB[i + k] + s.aluC[i + k];
        }
    }
}

template <typename Arrays>
[[gnu::noinline]] void aluTriad(Arrays& s) {
    for (std::size_t i = 0; i < Arrays::kInts; i += 5) {
#pragma GCC unroll 5
        for (std::size_t k = 0; k < 5; ++k) {
            s.aluC[i + k] = 3u * s.aluA[i + k] + s.aluB[i + k];
        }
    }
}

// Double kernels: ten elements per iteration; Assign moves raw bits through
// integer registers, not the floating-point unit.
template <typename Arrays>
[[gnu::noinline]] void fpuAssign(Arrays& s) {
    for (std::size_t i = 0; i < Arrays::kDoubles; i += 10) {
#pragma GCC unroll 10
        for (std::size_t k = 0; k < 10; ++k) {
            std::uint64_t bits;
            std::memcpy(&bits, &s.fpuC[i + k], sizeof bits);
            std::memcpy(&s.fpuA[i + k], &bits, sizeof bits);
        }
    }
}

template <typename Arrays>
[[gnu::noinline]] void fpuScale(Arrays& s) {
    for (std::size_t i = 0; i < Arrays::kDoubles; i += 10) {
#pragma GCC unroll 10
        for (std::size_t k = 0; k < 10; ++k) {
            s.fpuB[i + k] = 3.0 * s.fpuB[i + k];
        }
    }
}

template <typename Arrays>
[[gnu::noinline]] void fpuAdd(Arrays& s) {
    for (std::size_t i = 0; i < Arrays::kDoubles; i += 10) {
#pragma GCC unroll 10
        for (std::size_t k = 0; k < 10; ++k) {
            s.fpuA[i + k] = s.fpuB[i + k] + s.fpuC[i + k];
        }
    }
}

template <typename Arrays>
[[gnu::noinline]] void fpuTriad(Arrays& s) {
    for (std::size_t i = 0; i < Arrays::kDoubles; i += 10) {
#pragma GCC unroll 10
        for (std::size_t k = 0; k < 10; ++k) {
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
    std::array<std::array<double, static_cast<std::size_t>(S.passes)>, 4>
        times{};  // per kernel, per pass
    for (int pass = 0; pass < S.passes; ++pass) {
        std::size_t k = 0;
        for (auto kernel : {kernels...}) {
            const double start = platform::preciseSeconds();
            kernel(arrays);
            times[k++][static_cast<std::size_t>(pass)] = platform::preciseSeconds() - start;
        }
        if (pass % S.tickEvery == 0) {
            sendTick(record);
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

}  // namespace stream_detail

template <StreamShape S>
void StreamAluBenchmark(BenchResult& record, StreamArrays<S.doubles>& arrays) {
    using Arrays = StreamArrays<S.doubles>;
    platform::sleepMs(S.settleMs);
    stream_detail::fill(arrays.aluA, 0u);
    stream_detail::fill(arrays.aluB, 2u);
    stream_detail::fill(arrays.aluC, 1u);
    const auto sums = stream_detail::timePasses<S>(
        record, arrays, &stream_detail::aluAssign<Arrays>, &stream_detail::aluScale<Arrays>,
        &stream_detail::aluAdd<Arrays>, &stream_detail::aluTriad<Arrays>);
    storeAluRates(record, streamRates(sums.data(), S.doubles, S.passes));
}

template <StreamShape S>
void StreamFpuBenchmark(BenchResult& record, StreamArrays<S.doubles>& arrays) {
    using Arrays = StreamArrays<S.doubles>;
    platform::sleepMs(S.settleMs);
    stream_detail::fill(arrays.fpuA, 0.0);
    stream_detail::fill(arrays.fpuB, 2.0);
    stream_detail::fill(arrays.fpuC, 1.0);
    const auto sums = stream_detail::timePasses<S>(
        record, arrays, &stream_detail::fpuAssign<Arrays>, &stream_detail::fpuScale<Arrays>,
        &stream_detail::fpuAdd<Arrays>, &stream_detail::fpuTriad<Arrays>);
    storeFpuRates(record, streamRates(sums.data(), S.doubles, S.passes));
}

}  // namespace veltrane::engine

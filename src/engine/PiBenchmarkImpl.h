#pragma once
// Definitions of the timed templates; included only by files built with the
// fixed flags of the timed routines.

#include <cstdint>

#include "engine/Opaque.h"
#include "engine/PiBenchmark.h"
#include "engine/Progress.h"
#include "engine/Scores.h"
#include "platform/Tick.h"

namespace veltrane::engine {

namespace pi_detail {

inline void store(double& variable, double value) {
    *static_cast<volatile double*>(&variable) = value;
}

// The series variables: every update is stored to its process-wide home at
// once, and 2.0 is read from memory for every term; the running values stay
// in registers, so the loop is bounded by its arithmetic, not by reloads.
struct Series {
    PiState* home;
    double sign;
    double y;
    double denominator;
    double sum;
    double diff;
    double product;

    explicit Series(PiState& s)
        : home(&s),
          sign(s.piSign),
          y(s.piY),
          denominator(s.piDenominator),
          sum(s.piSum),
          diff(s.piDiff),
          product(s.piProduct) {}

    void flip() {
        sign = -sign;
        store(home->piSign, sign);
        y = y + sign;
        store(home->piY, y);
    }

    void term() {
        flip();
        denominator = denominator + *static_cast<volatile const double*>(&home->two);
        store(home->piDenominator, denominator);
        diff = diff + (sign - denominator);
        store(home->piDiff, diff);
        product = product - denominator * sign;
        store(home->piProduct, product);
        sum = sum + sign / denominator;
        store(home->piSum, sum);
    }

    // Takes up values the routine set between the loops.
    void reload() { denominator = home->piDenominator; }
};

// Runs `loop` on a copy of the series whose address never escapes, so the
// running values can stay in registers: the stores through `home` cannot
// touch them. The values are handed back afterwards.
template <typename Loop>
inline void withRegisterSeries(Series& series, Loop loop) {
    Series local = series;
    loop(local);
    series = local;
}

}  // namespace pi_detail

// The warm-up loop: the flips, a progress check per iteration, or with one
// flip per iteration a check after each flip counted from 1.
template <PiShape S>
double timedWarmUp(const BenchResult& record, pi_detail::Series& series, std::int32_t limit) {
    const std::int32_t modulus = tickModulus<S.remainder>(S.tickEvery);
    const float t0 = startReading();
    pi_detail::withRegisterSeries(series, [&](pi_detail::Series& s) {
        if constexpr (S.warmUpFlips == 1) {
            for (std::int32_t i = 1; i <= limit; ++i) {
                s.flip();
                if (i % modulus == 0) {
                    sendTick(record, S.tickParam);
                }
            }
        } else {
            for (std::int32_t i = 0; i < limit; i += S.warmUpFlips) {
#pragma GCC unroll 16
                for (int k = 0; k < S.warmUpFlips; ++k) {
                    s.flip();
                }
                if (i % modulus == 0) {
                    sendTick(record, S.tickParam);
                }
            }
        }
    });
    const double seconds = (static_cast<double>(platform::timeGetTime()) - t0) * 0.001f;
    return seconds < 0 ? 0 : seconds;
}

template <PiShape S>
double timedSeries(const BenchResult& record, pi_detail::Series& series, std::int32_t limit) {
    const std::int32_t modulus = tickModulus<S.remainder>(S.tickEvery);
    const float t0 = startReading();
    pi_detail::withRegisterSeries(series, [&](pi_detail::Series& s) {
        if constexpr (S.seriesTerms == 1) {
            for (std::int32_t i = 1; i <= limit; ++i) {
                s.term();
                if (i % modulus == 0) {
                    sendTick(record, S.tickParam);
                }
            }
        } else {
            for (std::int32_t i = 0; i < limit; i += S.seriesTerms) {
#pragma GCC unroll 16
                for (int k = 0; k < S.seriesTerms; ++k) {
                    s.term();
                }
                if (i % modulus == 0) {
                    sendTick(record, S.tickParam);
                }
            }
        }
    });
    return (static_cast<double>(platform::timeGetTime()) - t0) * 0.001f;
}

template <PiShape S>
void PiBenchmark(BenchResult& record, PiState& state) {
    platform::sleepMs(S.settleMs);
    if (!state.started) {
        state.piSign = -state.five;
        state.piY = -state.one;
        state.started = true;
    }
    pi_detail::Series series(state);
    const std::int32_t limit = opaque(S.limit);
    const double warmUp = timedWarmUp<S>(record, series, limit);
    if (!state.denominatorSet) {
        state.piDenominator = state.piY;
        state.denominatorSet = true;
    }
    series.reload();
    const double seconds = atLeastOneMillisecond(warmUp + timedSeries<S>(record, series, limit));
    state.piY = state.piSum * 0.8;
    record.doubleTime = static_cast<float>(seconds);
    record.doubleResult = static_cast<float>(doubleScore(seconds));
}

}  // namespace veltrane::engine

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

// The series lives in memory: every read of a variable is a load from its
// process-wide home and every update a store, 2.0 included. The chain of
// reloads through stores is part of what this test measures.
inline double load(const double& variable) {
    return *static_cast<const volatile double*>(&variable);
}

inline void store(double& variable, double value) {
    *static_cast<volatile double*>(&variable) = value;
}

inline void flip(PiState& s) {
    store(s.piSign, -load(s.piSign));
    store(s.piY, load(s.piY) + load(s.piSign));
}

inline void term(PiState& s) {
    flip(s);
    store(s.piDenominator, load(s.piDenominator) + load(s.two));
    store(s.piDiff, load(s.piDiff) + (load(s.piSign) - load(s.piDenominator)));
    store(s.piProduct, load(s.piProduct) - load(s.piDenominator) * load(s.piSign));
    store(s.piSum, load(s.piSum) + load(s.piSign) / load(s.piDenominator));
}

// Steps per iteration and where the loop ticks: with one step per iteration
// the counter runs from 1 to the limit and a tick follows the step whose
// count is a multiple of the modulus; with more, the counter starts at 0
// and the check comes once per iteration, after its steps.
template <PiShape S, int Steps, typename Step>
void timedSteps(const BenchResult& record, PiState& state, std::int32_t limit, Step step) {
    const ProgressCheck<S.remainder, S.tickEvery> check;
    if constexpr (Steps == 1) {
        for (std::int32_t i = 1; i <= limit; ++i) {
            step(state);
            if (check.due(i)) {
                sendTick(record, S.tickParam);
            }
        }
    } else {
        for (std::int32_t i = 0; i < limit; i += Steps) {
#pragma GCC unroll 16
            for (int k = 0; k < Steps; ++k) {
                step(state);
            }
            if (check.due(i)) {
                sendTick(record, S.tickParam);
            }
        }
    }
}

}  // namespace pi_detail

// The warm-up loop: the sign flips alone. A negative time becomes 0.
template <PiShape S>
[[gnu::noinline]] double timedWarmUp(const BenchResult& record, PiState& state,
                                     std::int32_t limit) {
    const float t0 = startReading();
    pi_detail::timedSteps<S, S.warmUpFlips>(record, state, limit,
                                            [](PiState& s) { pi_detail::flip(s); });
    const double seconds = (static_cast<double>(platform::timeGetTime()) - t0) * 0.001f;
    return seconds < 0 ? 0 : seconds;
}

template <PiShape S>
[[gnu::noinline]] double timedSeries(const BenchResult& record, PiState& state,
                                     std::int32_t limit) {
    const float t0 = startReading();
    pi_detail::timedSteps<S, S.seriesTerms>(record, state, limit,
                                            [](PiState& s) { pi_detail::term(s); });
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
    const std::int32_t limit = opaque(S.limit);
    const double warmUp = timedWarmUp<S>(record, state, limit);
    if (!state.denominatorSet) {
        state.piDenominator = state.piY;
        state.denominatorSet = true;
    }
    const double seconds = atLeastOneMillisecond(warmUp + timedSeries<S>(record, state, limit));
    // A damaged copy is checked, so the series itself goes on unharmed.
    PiState checked = state;
    if (checkInputDamaged(3)) {
        checked.piSum += 1e-3;
    }
    record.checks[2] = checkPiSeries(checked);
    state.piY = state.piSum * 0.8;
    record.doubleTime = static_cast<float>(seconds);
    record.doubleResult = static_cast<float>(doubleScore(seconds));
}

}  // namespace veltrane::engine

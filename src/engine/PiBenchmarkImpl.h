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

inline void store(double& variable, double value) { *static_cast<volatile double*>(&variable) = value; }

// The series variables: every update is stored to its process-wide home at
// once, and 2.0 is read from memory for every term; the running values stay
// in registers, so the loop is bounded by its arithmetic, not by reloads.
struct Series {
    PiState& home;
    double sign;
    double y;
    double denominator;
    double sum;
    double diff;
    double product;

    explicit Series(PiState& s)
        : home(s), sign(s.piSign), y(s.piY), denominator(s.piDenominator), sum(s.piSum),
          diff(s.piDiff), product(s.piProduct) {}

    void flip() {
        sign = -sign;
        store(home.piSign, sign);
        y = y + sign;
        store(home.piY, y);
    }

    void term() {
        flip();
        denominator = denominator + *static_cast<volatile const double*>(&home.two);
        store(home.piDenominator, denominator);
        diff = diff + (sign - denominator);
        store(home.piDiff, diff);
        product = product - denominator * sign;
        store(home.piProduct, product);
        sum = sum + sign / denominator;
        store(home.piSum, sum);
    }

    // Takes up values the routine set between the loops.
    void reload() { denominator = home.piDenominator; }
};

}  // namespace pi_detail

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

    float t0 = startReading();
    for (std::int32_t i = 0; i < limit; i += 8) {
        series.flip();
        series.flip();
        series.flip();
        series.flip();
        series.flip();
        series.flip();
        series.flip();
        series.flip();
        if (i % S.tickEvery == 0) {
            sendTick(record);
        }
    }
    double warmUp = (static_cast<double>(platform::timeGetTime()) - t0) * 0.001f;
    warmUp = warmUp < 0 ? 0 : warmUp;

    if (!state.denominatorSet) {
        state.piDenominator = state.piY;
        state.denominatorSet = true;
    }
    series.reload();

    t0 = startReading();
    for (std::int32_t i = 0; i < limit; i += 16) {
        series.term();
        series.term();
        series.term();
        series.term();
        series.term();
        series.term();
        series.term();
        series.term();
        series.term();
        series.term();
        series.term();
        series.term();
        series.term();
        series.term();
        series.term();
        series.term();
        if (i % S.tickEvery == 0) {
            sendTick(record);
        }
    }
    const double seriesTime = (static_cast<double>(platform::timeGetTime()) - t0) * 0.001f;

    state.piY = state.piSum * 0.8;
    const double seconds = atLeastOneMillisecond(warmUp + seriesTime);
    record.doubleTime = static_cast<float>(seconds);
    record.doubleResult = static_cast<float>(doubleScore(seconds));
}

}  // namespace veltrane::engine

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

// Every update goes to memory, as the series variables always have.
struct Series {
    volatile double& sign;
    volatile double& y;
    volatile double& denominator;
    volatile double& sum;
    volatile double& diff;
    volatile double& product;
    volatile double& two;

    explicit Series(PiState& s)
        : sign(s.piSign),
          y(s.piY),
          denominator(s.piDenominator),
          sum(s.piSum),
          diff(s.piDiff),
          product(s.piProduct),
          two(s.two) {}

    void flip() {
        sign = -sign;
        y = y + sign;
    }

    void term() {
        sign = -sign;
        y = y + sign;
        denominator = denominator + two;
        diff = diff + (sign - denominator);
        product = product - denominator * sign;
        sum = sum + sign / denominator;
    }
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

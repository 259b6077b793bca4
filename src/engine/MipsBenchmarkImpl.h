#pragma once
// Definitions of the timed templates; included only by files built with the
// fixed flags of the timed routines.

#include <cstdint>

#include "engine/MipsBenchmark.h"
#include "engine/Opaque.h"
#include "engine/Progress.h"
#include "engine/Scores.h"
#include "engine/TickCounter.h"
#include "platform/Tick.h"

namespace veltrane::engine {

// The counting loop both tests time: a signed remainder in every iteration
// (a division, or in the optimised forms a multiplication by the reciprocal),
// a progress tick when it is zero. Returns the time in seconds.
template <MipsShape S>
[[gnu::noinline]] double timedDivisionLoop(const BenchResult& record) {
    platform::sleepMs(S.settleMs);
    const std::int32_t limit = opaque(S.limit);
    const ProgressCheck<S.remainder, S.tickEvery> check;
    const float t0 = startReading();
    for (std::int32_t i = S.start; i < limit; i += S.step) {
        if (check.due(i)) {
            sendTick(record, S.tickParam);
        }
    }
    return elapsedSeconds(t0, platform::timeGetTime());
}

// The ticks the counting loop must send: one for each multiple of its
// modulus that the counter steps on.
template <MipsShape S>
TestCheck divisionLoopCheck(const TickCounter& ticks, int test) {
    return ticks.check(expectedTicks(S.start, S.step, S.limit, S.tickEvery), test);
}

template <MipsShape S>
void MipsBenchmark(BenchResult& record) {
    TickCounter ticks(record);
    const double seconds = timedDivisionLoop<S>(record);
    record.checks[3] = divisionLoopCheck<S>(ticks, 4);
    record.mipsTime = static_cast<float>(seconds);
    record.mipsResult = static_cast<float>(mipsScore(seconds));
}

template <MipsShape S>
void MflopsBenchmark(BenchResult& record) {
    TickCounter ticks(record);
    const double seconds = timedDivisionLoop<S>(record);
    record.checks[4] = divisionLoopCheck<S>(ticks, 5);
    record.mflopsTime = static_cast<float>(seconds);
    record.mflopsResult = static_cast<float>(mflopsScore(seconds, S.mflopsFactor));
}

}  // namespace veltrane::engine

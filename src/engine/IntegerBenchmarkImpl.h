#pragma once
// Definitions of the timed templates; included only by files built with the
// fixed flags of the timed routines.

#include <utility>

#include "engine/IntegerBenchmark.h"
#include "engine/Progress.h"
#include "engine/Scores.h"
#include "platform/Tick.h"

namespace veltrane::engine {

template <IntegerShape S>
void IntegerBenchmark(BenchResult& record, IntegerState& state) {
    platform::sleepMs(S.settleMs);
    if (!state.table) {
        state.table = std::make_unique<SortTable>();
    }
    SortTable& table = *state.table;
    const ProgressCheck<S.remainder, S.tickEvery> check;
    const float t0 = startReading();
    fillSortTable(table);
    for (int pass = 0; pass < S.passes; ++pass) {
        sortPass(table);
        if (check.due(pass)) {
            sendTick(record, S.tickParam);
        }
    }
    const double seconds = elapsedSeconds(t0, platform::timeGetTime(), S.lessMs);
    if (checkInputDamaged(1)) {
        std::swap(table[5].key, table[6].key);
    }
    record.checks[0] = checkSortTable(table);
    record.integerTime = static_cast<float>(seconds);
    record.integerResult = static_cast<float>(integerScore(seconds, S.reference));
}

}  // namespace veltrane::engine

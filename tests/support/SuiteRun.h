#pragma once

#include <cstdint>
#include <vector>

#include "engine/BenchResult.h"
#include "engine/RunRequest.h"
#include "support/RecordingSink.h"
#include "support/ScriptedClock.h"

namespace veltrane::test {

// A record wired to a recording window, run on the scripted clock: every
// millisecond reading one second after the last, pauses free and remembered.
struct SuiteRun {
    ScriptedClock clock;
    RecordingSink sink;
    engine::BenchResult record;

    explicit SuiteRun(int mask = engine::kFullRunMask) { prepare(record, mask); }

    void prepare(engine::BenchResult& r, int mask) {
        r.progressWindow = &sink;
        r.fullRun = mask == engine::kFullRunMask ? 1 : 0;
        r.selected = r.fullRun != 0 ? decltype(r.selected){} : engine::unpackMask(mask);
    }

    int ticks() const { return sink.count(engine::WM_THREAD_TICK); }

    // The pauses of the calling thread, or of the only thread that used the clock.
    std::vector<std::uint32_t> pauses() const {
        const auto all = clock.sleeps();
        return all.empty() ? std::vector<std::uint32_t>{} : all.front();
    }
};

}  // namespace veltrane::test

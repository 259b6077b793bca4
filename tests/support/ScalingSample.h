#pragma once

#include <chrono>
#include <optional>
#include <utility>

#include "engine/ScalingFigures.h"
#include "suites/ScalingRun.h"

namespace veltrane::test {

// A scaling run measured by hand: one thread, then two at once. Each thread
// of the two-thread count reaches `share` of the one-thread figures; every
// check passed unless `failed` names a thread (0-based) and a test.
inline suites::ScalingOutcome scalingSample(double share = 0.9,
                                            std::optional<std::pair<int, int>> failed = {}) {
    suites::ScalingOutcome outcome;
    for (const int threads : {1, 2}) {
        suites::ScalingStep step;
        step.threads = threads;
        step.processors.assign(static_cast<std::size_t>(threads), -1);
        step.slowestSeconds = {2.5, 1.25, 1, 1, 1, 0.5, 0.5};
        for (int thread = 0; thread < threads; ++thread) {
            engine::BenchResult record;
            record.fullRun = 1;
            for (const auto& figure : engine::kScalingFigures) {
                const double value = 1000.0 * figure.test * (threads == 1 ? 1 : share);
                record.*figure.field = static_cast<float>(value);
                record.checks[static_cast<std::size_t>(figure.test - 1)].state =
                    engine::CheckState::Passed;
            }
            if (threads == 2 && failed && failed->first == thread) {
                record.checks[static_cast<std::size_t>(failed->second - 1)].state =
                    engine::CheckState::Failed;
            }
            step.perThread.push_back(record);
        }
        const auto* one = outcome.summaries.empty() ? nullptr : &outcome.summaries.front();
        outcome.summaries.push_back(
            engine::summariseScaling(step.perThread, step.slowestSeconds, one));
        outcome.steps.push_back(std::move(step));
    }
    return outcome;
}

}  // namespace veltrane::test

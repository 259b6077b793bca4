#pragma once

#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "engine/ScalingFigures.h"
#include "suites/ScalingRun.h"

namespace veltrane::test {

// A thread whose seven figures are all `value`, its tests checked up to `tests`.
inline engine::BenchResult scalingThread(float value, int tests = engine::kTestCount) {
    engine::BenchResult record;
    record.fullRun = 1;
    for (const auto& figure : engine::kScalingFigures) {
        record.*figure.field = value;
    }
    for (int test = 0; test < engine::kTestCount; ++test) {
        record.checks[static_cast<std::size_t>(test)].state =
            test < tests ? engine::CheckState::Passed : engine::CheckState::NotRun;
    }
    return record;
}

// Adds a thread count of these records, summarised against the first count.
inline void addScalingStep(suites::ScalingOutcome& outcome,
                           std::vector<engine::BenchResult> records,
                           std::array<double, engine::kTestCount> slowestSeconds = {}) {
    suites::ScalingStep step;
    step.threads = static_cast<int>(records.size());
    step.perThread = std::move(records);
    step.processors.assign(step.perThread.size(), -1);
    step.slowestSeconds = slowestSeconds;
    const auto* one = outcome.summaries.empty() ? nullptr : &outcome.summaries.front();
    outcome.summaries.push_back(engine::summariseScaling(step.perThread, slowestSeconds, one));
    outcome.steps.push_back(std::move(step));
}

// A scaling run measured by hand: one thread, then two at once. Each figure
// is 1000 x its test number alone; each thread of the two-thread count
// reaches `share` of it; every check passed unless `failed` names a thread
// (0-based) and a test.
inline suites::ScalingOutcome scalingSample(double share = 0.9,
                                            std::optional<std::pair<int, int>> failed = {}) {
    suites::ScalingOutcome outcome;
    for (const int threads : {1, 2}) {
        std::vector<engine::BenchResult> records;
        for (int thread = 0; thread < threads; ++thread) {
            engine::BenchResult record = scalingThread(0);
            for (const auto& figure : engine::kScalingFigures) {
                record.*figure.field =
                    static_cast<float>(1000.0 * figure.test * (threads == 1 ? 1 : share));
            }
            if (threads == 2 && failed && failed->first == thread) {
                record.checks[static_cast<std::size_t>(failed->second - 1)].state =
                    engine::CheckState::Failed;
            }
            records.push_back(record);
        }
        addScalingStep(outcome, std::move(records), {2.5, 1.25, 1, 1, 1, 0.5, 0.5});
    }
    return outcome;
}

}  // namespace veltrane::test

#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "engine/BenchResult.h"
#include "engine/RepeatStats.h"
#include "engine/RunRequest.h"
#include "ident/ClockFacts.h"
#include "ident/MachineFacts.h"
#include "ident/RunConditions.h"
#include "platform/Threads.h"

namespace veltrane::reports {

// A run repeated: every run's record and how the figures spread over them.
struct RepeatOutcome {
    std::vector<engine::BenchResult> runs;
    std::vector<engine::FigureStats> stats;
    bool untilStable = false;
    bool settled = true;  // no figure spread more than engine::kSettledRsdPercent
};

// What a finished run hands to the outputs that follow its results
// (comparison, report, JSON, the results history).
struct RunContext {
    const engine::BenchResult& record;
    const ident::MachineFacts& machine;
    const engine::RunPlan& plan;
    std::string requestedSuite;  // the suite's name as it was asked for
    int mask = 255;
    platform::PriorityGrant priorityGrant = platform::PriorityGrant::NotAsked;
    std::chrono::system_clock::time_point startedAt;
    std::chrono::system_clock::time_point finishedAt;
    ident::RunConditions conditions;        // read just before the run
    const RepeatOutcome* repeat = nullptr;  // a single run has none; `record` is then the median
    std::string program = "veltrane-cli";   // the front end that ran it
    ident::ClockFacts clocks = {};          // measured after the run, where it was
};

}  // namespace veltrane::reports

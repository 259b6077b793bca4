#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "engine/BenchResult.h"
#include "engine/RepeatStats.h"
#include "engine/RunRequest.h"
#include "ident/MachineFacts.h"
#include "ident/RunConditions.h"
#include "platform/Threads.h"

namespace veltrane::cli {

// The HTML report of a run: where it goes, the tester's texts and the
// sections to include (letters from "TCSXOB").
struct ReportOptions {
    std::string path;  // empty: no report
    std::string tester;
    std::string system;
    std::string comments;
    std::string sections = "TCSXOB";
};

// A run repeated: every run's record and how the figures spread over them.
struct RepeatOutcome {
    std::vector<engine::BenchResult> runs;
    std::vector<engine::FigureStats> stats;
    bool untilStable = false;
    bool settled = true;  // no figure spread more than engine::kSettledRsdPercent
};

// What a finished run hands to the outputs that follow its results
// (comparison, report, JSON).
struct RunContext {
    const engine::BenchResult& record;
    const ident::MachineFacts& machine;
    const engine::RunPlan& plan;
    std::string requestedSuite;  // the name given on the command line
    int mask = 255;
    platform::PriorityGrant priorityGrant = platform::PriorityGrant::NotAsked;
    std::chrono::system_clock::time_point startedAt;
    std::chrono::system_clock::time_point finishedAt;
    ident::RunConditions conditions;        // read just before the run
    const RepeatOutcome* repeat = nullptr;  // a single run has none; `record` is then the median
};

}  // namespace veltrane::cli

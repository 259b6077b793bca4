#pragma once

#include <chrono>
#include <string>

#include "engine/ScalingFigures.h"
#include "ident/ClockFacts.h"
#include "ident/MachineFacts.h"
#include "ident/RunConditions.h"
#include "platform/Threads.h"
#include "suites/ScalingRun.h"

namespace veltrane::reports {

// What a finished scaling run hands to its outputs (the JSON document and
// the results history).
struct ScalingContext {
    const suites::ScalingOutcome& outcome;
    const engine::ScalingPlan& plan;
    engine::ThreadRequest request;  // as asked: a count or `all`
    bool pinAsked = false;
    const ident::MachineFacts& machine;
    std::chrono::system_clock::time_point startedAt;
    std::chrono::system_clock::time_point finishedAt;
    ident::RunConditions conditions;  // read just before the run
    platform::PriorityGrant priorityGrant = platform::PriorityGrant::NotAsked;
    std::string program = "veltrane-cli";
    ident::ClockFacts clocks = {};
};

}  // namespace veltrane::reports

#pragma once

#include <string>
#include <vector>

#include "reports/ChartModel.h"
#include "suites/ScalingRun.h"

namespace veltrane::shell {

// One thread count's figures as the multi-core results window lists them:
// their sum and how well they scaled, then a row per thread.
struct ScalingTable {
    std::string heading;                         // "16 threads"
    std::vector<std::string> columns;            // the figures, each with its unit
    std::vector<std::vector<std::string>> rows;  // the first cell names the row
    std::string score;                           // the multi-core score, or why there is none
};

// What the setup window says of a plan: the thread counts it measures, then
// its notices, or why it is refused.
std::string scalingPlanText(const engine::ScalingPlan& plan);

// One table per thread count measured, in the order measured.
std::vector<ScalingTable> scalingTables(const suites::ScalingOutcome& outcome);

// The run in a line or two: the thread counts measured, the score at the
// most threads, and whether it was stopped or could not start.
std::string scalingOverview(const suites::ScalingOutcome& outcome);

// The figures against the thread counts measured: per figure, a bar per
// thread count of its sum as a share of the one-thread figure, in that order.
reports::ChartData scalingChart(const suites::ScalingOutcome& outcome);

}  // namespace veltrane::shell

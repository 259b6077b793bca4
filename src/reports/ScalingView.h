#pragma once

#include <string>
#include <vector>

#include "suites/ScalingRun.h"

namespace veltrane::reports {

// One figure of one thread count: each thread's value, the sum and how it
// scaled against one thread ("-" where it is not known).
struct ScalingFigureRow {
    std::string label;  // "Integer"
    std::string unit;   // "ALUMarks"
    std::vector<std::string> perThread;
    std::string sum;
    std::string efficiency;  // "97 %"; empty for the one-thread count
    std::string slowest;     // the slowest thread's time of the figure's test: "2.31 s"
};

// One thread count as a table: texts only, ready for a terminal or a window.
struct ScalingStepView {
    int threads = 0;
    std::string heading;  // "2 threads at once"
    bool showsEfficiency = false;
    std::vector<ScalingFigureRow> figures;  // the seven of engine::kScalingFigures
    std::string score;                      // the multi-core score, or why there is none
    std::string placement;                  // where the threads ran
    bool trusted = true;
    bool stopped = false;
};

// A figure as both front ends show it: large ones without decimals, small
// ones with one.
std::string scalingFigureText(double value);

// The rows of every thread count the run measured, in order.
std::vector<ScalingStepView> scalingView(const suites::ScalingOutcome& outcome);

// "Thread 1 on processor 0, thread 2 on processor 1" or that the scheduler
// placed them.
std::string placementText(const std::vector<int>& processors);

}  // namespace veltrane::reports

#pragma once

#include <vector>

#include "engine/BenchResult.h"
#include "engine/Figures.h"

namespace veltrane::engine {

// Figures that spread more than this over the runs ask for another run.
inline constexpr double kSettledRsdPercent = 3.5;
// The most runs a repeat may be asked for.
inline constexpr int kMaxRepeatRuns = 100;

// How one figure spread over repeated runs of the same suite and tests.
struct FigureStats {
    const Figure* figure = nullptr;
    double median = 0;  // an even count: the mean of the two middle values
    double min = 0;
    double max = 0;
    double rsdPercent = 0;  // sample standard deviation / mean x 100; 0 for one run or a zero mean
};

// The median of `values` (not empty).
double median(std::vector<double> values);
// Sample standard deviation over mean, in percent.
double relativeSpreadPercent(const std::vector<double>& values);

// Every figure the runs measured, in kFigures order; the first run says
// which were measured.
std::vector<FigureStats> repeatStats(const std::vector<BenchResult>& runs);

// The first run with every figure replaced by its median over the runs.
BenchResult medianRecord(const std::vector<BenchResult>& runs);

// Whether any figure spread more than kSettledRsdPercent.
bool needsAnotherRun(const std::vector<FigureStats>& stats);

// How many runs a repeat asks for: `planned` runs, and while `untilStable`
// and the figures have not settled, more up to three times as many.
struct RepeatPlan {
    int planned = 1;
    bool untilStable = false;
    int limit() const { return untilStable ? 3 * planned : planned; }
};
bool wantsAnotherRun(const RepeatPlan& plan, const std::vector<BenchResult>& runs);

}  // namespace veltrane::engine

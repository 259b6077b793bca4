#include "engine/RepeatStats.h"

#include <algorithm>
#include <cmath>

namespace veltrane::engine {

namespace {

std::vector<double> valuesOf(const Figure& figure, const std::vector<BenchResult>& runs) {
    std::vector<double> values;
    values.reserve(runs.size());
    for (const BenchResult& run : runs) {
        values.push_back(run.*figure.field);
    }
    return values;
}

}  // namespace

double median(std::vector<double> values) {
    const std::size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle),
                     values.end());
    const double upper = values[middle];
    if (values.size() % 2 != 0) {
        return upper;
    }
    const double lower =
        *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle));
    return (lower + upper) / 2;
}

double relativeSpreadPercent(const std::vector<double>& values) {
    const auto count = static_cast<double>(values.size());
    double sum = 0;
    for (const double value : values) {
        sum += value;
    }
    const double mean = sum / count;
    if (values.size() < 2 || mean == 0) {
        return 0;
    }
    double squares = 0;
    for (const double value : values) {
        squares += (value - mean) * (value - mean);
    }
    return std::sqrt(squares / (count - 1)) / std::fabs(mean) * 100;
}

std::vector<FigureStats> repeatStats(const std::vector<BenchResult>& runs) {
    std::vector<FigureStats> stats;
    if (runs.empty()) {
        return stats;
    }
    for (const Figure& figure : kFigures) {
        if (!measured(figure, runs.front())) {
            continue;
        }
        const std::vector<double> values = valuesOf(figure, runs);
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        stats.push_back({&figure, median(values), *low, *high, relativeSpreadPercent(values)});
    }
    return stats;
}

BenchResult medianRecord(const std::vector<BenchResult>& runs) {
    if (runs.empty()) {
        return {};
    }
    BenchResult record = runs.front();
    record.progressWindow = nullptr;  // the runs' sinks may be gone by now
    for (const Figure& figure : kFigures) {
        record.*figure.field = static_cast<float>(median(valuesOf(figure, runs)));
    }
    // A figure that failed its check in any run is invalid in the medians too.
    for (const BenchResult& run : runs) {
        for (std::size_t i = 0; i < record.checks.size(); ++i) {
            if (run.checks[i].failed() && !record.checks[i].failed()) {
                record.checks[i] = run.checks[i];
            }
        }
    }
    if (!figuresTrusted(record)) {
        record.overallResult = 0;
    }
    return record;
}

bool needsAnotherRun(const std::vector<FigureStats>& stats) {
    return std::any_of(stats.begin(), stats.end(), [](const FigureStats& figure) {
        return figure.rsdPercent > kSettledRsdPercent;
    });
}

bool wantsAnotherRun(const RepeatPlan& plan, const std::vector<BenchResult>& runs) {
    const auto done = static_cast<int>(runs.size());
    if (done < plan.planned) {
        return true;
    }
    return done < plan.limit() && needsAnotherRun(repeatStats(runs));
}

}  // namespace veltrane::engine

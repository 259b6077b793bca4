#include "reports/ScalingView.h"

#include "engine/ScalingFigures.h"
#include "platform/Format.h"

namespace veltrane::reports {

namespace {

using engine::CheckState;
using engine::ScalingFigure;

CheckState checkOf(const engine::BenchResult& record, int test) {
    return record.checks[static_cast<std::size_t>(test - 1)].state;
}

std::string threadFigure(const engine::BenchResult& record, const ScalingFigure& figure) {
    switch (checkOf(record, figure.test)) {
        case CheckState::Failed:
            return "invalid";
        case CheckState::NotRun:
            return "-";
        case CheckState::Passed:
            break;
    }
    return scalingFigureText(record.*figure.field);
}

// Whether every thread measured the figure and passed its check.
bool everyThreadPassed(const suites::ScalingStep& step, int test) {
    for (const engine::BenchResult& record : step.perThread) {
        if (checkOf(record, test) != CheckState::Passed) {
            return false;
        }
    }
    return !step.perThread.empty();
}

ScalingFigureRow figureRow(const suites::ScalingStep& step, const engine::ScalingSummary& summary,
                           std::size_t index) {
    const ScalingFigure& figure = engine::kScalingFigures[index];
    ScalingFigureRow row{figure.label, figure.unit, {}, "-", "", "-"};
    const double seconds = step.slowestSeconds[static_cast<std::size_t>(figure.test - 1)];
    if (seconds > 0) {
        row.slowest = strprintf("%.2f s", seconds);
    }
    for (const engine::BenchResult& record : step.perThread) {
        row.perThread.push_back(threadFigure(record, figure));
    }
    const bool known = everyThreadPassed(step, figure.test);
    if (known) {
        row.sum = scalingFigureText(summary.sums.*figure.field);
    }
    if (step.threads > 1) {
        const double efficiency = summary.efficiency[index];
        row.efficiency = known && efficiency > 0 ? strprintf("%.0f %%", efficiency * 100) : "-";
    }
    return row;
}

std::string scoreText(const suites::ScalingStep& step, const engine::ScalingSummary& summary) {
    if (step.stopped) {
        return strprintf("%s: none (stopped before the last test)", engine::kMultiCoreScoreName);
    }
    if (!summary.trusted) {
        return strprintf("%s: invalid (a thread failed the check of its own work)",
                         engine::kMultiCoreScoreName);
    }
    return strprintf("%s: %.0f", engine::kMultiCoreScoreName, summary.multiCoreScore);
}

ScalingStepView stepView(const suites::ScalingStep& step, const engine::ScalingSummary& summary) {
    ScalingStepView view;
    view.threads = step.threads;
    view.heading =
        step.threads == 1 ? std::string("1 thread") : strprintf("%d threads at once", step.threads);
    view.showsEfficiency = step.threads > 1;
    for (std::size_t i = 0; i < engine::kScalingFigures.size(); ++i) {
        view.figures.push_back(figureRow(step, summary, i));
    }
    view.score = scoreText(step, summary);
    view.placement = placementText(step.processors);
    view.trusted = summary.trusted;
    view.stopped = step.stopped;
    return view;
}

}  // namespace

std::string placementText(const std::vector<int>& processors) {
    std::string text;
    for (std::size_t thread = 0; thread < processors.size(); ++thread) {
        if (processors[thread] < 0) {
            continue;
        }
        text += strprintf("%sthread %zu on processor %d", text.empty() ? "" : ", ", thread + 1,
                          processors[thread]);
    }
    if (text.empty()) {
        return "Threads placed by the scheduler";
    }
    return "Pinned: " + text;
}

std::string scalingFigureText(double value) {
    return strprintf(value >= 100 ? "%.0f" : "%.1f", value);
}

std::vector<ScalingStepView> scalingView(const suites::ScalingOutcome& outcome) {
    std::vector<ScalingStepView> views;
    for (std::size_t i = 0; i < outcome.steps.size() && i < outcome.summaries.size(); ++i) {
        views.push_back(stepView(outcome.steps[i], outcome.summaries[i]));
    }
    return views;
}

}  // namespace veltrane::reports

#include "shellcore/ScalingResults.h"

#include <cmath>

#include "engine/SelfCheck.h"
#include "platform/Format.h"
#include "reports/ScalingView.h"

namespace veltrane::shell {

namespace {

using engine::kScalingFigures;
using engine::ScalingFigure;

// One colour per thread count measured, light enough for the black labels.
constexpr reports::PackedColor kSeriesColors[] = {
    reports::packedColor(0xB8, 0xC8, 0xD8), reports::packedColor(0xF0, 0xA8, 0x70),
    reports::packedColor(0x9C, 0xD8, 0x9C), reports::packedColor(0xD8, 0xB0, 0xE0)};

std::string threadsText(int threads) {
    return strprintf("%d thread%s", threads, threads == 1 ? "" : "s");
}

engine::CheckState checkOf(const engine::BenchResult& record, const ScalingFigure& figure) {
    return record.checks[static_cast<std::size_t>(figure.test - 1)].state;
}

std::string figureCell(const engine::BenchResult& record, const ScalingFigure& figure) {
    switch (checkOf(record, figure)) {
        case engine::CheckState::NotRun:
            return "not run";
        case engine::CheckState::Failed:
            return reports::scalingFigureText(record.*figure.field) + " (check failed)";
        case engine::CheckState::Passed:
            break;
    }
    return reports::scalingFigureText(record.*figure.field);
}

bool everyThreadRan(const suites::ScalingStep& step, const ScalingFigure& figure) {
    for (const engine::BenchResult& record : step.perThread) {
        if (checkOf(record, figure) == engine::CheckState::NotRun) {
            return false;
        }
    }
    return !step.perThread.empty();
}

std::string threadLabel(const suites::ScalingStep& step, std::size_t thread) {
    const int processor = thread < step.processors.size() ? step.processors[thread] : -1;
    const std::string label = strprintf("Thread %zu", thread + 1);
    return processor >= 0 ? label + strprintf(" (processor %d)", processor) : label;
}

// The one-thread step's efficiency is 100 % by its definition.
std::string efficiencyCell(const suites::ScalingStep& step, const engine::ScalingSummary& summary,
                           std::size_t figure, bool first) {
    if (!everyThreadRan(step, kScalingFigures[figure])) {
        return "not run";
    }
    const bool measured = summary.sums.*kScalingFigures[figure].field > 0;
    const double share = first ? (measured ? 1.0 : 0.0) : summary.efficiency[figure];
    return share > 0 ? strprintf("%.0f %%", share * 100) : std::string("not known");
}

std::string scoreText(const suites::ScalingStep& step, const engine::ScalingSummary& summary) {
    const std::string name = engine::kMultiCoreScoreName;
    if (summary.multiCoreScore > 0) {
        return name + strprintf(": %.0f", summary.multiCoreScore);
    }
    if (step.stopped) {
        return name + ": none, the run was stopped before every test had run";
    }
    return name + ": none, a figure failed its check";
}

ScalingTable tableOf(const suites::ScalingStep& step, const engine::ScalingSummary& summary,
                     bool first) {
    ScalingTable table{threadsText(step.threads), {}, {}, scoreText(step, summary)};
    std::vector<std::string> sums{"Sum"};
    std::vector<std::string> efficiencies{"Efficiency"};
    for (std::size_t f = 0; f < kScalingFigures.size(); ++f) {
        const ScalingFigure& figure = kScalingFigures[f];
        table.columns.push_back(std::string(figure.label) + "\n(" + figure.unit + ")");
        sums.push_back(everyThreadRan(step, figure)
                           ? reports::scalingFigureText(summary.sums.*figure.field)
                           : std::string("not run"));
        efficiencies.push_back(efficiencyCell(step, summary, f, first));
    }
    // The totals first: with many threads they would be far down.
    table.rows.push_back(std::move(sums));
    table.rows.push_back(std::move(efficiencies));
    for (std::size_t thread = 0; thread < step.perThread.size(); ++thread) {
        std::vector<std::string> row{threadLabel(step, thread)};
        for (const ScalingFigure& figure : kScalingFigures) {
            row.push_back(figureCell(step.perThread[thread], figure));
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

// The bar of one figure at one thread count: its sum against one thread's.
reports::ChartEntry chartEntry(const suites::ScalingOutcome& outcome, std::size_t step,
                               std::size_t figure) {
    const ScalingFigure& info = kScalingFigures[figure];
    const int threads = outcome.steps[step].threads;
    const double alone = outcome.summaries.front().sums.*info.field;
    const double sum = outcome.summaries[step].sums.*info.field;
    const bool known = alone > 0 && everyThreadRan(outcome.steps[step], info) &&
                       everyThreadRan(outcome.steps.front(), info);
    reports::ChartEntry entry(known ? static_cast<std::int32_t>(std::lround(sum / alone * 100)) : 0,
                              kSeriesColors[step % std::size(kSeriesColors)]);
    const std::string where = std::string(info.label) + ", " + threadsText(threads) + ": ";
    entry.label = where + (known ? strprintf("%.2f x", sum / alone) : std::string("not measured"));
    return entry;
}

}  // namespace

std::string scalingPlanText(const engine::ScalingPlan& plan) {
    if (plan.refusal) {
        return "Cannot run: " + *plan.refusal + ".";
    }
    std::string text = "Measures one thread";
    if (plan.threadCounts.size() > 1) {
        text += ", then " + threadsText(plan.threadCounts.back());
    }
    text += plan.pinTo.empty() ? ", not pinned." : ", each thread pinned to a processor.";
    for (const std::string& notice : plan.notices) {
        text += "\nNote: " + notice + ".";
    }
    return text;
}

std::vector<ScalingTable> scalingTables(const suites::ScalingOutcome& outcome) {
    std::vector<ScalingTable> tables;
    for (std::size_t i = 0; i < outcome.steps.size() && i < outcome.summaries.size(); ++i) {
        tables.push_back(tableOf(outcome.steps[i], outcome.summaries[i], i == 0));
    }
    return tables;
}

std::string scalingOverview(const suites::ScalingOutcome& outcome) {
    if (!outcome.error.empty()) {
        return "The multi-core benchmark could not run: " + outcome.error + ".";
    }
    if (outcome.steps.empty()) {
        return "The multi-core benchmark was stopped before it measured anything.";
    }
    std::string counts;
    for (const suites::ScalingStep& step : outcome.steps) {
        counts += (counts.empty() ? "" : " and ") + std::to_string(step.threads);
    }
    const suites::ScalingStep& last = outcome.steps.back();
    std::string text = "Measured at " + counts + (last.threads == 1 ? " thread" : " threads") +
                       ". " + scoreText(last, outcome.summaries.back()) + " at " +
                       threadsText(last.threads) + ".";
    if (outcome.stopped) {
        text += "\nStopped before the end: the tests that did not run show no figures.";
    }
    return text;
}

reports::ChartData scalingChart(const suites::ScalingOutcome& outcome) {
    reports::ChartData chart = reports::chartPageDefaults();
    chart.title = "Speed-up over one thread (100 % = one thread's figure)";
    chart.units = {"%"};
    chart.caption = "Speed-up";
    chart.fillMode = reports::FillMode::standard;
    // A bar of its own per figure and thread count: two bars to a group
    // would run their labels into each other.
    const std::size_t steps = std::min(outcome.steps.size(), outcome.summaries.size());
    chart.groupCount = static_cast<int>(steps * kScalingFigures.size());
    chart.showScale = steps > 0;
    for (std::size_t figure = 0; steps > 0 && figure < kScalingFigures.size(); ++figure) {
        for (std::size_t step = 0; step < steps; ++step) {
            chart.entries.push_back(chartEntry(outcome, step, figure));
        }
    }
    return chart;
}

}  // namespace veltrane::shell

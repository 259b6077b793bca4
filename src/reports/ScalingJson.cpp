#include "reports/ScalingJson.h"

#include <cmath>

#include "engine/Figures.h"
#include "reports/MachineJson.h"
#include "reports/RunJsonDocument.h"

namespace veltrane::reports {

using Json = nlohmann::ordered_json;

namespace {

bool isTime(const engine::Figure& figure) {
    return std::string_view(figure.key).ends_with("_time_s");
}

// A thread's figures of tests 1 to 7 (times and kernel rates included);
// a figure whose check failed is null.
Json threadFigures(const engine::BenchResult& record) {
    Json figures = Json::object();
    for (const engine::Figure& figure : engine::kFigures) {
        if (figure.test < 1) {
            continue;
        }
        const auto check = record.checks[static_cast<std::size_t>(figure.test - 1)].state;
        figures[figure.key] = check == engine::CheckState::Failed && !isTime(figure)
                                  ? Json(nullptr)
                                  : Json(decimal(record.*figure.field));
    }
    return figures;
}

Json threadsSection(const suites::ScalingStep& step) {
    Json threads = Json::array();
    for (std::size_t i = 0; i < step.perThread.size(); ++i) {
        const int processor = i < step.processors.size() ? step.processors[i] : -1;
        threads.push_back({{"thread", i + 1},
                           {"processor", processor >= 0 ? Json(processor) : Json(nullptr)},
                           {"figures", threadFigures(step.perThread[i])},
                           {"checks", checksJson(step.perThread[i])}});
    }
    return threads;
}

// The summed figures: the seven results and the kernel rates, no times.
Json sumsSection(const engine::BenchResult& sums) {
    Json figures = Json::object();
    for (const engine::Figure& figure : engine::kFigures) {
        if (figure.test >= 1 && !isTime(figure)) {
            figures[figure.key] = decimal(sums.*figure.field);
        }
    }
    return figures;
}

Json efficiencySection(const suites::ScalingStep& step, const engine::ScalingSummary& summary) {
    Json efficiency = Json::object();
    for (std::size_t i = 0; i < engine::kScalingFigures.size(); ++i) {
        const double value = summary.efficiency[i];
        efficiency[engine::kScalingFigures[i].key] =
            step.threads > 1 && value > 0 ? Json(std::round(value * 10000.0) / 10000.0)
                                          : Json(nullptr);
    }
    return efficiency;
}

Json slowestSection(const suites::ScalingStep& step) {
    Json seconds = Json::array();
    for (const double value : step.slowestSeconds) {
        seconds.push_back(std::round(value * 1000.0) / 1000.0);
    }
    return seconds;
}

Json stepSection(const suites::ScalingStep& step, const engine::ScalingSummary& summary) {
    const bool scored = summary.trusted && !step.stopped && summary.multiCoreScore > 0;
    return {
        {"threads", step.threads},
        {"per_thread", threadsSection(step)},
        {"sums", sumsSection(summary.sums)},
        {"efficiency", efficiencySection(step, summary)},
        {"slowest_thread_s", slowestSection(step)},
        {"multi_core_score", scored ? Json(decimal(summary.multiCoreScore)) : Json(nullptr)},
        {"trusted", summary.trusted},
        {"stopped", step.stopped},
    };
}

Json planSection(const ScalingContext& context) {
    const engine::ThreadRequest& request = context.request;
    return {
        {"threads_asked", request.all ? Json("all") : Json(request.count)},
        {"thread_counts", context.plan.threadCounts},
        {"pin", context.pinAsked},
        {"pin_to", context.plan.pinTo},
        {"notices", context.plan.notices},
    };
}

Json scalingSection(const ScalingContext& context) {
    const suites::ScalingOutcome& outcome = context.outcome;
    Json steps = Json::array();
    for (std::size_t i = 0; i < outcome.steps.size() && i < outcome.summaries.size(); ++i) {
        steps.push_back(stepSection(outcome.steps[i], outcome.summaries[i]));
    }
    const std::chrono::duration<double> duration = context.finishedAt - context.startedAt;
    return {
        {"plan", planSection(context)},
        {"started_at", utcTimestamp(context.startedAt)},
        {"finished_at", utcTimestamp(context.finishedAt)},
        {"duration_s", std::round(duration.count() * 1000.0) / 1000.0},
        {"processor_count", context.machine.processorCount},
        {"score_name", engine::kMultiCoreScoreName},
        {"steps", std::move(steps)},
        {"stopped", outcome.stopped},
    };
}

}  // namespace

Json scalingJson(const ScalingContext& context) {
    return {
        {"schema_version", kScalingJsonSchemaVersion},
        {"program", programJson(context.program)},
        {"scaling", scalingSection(context)},
        {"conditions", conditionsJson(context.conditions, context.priorityGrant, Json::array())},
        {"machine", machineJson(context.machine, context.clocks)},
    };
}

}  // namespace veltrane::reports

#include "reports/RunJsonDocument.h"

#include <charconv>
#include <cmath>
#include <ctime>

#include "engine/DetailsRows.h"
#include "engine/Figures.h"
#include "engine/RunEnd.h"
#include "engine/TestInfo.h"
#include "ident/CacheGeometry.h"
#include "ident/FeatureBits.h"
#include "ident/PciNames.h"
#include "ident/RunConditions.h"
#include "platform/Format.h"
#include "reports/MachineJson.h"

namespace veltrane::reports {

using Json = nlohmann::ordered_json;

const char* grantName(platform::PriorityGrant grant) {
    switch (grant) {
        case platform::PriorityGrant::Granted:
            return "granted";
        case platform::PriorityGrant::Refused:
            return "refused";
        case platform::PriorityGrant::NotAsked:
            break;
    }
    return "not_asked";
}

namespace {

Json testsRun(const engine::RunPlan& plan) {
    Json tests = Json::array();
    for (int test = 1; test <= engine::kTestCount; ++test) {
        if (plan.fullRun || plan.selected[static_cast<std::size_t>(test - 1)] != 0) {
            tests.push_back(test);
        }
    }
    return tests;
}

Json runSection(const RunContext& context) {
    const auto& plan = context.plan;
    const std::chrono::duration<double> duration = context.finishedAt - context.startedAt;
    return {
        {"requested_suite", context.requestedSuite},
        {"suite", plan.suite},
        {"suite_name", engine::suiteName(plan.suite)},
        {"fell_back_to_standard", plan.fellBackToStandard},
        {"mask", context.mask},
        {"full_run", plan.fullRun},
        {"tests_run", testsRun(plan)},
        {"started_at", utcTimestamp(context.startedAt)},
        {"finished_at", utcTimestamp(context.finishedAt)},
        {"duration_s", std::round(duration.count() * 1000.0) / 1000.0},
        {"time_critical_priority",
         {{"grant", grantName(context.priorityGrant)},
          {"text", platform::timeCriticalGrantText(context.priorityGrant)}}},
        {"processor_count", context.machine.processorCount},
    };
}

// The core's clock around each test that ran, and whether it dropped.
Json testClocks(const engine::BenchResult& record) {
    Json tests = Json::array();
    for (std::size_t i = 0; i < record.clocks.size(); ++i) {
        const engine::TestClock& clock = record.clocks[i];
        if (record.checks[i].state == engine::CheckState::NotRun && clock.beforeMHz == 0) {
            continue;
        }
        tests.push_back({{"test", i + 1},
                         {"effective_clock_mhz_before", std::round(clock.beforeMHz * 10.0) / 10.0},
                         {"effective_clock_mhz_after", std::round(clock.afterMHz * 10.0) / 10.0},
                         {"throttled", clock.throttled()}});
    }
    return tests;
}

Json conditionsSection(const RunContext& context) {
    return conditionsJson(context.conditions, context.priorityGrant, testClocks(context.record));
}

// The figures under their keys, each text beside the figure it shows.
Json resultSection(const engine::BenchResult& r) {
    Json result = {{"score_text", engine::scoreLine(r)}};
    for (const engine::Figure& figure : engine::kFigures) {
        result[figure.key] = decimal(r.*figure.field);
        if (figure.field == &engine::BenchResult::overallResult) {
            result["total_time_text"] = engine::totalTimeText(r);
        }
    }
    result["spare_time_s"] = decimal(r.spareTime);
    result["spare_result"] = decimal(r.spareResult);
    return result;
}

// Every run of a repeat and each measured figure's spread over them.
Json repeatSection(const RepeatOutcome& repeat) {
    Json runs = Json::array();
    for (const engine::BenchResult& run : repeat.runs) {
        runs.push_back(resultSection(run));
    }
    Json stats = Json::object();
    for (const engine::FigureStats& figure : repeat.stats) {
        // The median as the median record holds it, so the two read alike.
        stats[figure.figure->key] = {
            {"median", decimal(static_cast<float>(figure.median))},
            {"min", decimal(static_cast<float>(figure.min))},
            {"max", decimal(static_cast<float>(figure.max))},
            {"rsd_percent", std::round(figure.rsdPercent * 1000.0) / 1000.0},
        };
    }
    return {{"runs", std::move(runs)},
            {"stats", std::move(stats)},
            {"until_stable", repeat.untilStable},
            {"settled", repeat.settled}};
}

// The details list without its spacer rows; headings keep their texts.
Json detailsSection(const engine::BenchResult& record) {
    Json rows = Json::array();
    for (const auto& row : engine::benchmarkDetailsRows(record)) {
        if (!row.item.empty() || !row.description.empty()) {
            rows.push_back({{"item", row.item}, {"description", row.description}});
        }
    }
    return rows;
}

}  // namespace

Json conditionsJson(const ident::RunConditions& c, platform::PriorityGrant grant, Json tests) {
    Json busiest = Json::array();
    for (const ident::ProcessLoad& process : c.busiest) {
        busiest.push_back({{"pid", process.pid},
                           {"name", process.name},
                           {"cpu_percent", std::round(process.cpuPercent * 10.0) / 10.0}});
    }
    Json load = nullptr;
    if (c.loadAverage) {
        load = {(*c.loadAverage)[0], (*c.loadAverage)[1], (*c.loadAverage)[2]};
    }
    return {
        {"governor", c.governors},
        {"scaling_driver", c.scalingDriver},
        {"boost", c.boost ? Json(*c.boost) : Json(nullptr)},
        {"load_average", load},
        {"busiest_processes", busiest},
        {"power_source", ident::powerSourceName(c.power)},
        {"virtual_machine", c.virtualMachine},
        {"priority_granted", grantName(grant)},
        {"warnings", ident::conditionWarnings(c)},
        {"tests", std::move(tests)},
    };
}

// Each test's check of its own work; a test that did not run has none.
Json checksJson(const engine::BenchResult& record) {
    Json checks = Json::array();
    for (std::size_t i = 0; i < record.checks.size(); ++i) {
        const engine::TestCheck& check = record.checks[i];
        checks.push_back({{"test", i + 1},
                          {"ran", check.state != engine::CheckState::NotRun},
                          {"passed", check.state == engine::CheckState::Passed},
                          {"detail", check.detail}});
    }
    return checks;
}

Json programJson(const std::string& program) {
    return {{"name", program}, {"version", VELTRANE_VERSION}};
}

std::string utcTimestamp(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

std::string runJsonText(const Json& document) {
    // Host, user and device names are not always UTF-8; a stray byte must
    // not abort the output.
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
}

Json runJson(const RunContext& context) {
    Json document = {
        {"schema_version", kRunJsonSchemaVersion},
        {"program", programJson(context.program)},
        {"run", runSection(context)},
        {"conditions", conditionsSection(context)},
        {"result", resultSection(context.record)},
        {"checks", checksJson(context.record)},
        {"details", detailsSection(context.record)},
    };
    if (context.repeat != nullptr) {
        document["repeat"] = repeatSection(*context.repeat);
    }
    document["machine"] = machineJson(context.machine, context.clocks);
    return document;
}

}  // namespace veltrane::reports

#include "cli/HistoryText.h"

#include <array>
#include <cmath>
#include <nlohmann/json.hpp>

#include "cli/HistoryIds.h"
#include "engine/ScalingFigures.h"
#include "engine/TestInfo.h"
#include "platform/Format.h"

namespace veltrane::cli {

namespace {

struct FigureColumn {
    const char* heading;
    const char* name;
    double store::StoredFigures::*value;
};

constexpr std::array<FigureColumn, 8> kFigures{{
    {"CPUMarks", "CPUMarks", &store::StoredFigures::overall},
    {"ALU", "ALUMarks", &store::StoredFigures::alu},
    {"FPU SP", "FPUMarks SP", &store::StoredFigures::fpuSingle},
    {"FPU DP", "FPUMarks DP", &store::StoredFigures::fpuDouble},
    {"MIPS", "MIPS", &store::StoredFigures::mips},
    {"MFLOPS", "MFLOPS", &store::StoredFigures::mflops},
    {"RAM ALU", "RAM ALU MB/s", &store::StoredFigures::ramAlu},
    {"RAM FPU", "RAM FPU MB/s", &store::StoredFigures::ramFpu},
}};

// A test that did not run has no figure; a custom run has no overall score.
std::string figureText(const store::RunRow& run, const FigureColumn& column) {
    const double value = run.figures.*column.value;
    if (value <= 0 || (column.value == &store::StoredFigures::overall && !run.fullRun)) {
        return "-";
    }
    // Whole units cut as the result and its details show them, so a kept
    // run reads the same figures the run printed.
    return strprintf("%.0f", std::trunc(value));
}

std::string marks(const store::RunRow& run) {
    return std::string(run.inLists ? "*" : "") + (run.trusted ? "" : "!");
}

std::string shortDate(const std::string& timestamp) {
    std::string date = timestamp.substr(0, 16);
    if (date.size() > 10 && date[10] == 'T') {
        date[10] = ' ';
    }
    return date;
}

std::string cut(const std::string& text, std::size_t width) {
    return text.size() <= width ? text : text.substr(0, width - 3) + "...";
}

std::string suiteText(int suite) {
    return strprintf("%d (%s)", suite, engine::suiteName(suite));
}

// The details rows and warnings of a kept JSON record; nothing when it has none.
std::string recordText(const std::string& runJson) {
    const auto document = nlohmann::json::parse(runJson, nullptr, false);
    if (!document.is_object()) {
        return {};
    }
    std::string text;
    const auto warnings = document.value("/conditions/warnings"_json_pointer, nlohmann::json());
    for (const auto& warning : warnings) {
        if (warning.is_string()) {
            text += "  Warning: " + warning.get<std::string>() + '\n';
        }
    }
    const auto details = document.value("details", nlohmann::json::array());
    if (details.is_array() && !details.empty()) {
        text += "\nBenchmarks Details\n";
        for (const auto& row : details) {
            if (row.is_object()) {
                text +=
                    std::string(trimmedRight(strprintf("  %-40s %s", row.value("item", "").c_str(),
                                                       row.value("description", "").c_str()))) +
                    '\n';
            }
        }
    }
    return text;
}

std::string scoreText(const store::ScalingRunRow& run) {
    if (!run.trusted) {
        return "invalid";
    }
    return run.multiCoreScore > 0 ? strprintf("%.0f", run.multiCoreScore) : "-";
}

// A whole number, or a share as a percentage; "-" for anything else (null).
std::string numberText(const nlohmann::json& value, bool percent = false) {
    if (!value.is_number()) {
        return "-";
    }
    return percent ? strprintf("%.0f %%", value.get<double>() * 100)
                   : strprintf("%.0f", value.get<double>());
}

// One thread count of a kept document: its sums and efficiencies.
std::string scalingStepText(const nlohmann::json& step) {
    const int threads = step.value("threads", 0);
    std::string text = strprintf("\n%d thread%s%s\n", threads, threads == 1 ? "" : "s",
                                 threads == 1 ? "" : " at once");
    text += std::string(trimmedRight(strprintf("  %-8s %-12s %10s %10s", "Figure", "Unit", "Sum",
                                               threads > 1 ? "Efficiency" : ""))) +
            '\n';
    const auto sums = step.value("sums", nlohmann::json::object());
    const auto efficiency = step.value("efficiency", nlohmann::json::object());
    for (const engine::ScalingFigure& figure : engine::kScalingFigures) {
        const std::string rate =
            threads > 1 ? numberText(efficiency.value(figure.key, nlohmann::json()), true) : "";
        text += std::string(trimmedRight(strprintf(
                    "  %-8s %-12s %10s %10s", figure.label, figure.unit,
                    numberText(sums.value(figure.key, nlohmann::json())).c_str(), rate.c_str()))) +
                '\n';
    }
    const auto score = step.value("multi_core_score", nlohmann::json());
    text += strprintf("  %s: %s\n", engine::kMultiCoreScoreName,
                      score.is_number() ? numberText(score).c_str() : "invalid");
    return text;
}

}  // namespace

std::string scalingHistoryTable(const std::vector<store::ScalingRunRow>& runs) {
    if (runs.empty()) {
        return {};
    }
    std::string table = "\nScaling runs ('run --threads'; never in the comparison lists)\n";
    table += strprintf("%-6s %-16s %-32s %7s  %s\n", "ID", "Date (UTC)", "Machine", "Threads",
                       engine::kMultiCoreScoreName);
    for (const store::ScalingRunRow& run : runs) {
        table += strprintf("%-6s %-16s %-32s %7d  %s\n",
                           (scalingHistoryId(run.id) + (run.trusted ? "" : "!")).c_str(),
                           shortDate(run.finishedAt).c_str(), cut(run.machine, 32).c_str(),
                           run.maxThreads, scoreText(run).c_str());
    }
    return table;
}

std::string scalingHistoryText(const store::ScalingRunRow& run) {
    std::string text = "Scaling run " + scalingHistoryId(run.id) + '\n';
    text += strprintf("  %-24s %s\n", "Finished (UTC)", run.finishedAt.c_str());
    text += strprintf("  %-24s %s\n", "Kept by", run.origin.c_str());
    text += strprintf("  %-24s %s\n", "Machine", run.machine.c_str());
    text += strprintf("  %-24s %d\n", "Most threads", run.maxThreads);
    text += strprintf("  %-24s %s\n", "Self-checks",
                      run.trusted ? "passed" : "FAILED: the figures cannot be trusted");
    text += strprintf("  %-24s %s\n", engine::kMultiCoreScoreName, scoreText(run).c_str());
    const auto document = nlohmann::json::parse(run.scalingJson, nullptr, false);
    const auto steps = document.is_object()
                           ? document.value("/scaling/steps"_json_pointer, nlohmann::json())
                           : nlohmann::json();
    if (steps.is_array()) {
        for (const auto& step : steps) {
            text += step.is_object() ? scalingStepText(step) : "";
        }
    }
    return text;
}

std::string historyTable(const std::vector<store::RunRow>& runs) {
    if (runs.empty()) {
        return "No runs are kept yet: every finished 'veltrane-cli run' is.\n";
    }
    std::string table = strprintf("%-6s %-16s %-32s %-9s", "ID", "Date (UTC)", "Machine", "Suite");
    for (const auto& column : kFigures) {
        table += strprintf(" %9s", column.heading);
    }
    table += '\n';
    for (const store::RunRow& run : runs) {
        table += strprintf("%-6s %-16s %-32s %-9s", (std::to_string(run.id) + marks(run)).c_str(),
                           shortDate(run.finishedAt).c_str(), cut(run.machine, 32).c_str(),
                           engine::suiteName(run.suite));
        for (const auto& column : kFigures) {
            table += strprintf(" %9s", figureText(run, column).c_str());
        }
        table += '\n';
    }
    return table + "* in the comparison lists   ! a self-check failed: figures cannot be trusted\n";
}

std::string historyRunText(const store::RunRow& run) {
    std::string text = strprintf("Run %lld\n", static_cast<long long>(run.id));
    text += strprintf("  %-24s %s\n", "Finished (UTC)", run.finishedAt.c_str());
    text += strprintf("  %-24s %s\n", "Kept by", run.origin.c_str());
    text += strprintf("  %-24s %s\n", "Machine", run.machine.c_str());
    text += strprintf("  %-24s %s, %s\n", "Suite", suiteText(run.suite).c_str(),
                      run.fullRun ? "all seven tests" : "some tests (no overall score)");
    text += strprintf("  %-24s %s\n", "Self-checks",
                      run.trusted ? "passed" : "FAILED: the figures cannot be trusted");
    text += strprintf("  %-24s %s\n", "In the comparison lists", run.inLists ? "yes" : "no");
    for (const auto& column : kFigures) {
        text += strprintf("  %-24s %s\n", column.name, figureText(run, column).c_str());
    }
    text += strprintf("  %-24s %s\n", "Reference line", run.referenceLine.c_str());
    return text + recordText(run.runJson);
}

std::string historyCompareText(const store::RunRow& first, const store::RunRow& second) {
    std::string text;
    auto row = [&text](const std::string& label, const std::string& a, const std::string& b,
                       const std::string& ratio) {
        text += std::string(trimmedRight(strprintf("%-14s %-28s %-28s %s", label.c_str(), a.c_str(),
                                                   b.c_str(), ratio.c_str()))) +
                '\n';
    };
    const auto heading = [](const store::RunRow& run) {
        return strprintf("Run %lld", static_cast<long long>(run.id));
    };
    row("", heading(first), heading(second), "Ratio");
    row("Machine", cut(first.machine, 28), cut(second.machine, 28), "");
    row("Date (UTC)", shortDate(first.finishedAt), shortDate(second.finishedAt), "");
    row("Suite", suiteText(first.suite), suiteText(second.suite), "");
    for (const auto& column : kFigures) {
        const std::string a = figureText(first, column);
        const std::string b = figureText(second, column);
        const bool both = a != "-" && b != "-";
        row(column.name, a, b,
            both ? strprintf("%.3f", second.figures.*column.value / first.figures.*column.value)
                 : "-");
    }
    if (first.suite != second.suite) {
        text += "The runs are of different suites: their tests run different code.\n";
    }
    if (!first.trusted || !second.trusted) {
        text += "A self-check failed in at least one run: its figures cannot be trusted.\n";
    }
    return text;
}

}  // namespace veltrane::cli

#include "cli/ScalingText.h"

#include "platform/Format.h"

namespace veltrane::cli {

namespace {

// Threads side by side in one table; more go into further tables.
constexpr std::size_t kThreadsPerTable = 8;

struct Column {
    std::string heading;
    std::string reports::ScalingFigureRow::*text = nullptr;
    std::size_t thread = 0;  // with no text: this thread's figure
};

std::string cell(const reports::ScalingFigureRow& row, const Column& column) {
    return column.text != nullptr ? row.*column.text : row.perThread.at(column.thread);
}

std::string table(const reports::ScalingStepView& step, const std::vector<Column>& columns) {
    std::string text = strprintf("  %-8s %-12s", "Figure", "Unit");
    for (const Column& column : columns) {
        text += strprintf(" %10s", column.heading.c_str());
    }
    text = std::string(trimmedRight(text)) + '\n';
    for (const reports::ScalingFigureRow& row : step.figures) {
        std::string line = strprintf("  %-8s %-12s", row.label.c_str(), row.unit.c_str());
        for (const Column& column : columns) {
            line += strprintf(" %10s", cell(row, column).c_str());
        }
        text += std::string(trimmedRight(line)) + '\n';
    }
    return text;
}

std::vector<Column> threadColumns(std::size_t first, std::size_t count) {
    std::vector<Column> columns;
    for (std::size_t thread = first; thread < first + count; ++thread) {
        columns.push_back({strprintf("Thread %zu", thread + 1), nullptr, thread});
    }
    return columns;
}

std::vector<Column> summaryColumns(const reports::ScalingStepView& step) {
    using Row = reports::ScalingFigureRow;
    std::vector<Column> columns;
    if (step.threads > 1) {
        columns.push_back({"Sum", &Row::sum});
    }
    if (step.showsEfficiency) {
        columns.push_back({"Efficiency", &Row::efficiency});
    }
    columns.push_back({"Slowest", &Row::slowest});
    return columns;
}

// One table when the threads fit side by side; otherwise the sums first,
// then the threads eight at a time.
std::string tables(const reports::ScalingStepView& step) {
    const auto threads = static_cast<std::size_t>(step.threads);
    if (threads <= kThreadsPerTable) {
        auto columns = threadColumns(0, threads);
        const auto summary = summaryColumns(step);
        columns.insert(columns.end(), summary.begin(), summary.end());
        return table(step, columns);
    }
    std::string text = table(step, summaryColumns(step));
    for (std::size_t first = 0; first < threads; first += kThreadsPerTable) {
        const std::size_t count = std::min(kThreadsPerTable, threads - first);
        text += strprintf("\n  Threads %zu to %zu\n", first + 1, first + count) +
                table(step, threadColumns(first, count));
    }
    return text;
}

}  // namespace

std::string scalingText(const std::vector<reports::ScalingStepView>& steps) {
    std::string text;
    for (const reports::ScalingStepView& step : steps) {
        text += '\n' + step.heading + (step.stopped ? " (stopped)" : "") + '\n';
        text += tables(step);
        text += "  " + step.score + '\n';
        text += "  " + step.placement + '\n';
    }
    if (!steps.empty() && steps.back().showsEfficiency) {
        text +=
            "\nEfficiency: the sum divided by the thread count times the one-thread figure. "
            "Slowest: the\nslowest thread's time; every test starts in all threads together.\n";
    }
    return text;
}

}  // namespace veltrane::cli

// The multi-core run as its windows show it: the progress rows from the
// run's events, and the tables and chart of what it measured.
#include <gtest/gtest.h>

#include <thread>

#include "engine/Progress.h"
#include "engine/ScalingFigures.h"
#include "shellcore/ScalingProgress.h"
#include "shellcore/ScalingResults.h"
#include "support/ScalingSample.h"

namespace veltrane::shell {
namespace {

using engine::BenchResult;
using engine::CheckState;
using suites::ScalingOutcome;
using suites::ScalingStep;

using test::addScalingStep;
using test::scalingThread;

// One thread at 100, then four at 90 each: 3.6 times one thread, 90 %.
ScalingOutcome fourThreads() {
    ScalingOutcome outcome;
    addScalingStep(outcome, {scalingThread(100)});
    addScalingStep(outcome, std::vector<BenchResult>(4, scalingThread(90)));
    return outcome;
}

TEST(ScalingTables, ListEachThreadThenTheSumAndEfficiency) {
    const auto tables = scalingTables(fourThreads());
    ASSERT_EQ(tables.size(), 2u);
    const ScalingTable& four = tables[1];
    EXPECT_EQ(four.heading, "4 threads");
    ASSERT_EQ(four.columns.size(), 7u);
    EXPECT_EQ(four.columns.front(), "Integer\n(ALUMarks)");
    EXPECT_EQ(four.columns.back(), "RAM FPU\n(MB/s)");
    ASSERT_EQ(four.rows.size(), 6u);
    const std::vector<std::vector<std::string>> expected{
        {"Thread 1", "90.0"}, {"Thread 4", "90.0"}, {"Sum", "360"}, {"Efficiency", "90 %"}};
    for (const auto& row : expected) {
        const auto found = std::find_if(four.rows.begin(), four.rows.end(),
                                        [&](const auto& r) { return r.front() == row.front(); });
        ASSERT_NE(found, four.rows.end()) << row.front();
        EXPECT_EQ((*found)[1], row[1]) << row.front();
        EXPECT_EQ((*found)[7], row[1]) << row.front();
    }
    EXPECT_EQ(tables[0].rows[1][1], "100 %");
    EXPECT_EQ(four.score.rfind("Multi-core score: ", 0), 0u) << four.score;
}

TEST(ScalingTables, SayWhatWasNotRunFailedOrPinned) {
    ScalingOutcome outcome;
    addScalingStep(outcome, {scalingThread(100)});
    BenchResult failed = scalingThread(80);
    failed.checks[0].state = CheckState::Failed;
    addScalingStep(outcome, {scalingThread(80, 2), failed});
    outcome.steps[1].stopped = outcome.stopped = true;
    outcome.steps[1].processors = {3, -1};
    const ScalingTable table = scalingTables(outcome)[1];
    const struct {
        std::size_t row, column;
        const char* text;
    } cases[] = {
        {2, 0, "Thread 1 (processor 3)"},
        {3, 0, "Thread 2"},
        {3, 1, "80.0 (check failed)"},
        {2, 3, "not run"},
        {0, 3, "not run"},
        {1, 3, "not run"},
        {0, 1, "160"},
        {1, 1, "80 %"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(table.rows[c.row][c.column], c.text) << c.row << "," << c.column;
    }
    EXPECT_EQ(table.score, "Multi-core score: none, the run was stopped before every test had run");
    EXPECT_NE(scalingOverview(outcome).find("Stopped before the end"), std::string::npos);
}

TEST(ScalingOverview, NamesTheCountsTheScoreOrWhyNot) {
    const std::string four = scalingOverview(fourThreads());
    EXPECT_EQ(four.rfind("Measured at 1 and 4 threads. Multi-core score: ", 0), 0u) << four;
    EXPECT_NE(four.find(" at 4 threads."), std::string::npos) << four;
    ScalingOutcome failed;
    failed.error = "a thread could not start";
    EXPECT_EQ(scalingOverview(failed),
              "The multi-core benchmark could not run: a thread could not start.");
    EXPECT_EQ(scalingOverview(ScalingOutcome{}),
              "The multi-core benchmark was stopped before it measured anything.");
}

TEST(ScalingPlanText, SaysTheCountsThePinningNoticesOrRefusal) {
    const std::vector<int> four{0, 1, 2, 3};
    const struct {
        int threads;
        bool pin;
        std::uint64_t memory;
        const char* start;
    } cases[] = {
        {1, false, 0, "Measures one thread, not pinned."},
        {4, true, 0, "Measures one thread, then 4 threads, each thread pinned to a processor."},
        {6, false, 0, "Measures one thread, then 6 threads, not pinned.\nNote: 6 threads on 4 "},
        {64, false, 1'000'000, "Cannot run: 64 threads need "},
    };
    for (const auto& c : cases) {
        const auto plan = engine::planScaling({c.threads, false}, c.pin, four, c.memory);
        const std::string text = scalingPlanText(plan);
        EXPECT_EQ(text.rfind(c.start, 0), 0u) << text;
    }
}

TEST(ScalingChart, GroupsTheFiguresWithABarPerThreadCount) {
    const reports::ChartData chart = scalingChart(fourThreads());
    EXPECT_EQ(chart.groupCount, 14);
    EXPECT_EQ(chart.seriesCount, 1);
    ASSERT_EQ(chart.entries.size(), 14u);
    EXPECT_EQ(chart.entries[0].value, 100);
    EXPECT_EQ(chart.entries[1].value, 360);
    EXPECT_EQ(chart.entries[0].label, "Integer, 1 thread: 1.00 x");
    EXPECT_EQ(chart.entries[13].label, "RAM FPU, 4 threads: 3.60 x");
    EXPECT_NE(chart.entries[0].color, chart.entries[1].color);
    EXPECT_EQ(scalingChart(ScalingOutcome{}).groupCount, 0);
}

TEST(ScalingChart, ShowsNoBarForAFigureNotMeasured) {
    ScalingOutcome outcome;
    addScalingStep(outcome, {scalingThread(100)});
    addScalingStep(outcome, {scalingThread(100, 1), scalingThread(100, 1)});
    const reports::ChartData chart = scalingChart(outcome);
    EXPECT_EQ(chart.entries[1].value, 200);
    EXPECT_EQ(chart.entries[3].value, 0);
    EXPECT_EQ(chart.entries[3].label, "FPU SP, 2 threads: not measured");
}

TEST(ScalingProgressBar, StepsAndWrapsLikeTheOtherWindows) {
    const std::pair<int, int> cases[] = {{0, 0}, {1, 10}, {10, 100}, {11, 10}, {25, 50}};
    for (const auto& [ticks, position] : cases) {
        EXPECT_EQ(barAfterTicks(ticks).position, position) << ticks;
    }
}

std::vector<std::string> states(const ScalingProgressView& view) {
    std::vector<std::string> texts;
    for (const auto& row : view.rows) {
        texts.push_back(row.state);
    }
    return texts;
}

TEST(ScalingMonitor, ShowsEveryThreadOfTheLargestStep) {
    ScalingMonitor monitor({1, 3});
    ASSERT_EQ(monitor.rowCount(), 3);
    EXPECT_EQ(monitor.view().heading, "Starting the threads");
    monitor.stepBegins(1);
    monitor.testBegins(1, 2);
    monitor.tick(0);
    monitor.tick(0);
    monitor.tick(7);  // not a row: ignored
    ScalingProgressView view = monitor.view();
    EXPECT_EQ(view.heading, "Step 1 of 2: 1 thread, test 2 of 7 (D3DMATRIX MULTIPLY)");
    EXPECT_EQ(view.rows[2].label, "Thread 3");
    EXPECT_EQ(view.rows[0].bar.position, 20);
    EXPECT_EQ(states(view),
              (std::vector<std::string>{"Running D3DMATRIX MULTIPLY", "Waits for the 3-thread step",
                                        "Waits for the 3-thread step"}));
    ScalingStep step;
    step.threads = 3;
    monitor.stepBegins(3);
    monitor.testBegins(3, 1);
    EXPECT_EQ(monitor.view().rows[0].bar.position, 0);
    monitor.testEnds(step, 1);
    EXPECT_EQ(monitor.view().rows[1].state, "INTEGER BENCHMARK ended");
    monitor.requestStop();
    EXPECT_TRUE(monitor.stopRequested());
    EXPECT_NE(monitor.view().heading.find("stopping after this test"), std::string::npos);
    step.stopped = true;
    monitor.stepEnds(step, {});
    EXPECT_EQ(states(monitor.view()), (std::vector<std::string>(3, "Stopped")));
}

// Each thread sends three ticks a test and reports its number as its figures.
class TickingWorker final : public suites::ScalingWorker {
public:
    void runTest(int, BenchResult& record) override {
        for (int tick = 0; tick < 3; ++tick) {
            engine::sendTick(record);
        }
    }
};

TEST(ScalingMonitor, CountsTicksFromTheRunsOwnThreads) {
    ScalingMonitor monitor({1, 4});
    const auto workers = [](int) { return std::make_unique<TickingWorker>(); };
    engine::ScalingPlan plan;
    plan.threadCounts = {1, 4};
    const ScalingOutcome outcome = suites::runScaling(plan, monitor, workers);
    ASSERT_EQ(outcome.steps.size(), 2u);
    const ScalingProgressView view = monitor.view();
    EXPECT_EQ(view.heading, "Step 2 of 2: 4 threads, done");
    for (const auto& row : view.rows) {
        EXPECT_EQ(row.bar.position, 30) << row.label;
        EXPECT_EQ(row.state, "Done") << row.label;
    }
}

}  // namespace
}  // namespace veltrane::shell

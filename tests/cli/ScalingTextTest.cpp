// The scaling run's texts: the tables, the progress lines, the history's
// ids and its table of scaling runs.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/HistoryIds.h"
#include "cli/HistoryText.h"
#include "cli/ScalingProgress.h"
#include "cli/ScalingText.h"
#include "support/ScalingSample.h"

namespace veltrane::cli {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(ScalingText, ATablePerThreadCountWithItsColumnsAligned) {
    const std::string text = scalingText(reports::scalingView(test::scalingSample(0.9)));
    const auto lines = linesOf(text);
    const auto heading = std::find(lines.begin(), lines.end(), "2 threads at once");
    ASSERT_NE(heading, lines.end()) << text;
    const std::string& columns = *(heading + 1);
    EXPECT_NE(columns.find("Thread 1   Thread 2        Sum Efficiency    Slowest"),
              std::string::npos)
        << columns;
    const std::string& integer = *(heading + 2);
    EXPECT_NE(integer.find("Integer  ALUMarks"), std::string::npos) << integer;
    // Each cell ends where its heading ends.
    EXPECT_EQ(integer.find("90 %") + 4, columns.find("Efficiency") + 10) << text;
    EXPECT_EQ(integer.find("1800") + 4, columns.find("Sum") + 3) << text;
    EXPECT_NE(text.find("  Multi-core score: "), std::string::npos);
    EXPECT_EQ(text.find("CPUMarks"), std::string::npos) << "the score is named apart";
    EXPECT_NE(text.find("\n1 thread\n  Figure   Unit           Thread 1    Slowest\n"),
              std::string::npos)
        << text;
}

TEST(ScalingText, ManyThreadsGoIntoTablesOfEight) {
    reports::ScalingStepView step;
    step.threads = 10;
    step.heading = "10 threads at once";
    step.showsEfficiency = true;
    step.figures.push_back(
        {"MIPS", "MIPS", std::vector<std::string>(10, "4000"), "40000", "100 %", "1.00 s"});
    const std::string text = scalingText({step});
    EXPECT_NE(text.find("  Figure   Unit                Sum Efficiency    Slowest\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\n  Threads 1 to 8\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n  Threads 9 to 10\n  Figure   Unit           Thread 9  Thread 10\n"),
              std::string::npos)
        << text;
}

TEST(ScalingProgressLines, ABarOnceTheTestsTicksAreKnown) {
    const struct {
        int thread, ticks, expected;
        const char* line;
    } cases[] = {
        {0, 12, 0, "  thread 1    12 ticks"},
        {1, 5, 10, "  thread 2    [##########..........]  50 %"},
        {0, 30, 10, "  thread 1    [####################] 100 %"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(threadProgressLine(c.thread, c.ticks, c.expected), c.line);
    }
    EXPECT_EQ(testEndLine(4, {7, 8}, 1.5),
              "  4 MIPS BENCHMARK               done    1.50 s  ticks 1:7 2:8");
}

TEST(HistoryIds, RunsAndScalingRunsAreTypedApart) {
    const struct {
        const char* text;
        bool valid;
        std::int64_t number;
        bool scaling;
    } cases[] = {
        {"7", true, 7, false},   {"007", true, 7, false}, {"m3", true, 3, true},
        {"m", false, 0, false},  {"x", false, 0, false},  {"0", false, 0, false},
        {"m0", false, 0, false}, {"-1", false, 0, false}, {"m-1", false, 0, false},
        {"3m", false, 0, false}, {"", false, 0, false},   {"99999999999999999999", false, 0, false},
    };
    for (const auto& c : cases) {
        const auto id = parseHistoryId(c.text);
        ASSERT_EQ(id.has_value(), c.valid) << c.text;
        if (id) {
            EXPECT_EQ(id->number, c.number) << c.text;
            EXPECT_EQ(id->scaling, c.scaling) << c.text;
        }
    }
    EXPECT_EQ(historyIdText({12, true}), "m12");
    EXPECT_EQ(historyIdText({12, false}), "12");
}

store::ScalingRunRow keptScalingRun(bool trusted) {
    return {4, "2026-12-07T05:30:00Z", "cli",   "Pentium 4 2000 MHz",
            2, trusted ? 25000.4 : 0,  trusted, ""};
}

TEST(ScalingHistoryText, ItsOwnTableWithIdsOfTheirOwn) {
    EXPECT_EQ(scalingHistoryTable({}), "");
    const std::string table = scalingHistoryTable({keptScalingRun(true), keptScalingRun(false)});
    EXPECT_NE(table.find("never in the comparison lists"), std::string::npos) << table;
    EXPECT_NE(table.find("\nm4     2026-12-07 05:30 Pentium 4 2000 MHz"), std::string::npos)
        << table;
    EXPECT_NE(table.find("      2  25000\n"), std::string::npos) << table;
    EXPECT_NE(table.find("\nm4!"), std::string::npos) << table;
    EXPECT_NE(table.find("      2  invalid\n"), std::string::npos) << table;
}

TEST(ScalingHistoryText, ShowReadsTheSumsFromTheDocument) {
    store::ScalingRunRow run = keptScalingRun(true);
    run.scalingJson = R"({"scaling": {"steps": [
        {"threads": 1, "sums": {"mips": 4000}, "efficiency": {"mips": null}, "multi_core_score": 9},
        {"threads": 2, "sums": {"mips": 7200}, "efficiency": {"mips": 0.9},
         "multi_core_score": null}]}})";
    const std::string text = scalingHistoryText(run);
    EXPECT_NE(text.find("Scaling run m4\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  MIPS     MIPS               4000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  MIPS     MIPS               7200       90 %\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("Multi-core score: invalid"), std::string::npos) << text;
    run.scalingJson = "{damaged";
    EXPECT_NE(scalingHistoryText(run).find("Most threads"), std::string::npos);
}

}  // namespace
}  // namespace veltrane::cli

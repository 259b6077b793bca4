#include <gtest/gtest.h>

#include <string>

#include "engine/RepeatStats.h"

namespace veltrane::engine {
namespace {

// A run of test 4 only, with its MIPS figure; the integer figure is filled
// in to show that a test not selected is left out all the same.
BenchResult mipsRun(float mips) {
    BenchResult run{.integerResult = 7, .mipsResult = mips, .mipsTime = 2, .overallTime = 3};
    run.selected = {0, 0, 0, 1, 0, 0, 0};
    return run;
}

std::vector<BenchResult> mipsRuns(const std::vector<float>& values) {
    std::vector<BenchResult> runs;
    for (const float value : values) {
        runs.push_back(mipsRun(value));
    }
    return runs;
}

TEST(RepeatStats, MedianMinMaxAndSpreadOfEachCount) {
    struct Case {
        std::vector<float> mips;
        double median, min, max, rsd;
    };
    const Case cases[] = {
        {{100}, 100, 100, 100, 0},                  // one run: no spread
        {{90, 110}, 100, 90, 110, 14.1421},         // two runs
        {{130, 100, 110}, 110, 100, 130, 13.4782},  // odd count, unsorted
        {{4, 1, 3, 2}, 2.5, 1, 4, 51.6398},         // even count: mean of the middle two
        {{0, 0, 0}, 0, 0, 0, 0},                    // a zero mean, not 0/0
        {{-1, 1}, 0, -1, 1, 0},                     // a zero mean with a spread
    };
    for (const Case& c : cases) {
        const auto runs = mipsRuns(c.mips);
        const auto stats = repeatStats(runs);
        ASSERT_EQ(stats.size(), 3u);  // total time, MIPS, MIPS time; not the integer figure
        const FigureStats& mips = stats[1];
        EXPECT_STREQ(mips.figure->key, "mips");
        SCOPED_TRACE(testing::PrintToString(c.mips));
        EXPECT_EQ(std::tuple(mips.median, mips.min, mips.max), std::tuple(c.median, c.min, c.max));
        EXPECT_NEAR(mips.rsdPercent, c.rsd, 1e-4);
        EXPECT_EQ(medianRecord(runs).mipsResult, static_cast<float>(c.median));
    }
}

TEST(RepeatStats, MeasuredFiguresFollowTheTestsThatRan) {
    auto keys = [](const BenchResult& run) {
        std::string text;
        for (const auto& figure : repeatStats({run})) {
            text += std::string(figure.figure->key) + " ";
        }
        return text;
    };
    BenchResult custom = mipsRun(1);
    custom.selected = {0, 0, 0, 0, 0, 1, 0};
    EXPECT_EQ(keys(custom),
              "overall_time_s ram_alu_mb_per_s ram_alu_assign_mb_per_s ram_alu_add_mb_per_s "
              "ram_alu_scale_mb_per_s ram_alu_triad_mb_per_s ");
    BenchResult full = mipsRun(1);
    full.fullRun = 1;
    EXPECT_EQ(repeatStats({full}).size(), kFigures.size());
    EXPECT_TRUE(repeatStats({}).empty());
}

TEST(RepeatStats, TheMedianRecordTakesEveryFigureAndTheFirstRunsSettings) {
    std::vector<BenchResult> runs(4);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        for (const Figure& figure : kFigures) {
            runs[i].*figure.field = static_cast<float>(10 * (i + 1));  // 10, 20, 30, 40
        }
        runs[i].suite = static_cast<std::int32_t>(i);
        runs[i].fullRun = static_cast<std::uint8_t>(i == 0);
    }
    const BenchResult record = medianRecord(runs);
    for (const Figure& figure : kFigures) {
        EXPECT_EQ(record.*figure.field, 25.0f) << figure.key;
    }
    EXPECT_EQ(record.suite, 0);
    EXPECT_EQ(record.fullRun, 1);
    // A check failed in one run leaves its figure invalid and no overall score.
    runs[2].checks[3] = checkFailed("ticks");
    const BenchResult checked = medianRecord(runs);
    EXPECT_EQ(checked.checks[3].detail, "ticks");
    EXPECT_EQ(checked.overallResult, 0.0f);
    EXPECT_EQ(checked.mipsResult, 25.0f);
}

TEST(RepeatStats, AnotherRunIsWantedOnlyAboveTheSettledSpread) {
    const Figure& mips = kFigures[8];
    struct Case {
        double rsd;
        bool another;
    };
    for (const Case c : {Case{0, false}, Case{3.5, false}, Case{3.5001, true}, Case{50, true}}) {
        EXPECT_EQ(needsAnotherRun({{&mips, 1, 1, 1, 0}, {&mips, 1, 1, 1, c.rsd}}), c.another)
            << c.rsd;
    }
    struct PlanCase {
        RepeatPlan plan;
        std::vector<float> mips;
        bool another;
    };
    const PlanCase plans[] = {
        {{3, false}, {100, 200}, true},        // short of the count asked for
        {{3, false}, {100, 200, 300}, false},  // spread, but not asked to settle
        {{3, true}, {100, 200, 300}, true},    // spread: one more
        {{3, true}, {100, 100, 100}, false},   // settled
        {{3, true}, {100, 103, 106}, false},   // 2.9 %: settled
        {{3, true}, {100, 200, 300, 100, 200, 300, 1, 2, 3}, false},  // three times the count
    };
    for (const PlanCase& c : plans) {
        EXPECT_EQ(wantsAnotherRun(c.plan, mipsRuns(c.mips)), c.another)
            << testing::PrintToString(c.mips) << " of " << c.plan.planned;
    }
}

}  // namespace
}  // namespace veltrane::engine

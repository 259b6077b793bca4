// What a scaling run asks for, plans and makes of its threads' figures.
#include <gtest/gtest.h>

#include "engine/ScalingFigures.h"
#include "engine/Scores.h"

namespace veltrane::engine {
namespace {

TEST(ScalingFigures, ThreadRequestsTakeAllOrACountInRange) {
    struct Case {
        const char* text;
        std::optional<int> count;  // 0: all
    };
    for (const Case& c : std::initializer_list<Case>{{"all", 0},
                                                     {"1", 1},
                                                     {"64", 64},
                                                     {"1024", 1024},
                                                     {"0", std::nullopt},
                                                     {"1025", std::nullopt},
                                                     {"-2", std::nullopt},
                                                     {"4x", std::nullopt},
                                                     {"", std::nullopt},
                                                     {" 4", std::nullopt},
                                                     {"ALL", std::nullopt},
                                                     {"99999999999", std::nullopt}}) {
        const auto request = parseThreadRequest(c.text);
        ASSERT_EQ(request.has_value(), c.count.has_value()) << c.text;
        if (request) {
            EXPECT_EQ(request->all, *c.count == 0) << c.text;
            EXPECT_EQ(request->count, *c.count) << c.text;
        }
    }
}

TEST(ScalingFigures, PlansOneThreadThenTheCountAsked) {
    const std::vector<int> two{4, 6};
    constexpr std::uint64_t kPlenty = 64ull << 30;
    struct Case {
        ThreadRequest request;
        bool pin;
        std::vector<int> counts;
        std::vector<int> pins;
        bool notice;
    };
    for (const Case& c : std::initializer_list<Case>{
             {{0, true}, false, {1, 2}, {}, false},
             {{1, false}, false, {1}, {}, false},
             {{2, false}, true, {1, 2}, {4, 6}, false},
             {{4, false}, false, {1, 4}, {}, true},
             {{5, false}, true, {1, 5}, {4, 6, 4, 6, 4}, true},
         }) {
        const ScalingPlan plan = planScaling(c.request, c.pin, two, kPlenty);
        EXPECT_FALSE(plan.refusal);
        EXPECT_EQ(plan.threadCounts, c.counts);
        EXPECT_EQ(plan.pinTo, c.pins);
        ASSERT_EQ(plan.notices.size(), c.notice ? 1u : 0u);
        if (c.notice) {
            EXPECT_NE(plan.notices[0].find("on 2 processors"), std::string::npos)
                << plan.notices[0];
        }
    }
}

TEST(ScalingFigures, ArraysBeyondHalfTheMemoryAreRefusedWithTheMostThatFit) {
    const std::uint64_t memory = 10 * kScalingBytesPerThread;
    EXPECT_FALSE(planScaling({5, false}, false, {0, 1}, memory).refusal);
    const ScalingPlan plan = planScaling({6, false}, false, {0, 1}, memory);
    ASSERT_TRUE(plan.refusal);
    EXPECT_NE(plan.refusal->find("at most 5 threads"), std::string::npos) << *plan.refusal;
    EXPECT_FALSE(planScaling({1024, false}, false, {0}, 0).refusal);  // memory unknown
}

BenchResult threadRecord(float scale) {
    BenchResult record;
    record.integerResult = 100 * scale;
    record.floatResult = 200 * scale;
    record.doubleResult = 300 * scale;
    record.mipsResult = 400 * scale;
    record.mflopsResult = 500 * scale;
    record.ramAluResult = 6000 * scale;
    record.ramAluTriad = 6100 * scale;
    record.ramFpuResult = 7000 * scale;
    record.ramFpuAssign = 7100 * scale;
    for (auto& check : record.checks) {
        check.state = CheckState::Passed;
    }
    return record;
}

TEST(ScalingFigures, SumsEveryFigureAndRateAndScoresTheSums) {
    const ScalingSummary one = summariseScaling({threadRecord(1)}, {}, nullptr);
    EXPECT_EQ(one.efficiency, (std::array<double, 7>{}));
    const ScalingSummary two =
        summariseScaling({threadRecord(0.9f), threadRecord(0.7f)}, {1, 2, 3, 4, 5, 6, 7}, &one);
    EXPECT_FLOAT_EQ(two.sums.integerResult, 160);
    EXPECT_FLOAT_EQ(two.sums.ramAluTriad, 6100 * 1.6f);
    EXPECT_FLOAT_EQ(two.sums.ramFpuAssign, 7100 * 1.6f);
    for (const double efficiency : two.efficiency) {
        EXPECT_NEAR(efficiency, 0.8, 1e-6);
    }
    EXPECT_EQ(two.slowestSeconds[6], 7);
    EXPECT_TRUE(two.trusted);
    EXPECT_FLOAT_EQ(two.multiCoreScore, overallScore(two.sums));
    EXPECT_FLOAT_EQ(two.multiCoreScore, 1.6f * one.multiCoreScore);
}

TEST(ScalingFigures, OneFailedCheckInAnyThreadLeavesNoScore) {
    BenchResult failed = threadRecord(1);
    failed.checks[4] = checkFailed("wrong");
    const ScalingSummary summary = summariseScaling({threadRecord(1), failed}, {}, nullptr);
    EXPECT_FALSE(summary.trusted);
    EXPECT_EQ(summary.multiCoreScore, 0.0f);
    EXPECT_FLOAT_EQ(summary.sums.mflopsResult, 1000);
}

TEST(ScalingFigures, AFigureMissingAloneGivesNoEfficiency) {
    BenchResult zero = threadRecord(1);
    zero.mipsResult = 0;
    const ScalingSummary one = summariseScaling({zero}, {}, nullptr);
    const ScalingSummary two = summariseScaling({threadRecord(1), threadRecord(1)}, {}, &one);
    EXPECT_EQ(two.efficiency[3], 0.0);
    EXPECT_NEAR(two.efficiency[0], 1.0, 1e-9);
}

}  // namespace
}  // namespace veltrane::engine

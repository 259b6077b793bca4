// A scaling run's rows and JSON document, from runs measured by hand.
#include <gtest/gtest.h>

#include "reports/ScalingJson.h"
#include "reports/ScalingView.h"
#include "support/FakeCpu.h"
#include "support/ScalingSample.h"

namespace veltrane::reports {
namespace {

using Json = nlohmann::ordered_json;

TEST(ScalingView, EachThreadTheSumAndTheEfficiencyPerFigure) {
    const auto views = scalingView(test::scalingSample(0.9));
    ASSERT_EQ(views.size(), 2u);
    const ScalingStepView& one = views[0];
    EXPECT_EQ(one.heading, "1 thread");
    EXPECT_FALSE(one.showsEfficiency);
    ASSERT_EQ(one.figures.size(), 7u);
    EXPECT_EQ(one.figures[0].efficiency, "");
    const ScalingStepView& two = views[1];
    EXPECT_EQ(two.heading, "2 threads at once");
    const ScalingFigureRow& integer = two.figures[0];
    EXPECT_EQ(integer.label, "Integer");
    EXPECT_EQ(integer.perThread, (std::vector<std::string>{"900", "900"}));
    EXPECT_EQ(integer.sum, "1800");
    EXPECT_EQ(integer.efficiency, "90 %");
    EXPECT_EQ(integer.slowest, "2.50 s");
    EXPECT_EQ(two.figures[6].sum, "12600");
    EXPECT_EQ(two.score.rfind("Multi-core score: ", 0), 0u) << two.score;
    EXPECT_EQ(two.placement, "Threads placed by the scheduler");
}

TEST(ScalingView, AFailedCheckLeavesItsFigureAndTheScoreUnknown) {
    const auto views = scalingView(test::scalingSample(0.9, std::pair{1, 4}));
    const ScalingStepView& two = views[1];
    const ScalingFigureRow& mips = two.figures[3];
    EXPECT_EQ(mips.perThread, (std::vector<std::string>{"3600", "invalid"}));
    EXPECT_EQ(mips.sum, "-");
    EXPECT_EQ(mips.efficiency, "-");
    EXPECT_EQ(two.figures[2].efficiency, "90 %") << "the other figures stand";
    EXPECT_FALSE(two.trusted);
    EXPECT_NE(two.score.find("invalid"), std::string::npos) << two.score;
    EXPECT_TRUE(views[0].trusted);
}

TEST(ScalingView, PlacementNamesEachPinnedThread) {
    const struct {
        std::vector<int> processors;
        const char* text;
    } cases[] = {
        {{-1, -1}, "Threads placed by the scheduler"},
        {{0, 1}, "Pinned: thread 1 on processor 0, thread 2 on processor 1"},
        {{3}, "Pinned: thread 1 on processor 3"},
        {{}, "Threads placed by the scheduler"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(placementText(c.processors), c.text);
    }
}

class ScalingJsonTest : public ::testing::Test {
protected:
    Json document(const suites::ScalingOutcome& outcome, bool pinned = false) {
        plan.threadCounts = {1, 2};
        if (pinned) {
            plan.pinTo = {0, 1};
        }
        const auto started = std::chrono::system_clock::time_point{} + std::chrono::hours(24 * 365);
        const ScalingContext context{outcome,
                                     plan,
                                     engine::ThreadRequest{0, true},
                                     pinned,
                                     machine,
                                     started,
                                     started + std::chrono::seconds(45),
                                     ident::RunConditions{},
                                     platform::PriorityGrant::NotAsked,
                                     "veltrane-cli",
                                     ident::ClockFacts{}};
        return scalingJson(context);
    }

    engine::ScalingPlan plan;
    ident::MachineFacts machine = test::machineOfDump("pentium4-northwood", 2000.0f);
};

TEST_F(ScalingJsonTest, EveryThreadCountWithItsThreadsSumsAndEfficiencies) {
    auto outcome = test::scalingSample(0.9);
    outcome.steps[1].processors = {0, 1};
    const Json doc = document(outcome, true);
    EXPECT_EQ(doc["schema_version"], kScalingJsonSchemaVersion);
    const Json& scaling = doc["scaling"];
    EXPECT_EQ(scaling["plan"]["threads_asked"], "all");
    EXPECT_EQ(scaling["plan"]["thread_counts"], Json({1, 2}));
    EXPECT_EQ(scaling["duration_s"], 45.0);
    ASSERT_EQ(scaling["steps"].size(), 2u);
    const Json& one = scaling["steps"][0];
    EXPECT_TRUE(one["efficiency"]["mips"].is_null());
    EXPECT_TRUE(one["per_thread"][0]["processor"].is_null());
    const Json& two = scaling["steps"][1];
    EXPECT_EQ(two["threads"], 2);
    EXPECT_EQ(two["per_thread"].size(), 2u);
    EXPECT_EQ(two["per_thread"][1]["processor"], 1);
    EXPECT_EQ(two["per_thread"][1]["figures"]["mips"], 3600.0);
    EXPECT_EQ(two["sums"]["mips"], 7200.0);
    EXPECT_EQ(two["efficiency"]["mips"], 0.9);
    EXPECT_EQ(two["slowest_thread_s"][0], 2.5);
    EXPECT_TRUE(two["multi_core_score"].is_number());
    EXPECT_TRUE(two["trusted"]);
    EXPECT_TRUE(doc["machine"].is_object());
}

TEST_F(ScalingJsonTest, AFailedCheckIsNullAndTheScoreWithIt) {
    const Json doc = document(test::scalingSample(0.9, std::pair{0, 6}));
    const Json& two = doc["scaling"]["steps"][1];
    EXPECT_TRUE(two["per_thread"][0]["figures"]["ram_alu_mb_per_s"].is_null());
    EXPECT_EQ(two["per_thread"][0]["checks"][5]["passed"], false);
    EXPECT_EQ(two["per_thread"][1]["figures"]["ram_alu_mb_per_s"], 5400.0);
    EXPECT_TRUE(two["multi_core_score"].is_null());
    EXPECT_FALSE(two["trusted"]);
}

}  // namespace
}  // namespace veltrane::reports

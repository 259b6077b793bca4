#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "engine/Scores.h"
#include "engine/StreamBenchmark.h"

namespace veltrane::engine {
namespace {

TEST(Scores, FormulasAtTheirReferencePoints) {
    // from the tick readings, with the single-precision millisecond, truncated
    EXPECT_EQ(static_cast<int>(mipsScore(elapsedSeconds(0.0f, 2560))), 7999);
    EXPECT_EQ(static_cast<int>(mflopsScore(elapsedSeconds(0.0f, 2560))), 6599);
    EXPECT_EQ(static_cast<int>(floatScore(elapsedSeconds(0.0f, 1010, 10))), 361'599);
    EXPECT_NEAR(mflopsScore(1.7) / mipsScore(1.7), 0.825, 1e-12);
    EXPECT_NEAR(mflopsScore(1.7, 0.03125) / mflopsScore(1.7), 32.0 / 33.0, 1e-12);
    // integerScore and doubleScore: the timed tests hold their exact figures
}

TEST(Scores, ElapsedTimeUsesTheSinglePrecisionStartAndNeverReachesZero) {
    // a start reading above 2^24 ms is rounded to a float
    const float t0 = static_cast<float>(16'777'217u);
    EXPECT_EQ(t0, 16'777'216.0f);
    EXPECT_NEAR(elapsedSeconds(t0, 16'778'217u), 1.001 * (1.0 + 4.75e-8), 1e-9);
    EXPECT_EQ(elapsedSeconds(100.0f, 100), 0.001);
    EXPECT_EQ(elapsedSeconds(100.0f, 105, 10), 0.001);  // test 2 under 10 ms
    EXPECT_GT(floatScore(elapsedSeconds(100.0f, 105, 10)), 0.0);
}

TEST(Scores, OverallScoreWeighsTheSevenFigures) {
    BenchResult r;
    r.integerResult = r.floatResult = r.doubleResult = 1000;
    r.mipsResult = r.mflopsResult = r.ramAluResult = r.ramFpuResult = 1000;
    EXPECT_EQ(static_cast<int>(overallScore(r)), 200);
    // Each figure alone, at 170, gives twice its weight.
    using B = BenchResult;
    const std::pair<float B::*, int> weights[] = {
        {&B::integerResult, 5}, {&B::floatResult, 2},  {&B::doubleResult, 2}, {&B::mipsResult, 3},
        {&B::mflopsResult, 3},  {&B::ramAluResult, 1}, {&B::ramFpuResult, 1}};
    for (const auto& [field, weight] : weights) {
        BenchResult alone;
        alone.*field = 170;
        EXPECT_NEAR(overallScore(alone), 2.0 * weight, 1e-4) << weight;
    }
}

TEST(StreamRates, MegabytesOverTheSummedTimes) {
    const double ones[4] = {1.0, 1.0, 1.0, 1.0};
    const auto rates = streamRates(ones, 1'000'000, 300);
    EXPECT_EQ(rates.assign, 4800.0);
    EXPECT_EQ(rates.scale, 4800.0);
    EXPECT_EQ(rates.add, 7199.999999999999);
    EXPECT_EQ(static_cast<float>(rates.triad), 7200.0f);
    EXPECT_NEAR(rates.result, 6000.0, 1e-9);

    const double zero[4] = {0.0, 2.0, 4.0, 8.0};
    const auto clamped = streamRates(zero, 1'000'000, 300);
    EXPECT_EQ(clamped.assign, 4800.0 / 0.001);
    EXPECT_EQ(clamped.scale, 2400.0);
    EXPECT_NEAR(clamped.add, 1800.0, 1e-9);
    EXPECT_NEAR(clamped.triad, 900.0, 1e-9);
    // a tenth of the elements and passes moves a hundredth of the megabytes
    EXPECT_NEAR(streamRates(ones, 100'000, 30).assign, 48.0, 1e-9);
}

}  // namespace
}  // namespace veltrane::engine

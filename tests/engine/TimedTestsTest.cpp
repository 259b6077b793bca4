// The seven tests at small sizes: what they compute, how often they tick,
// and what they leave behind.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>

#include "engine/IntegerBenchmark.h"
#include "engine/MatrixTransform.h"
#include "engine/MipsBenchmark.h"
#include "engine/PiBenchmark.h"
#include "engine/SmallShapes.h"
#include "engine/StandardSuite.h"
#include "engine/StreamBenchmark.h"
#include "support/RecordingSink.h"

namespace veltrane::engine {
namespace {

using test::RecordingSink;

struct Bench {
    RecordingSink sink;
    BenchResult record;
    Bench() { record.progressWindow = &sink; }
    int ticks() const { return sink.count(WM_THREAD_TICK); }
};

TEST(IntegerBenchmark, FillsTheTableAndTicksAfterEveryNinthPass) {
    Bench bench;
    IntegerState state;
    IntegerBenchmark<kSmallSuite.integer>(bench.record, state);
    EXPECT_EQ(bench.ticks(), 10);  // after passes 0, 9, ..., 81
    ASSERT_TRUE(state.table);
    const SortTable& table = *state.table;
    EXPECT_EQ(table[0].key, 0);
    EXPECT_STREQ(table[0].first.c_str(), "");
    EXPECT_EQ(table[299].key, 299);
    EXPECT_STREQ(table[299].third.c_str(), "abcdefghilmnopqrstuw 299");
    EXPECT_EQ(table[1].key, 1);
    const std::string longest = table[1].second.c_str();
    EXPECT_EQ(longest.size(), 1108u);
    EXPECT_EQ(longest.substr(longest.size() - 4), " 2 1");
    // the three texts of an element are one shared text
    EXPECT_EQ(table[150].first.c_str(), table[150].third.c_str());
    EXPECT_GT(bench.record.integerTime, 0.0f);
    EXPECT_NEAR(bench.record.integerResult, 80.85 / bench.record.integerTime * 10000,
                bench.record.integerResult * 1e-5);
}

TEST(IntegerBenchmark, LeavesTheSameTableAfterEveryRun) {
    Bench bench;
    IntegerState state;
    IntegerBenchmark<kSmallSuite.integer>(bench.record, state);
    const std::string before = (*state.table)[7].first.c_str();
    IntegerBenchmark<kSmallSuite.integer>(bench.record, state);
    EXPECT_EQ((*state.table)[7].first.c_str(), before);
    for (int i = 1; i < kSortRecords; ++i) {
        EXPECT_EQ((*state.table)[static_cast<std::size_t>(i)].key, i);
    }
}

TEST(MatrixTransform, RotationAndProductAsTheTestUsesThem) {
    const float angle = matrixTestAngle();
    EXPECT_EQ(std::bit_cast<std::uint32_t>(angle), 0x3C826136u);
    D3DMatrix r;
    BuildRotationY(r, angle);
    EXPECT_FLOAT_EQ(r.m[0][0], 0.99987334f);
    EXPECT_FLOAT_EQ(r.m[2][0], 0.015914822f);
    EXPECT_EQ(r.m[0][2], -r.m[2][0]);
    EXPECT_EQ(r.m[2][2], r.m[0][0]);
    EXPECT_EQ(r.m[1][1], 1.0f);
    EXPECT_EQ(r.m[3][3], 1.0f);

    D3DMatrix m = identityMatrix();
    MatrixMultiply4x4(m, r, m);  // identity x R
    EXPECT_EQ(std::memcmp(&m, &r, sizeof m), 0);

    D3DMatrix zero;
    BuildRotationY(zero, 0.0f);
    const D3DMatrix before = m;
    MatrixMultiply4x4(m, zero, m);
    EXPECT_EQ(std::memcmp(&m, &before, sizeof m), 0);
}

TEST(MatrixTransform, ProductIsBTimesA) {
    D3DMatrix a{}, b{}, out{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            a.m[i][j] = static_cast<float>(i * 4 + j);
            b.m[i][j] = static_cast<float>(i == j ? 2 : 0) + (i == 0 && j == 1 ? 1.0f : 0.0f);
        }
    }
    MatrixMultiply4x4(out, a, b);
    // row 0 of b is (2, 1, 0, 0): 2 x row 0 of a + row 1 of a
    EXPECT_EQ(out.m[0][0], 2 * 0 + 4.0f);
    EXPECT_EQ(out.m[0][3], 2 * 3 + 7.0f);
    EXPECT_EQ(out.m[3][2], 2 * 14.0f);
}

TEST(MatrixTest, TicksAtTheEndOfEveryBlockAndSubtractsTenMilliseconds) {
    Bench small;
    runMatrixTest<kSmallSuite.matrix>(small.record);
    EXPECT_EQ(small.ticks(), 10);
    Bench oneTick;
    runMatrixTest<test::kMatrixOneTick>(oneTick.record);
    EXPECT_EQ(oneTick.ticks(), 1);  // i runs from 1: no tick before the first block ends
    // ten 1 ms sleeps lie in the interval, so it measured at least 10 ms
    EXPECT_GE(small.record.floatTime, 0.001f);
    EXPECT_NEAR(small.record.floatResult, 36.16 / small.record.floatTime * 10000,
                small.record.floatResult * 1e-5);
}

TEST(PiBenchmark, ContinuesTheSeriesFromRunToRun) {
    Bench bench;
    PiState state;
    PiBenchmark<kSmallSuite.pi>(bench.record, state);
    EXPECT_EQ(bench.ticks(), 20);  // ten per timed loop
    EXPECT_EQ(state.piDenominator, 2.0 * 512'000 - 1);
    EXPECT_EQ(state.piSign, -5.0);
    EXPECT_NEAR(state.piY, M_PI, 1e-5);
    const double sumBefore = state.piSum;
    PiBenchmark<kSmallSuite.pi>(bench.record, state);
    EXPECT_EQ(state.piDenominator, 4.0 * 512'000 - 1);
    EXPECT_NE(state.piSum, sumBefore);
    EXPECT_NEAR(state.piY, M_PI, 2e-6);
    EXPECT_GT(bench.record.doubleTime, 0.0f);
}

TEST(PiBenchmark, TheFirstTermsArePlusFiveOverOneMinusFiveOverThree) {
    Bench bench;
    PiState state;
    PiBenchmark<test::kPiOneTickEach>(bench.record, state);  // 51,200 terms
    EXPECT_EQ(bench.ticks(), 2);
    EXPECT_EQ(state.piDenominator, 2.0 * 51'200 - 1);
    double expected = 0;
    for (int k = 0; k < 51'200; ++k) {
        expected += (k % 2 == 0 ? 5.0 : -5.0) / (2.0 * k + 1);
    }
    EXPECT_NEAR(state.piSum, expected, 1e-12);
}

TEST(PiBenchmarkFullSize, DenominatorAfterTheFirstRun) {
    Bench bench;
    PiState state;
    PiBenchmark<PiShape{}>(bench.record, state);
    EXPECT_EQ(state.piDenominator, 1'023'999'999.0);
    EXPECT_EQ(state.piSign, -5.0);
    EXPECT_NEAR(state.piY, M_PI, 1e-8);
    EXPECT_EQ(bench.ticks(), 20);
}

TEST(MipsBenchmark, TicksWhereTheRemainderIsZero) {
    Bench mips;
    MipsBenchmark<kSmallSuite.mips>(mips.record);
    EXPECT_EQ(mips.ticks(), 10);
    Bench two;
    MipsBenchmark<test::kMipsTwoTicks>(two.record);
    EXPECT_EQ(two.ticks(), 2);  // i = 0 at once, and 51,200
    Bench mflops;
    MflopsBenchmark<kSmallSuite.mflops>(mflops.record);
    EXPECT_EQ(mflops.ticks(), 10);
    EXPECT_NEAR(mflops.record.mflopsResult, 16896.0 / mflops.record.mflopsTime,
                mflops.record.mflopsResult * 1e-5);
    EXPECT_EQ(mflops.record.mipsResult, 0.0f);
}

TEST(StreamBenchmark, OnePassLeavesTheKnownValues) {
    Bench bench;
    static StreamArrays<40> arrays;
    StreamAluBenchmark<test::kStreamOnePass>(bench.record, arrays);
    StreamFpuBenchmark<test::kStreamOnePass>(bench.record, arrays);
    for (std::size_t i = 0; i < arrays.kInts; ++i) {
        ASSERT_EQ(arrays.aluA[i], 7u);
        ASSERT_EQ(arrays.aluB[i], 6u);
        ASSERT_EQ(arrays.aluC[i], 27u);
    }
    for (std::size_t i = 0; i < arrays.kDoubles; ++i) {
        ASSERT_EQ(arrays.fpuA[i], 7.0);
        ASSERT_EQ(arrays.fpuB[i], 6.0);
        ASSERT_EQ(arrays.fpuC[i], 27.0);
    }
    EXPECT_EQ(bench.ticks(), 2);  // after pass 0 of each test
}

TEST(StreamBenchmark, ThreeHundredPassesStayFiniteAndTickThirtyTimes) {
    Bench bench;
    static StreamArrays<40> arrays;
    StreamFpuBenchmark<test::kStreamFullPasses>(bench.record, arrays);
    EXPECT_EQ(bench.ticks(), 30);
    EXPECT_TRUE(std::isfinite(arrays.fpuC[39]));
    EXPECT_NEAR(arrays.fpuA[0] / 1.09e146, 1.0, 0.01);
    EXPECT_NEAR(arrays.fpuB[0] / 2.74e143, 1.0, 0.01);
    EXPECT_NEAR(arrays.fpuC[0] / 3.29e146, 1.0, 0.01);
    StreamAluBenchmark<test::kStreamFullPasses>(bench.record, arrays);
    EXPECT_EQ(bench.ticks(), 60);
    EXPECT_GT(bench.record.ramAluResult, 0.0f);
    EXPECT_GT(bench.record.ramFpuTriad, 0.0f);
    // the arrays are refilled before every test
    StreamAluBenchmark<test::kStreamOnePass>(bench.record, arrays);
    EXPECT_EQ(arrays.aluC[0], 27u);
}

TEST(StreamArrays, SixArraysBackToBackOnSixtyFourByteBoundaries) {
    using Full = StreamArrays<1'000'000>;
    EXPECT_EQ(sizeof(Full::fpuA), 8'000'000u);
    EXPECT_EQ(sizeof(Full::aluA), 8'000'000u);
    EXPECT_EQ(sizeof(Full), 48'000'000u);
    auto& arrays = streamArrays<1'000'000>();
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(&arrays) % 64, 0u);
    EXPECT_EQ(
        reinterpret_cast<const char*>(arrays.aluA) - reinterpret_cast<const char*>(arrays.fpuA),
        3 * 8'000'000);
}

}  // namespace
}  // namespace veltrane::engine

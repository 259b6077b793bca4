// The seven tests at small sizes on the scripted clock: what they compute,
// how often they tick, what they pause, the times they measure and the state
// they leave behind.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/IntegerBenchmark.h"
#include "engine/MatrixTransform.h"
#include "engine/MipsBenchmark.h"
#include "engine/PiBenchmark.h"
#include "engine/Remainder.h"
#include "engine/SmallShapes.h"
#include "engine/StandardSuite.h"
#include "engine/StreamBenchmark.h"
#include "support/SuiteRun.h"

namespace veltrane::engine {
namespace {

using test::SuiteRun;
using Pauses = std::vector<std::uint32_t>;

template <std::int32_t D>
void expectExactRemainders() {
    SCOPED_TRACE(D);
    for (const std::int32_t n : {0, 1, 2, D - 1, D, D + 1, 2 * D, 10 * D - 1, 460'800'000,
                                 511'999'999, 512'000'000, 2'147'483'646, 2'147'483'647}) {
        ASSERT_EQ(reciprocalRemainder<D>(n), n % D) << n;
    }
    for (std::int32_t n = 0; n < 100'000; n += 7) {
        ASSERT_EQ(reciprocalRemainder<D>(n), n % D) << n;
    }
}

template <std::int32_t... D>
void expectExactRemaindersOf() {
    (expectExactRemainders<D>(), ...);
}

TEST(ReciprocalRemainder, EqualsTheDivisionsRemainderForEveryModulusInUse) {
    expectExactRemaindersOf<1, 3, 9, 10, 4'000, 4'000'000, 51'200, 51'200'000, 51'200'001>();
}

TEST(IntegerBenchmark, TextsCompareAsUnsignedBytesLikeTheLibrary) {
    const struct {
        const char* a;
        const char* b;
        int expected;
    } cases[] = {{"abc", "abc", 0}, {"abc", "abd", -1}, {"abd", "abc", 1},
                 {"", "a", -1},     {"a", "", 1},       {"ab", "abc", -1},
                 {"", "", 0},       {"\xff", "a", 1},   {"a 299 1", "a 299", 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(compareTexts(c.a, c.b), c.expected) << c.a << " / " << c.b;
    }
}

TEST(IntegerBenchmark, APassSweepsDownToTwoElementsAndSwapsWholeRecords) {
    // Every condition holds for a table in falling order, so each sweep
    // bubbles its largest record up; no sweep of one element pair is made.
    SortTable table;
    for (int i = 0; i < kSortRecords; ++i) {
        char text[8];
        std::snprintf(text, sizeof text, "%04d", 1000 - i);
        table[static_cast<std::size_t>(i)] = {1000 - i, SharedText(text), SharedText(text),
                                              SharedText(text)};
    }
    sortPass(table);
    EXPECT_EQ(table[0].key, 702);
    EXPECT_EQ(table[1].key, 701);
    for (int i = 2; i < kSortRecords; ++i) {
        ASSERT_EQ(table[static_cast<std::size_t>(i)].key, 701 + i);
    }
    EXPECT_STREQ(table[299].third.c_str(), "1000");
    EXPECT_STREQ(table[0].second.c_str(), "0702");
}

TEST(IntegerBenchmark, FillsTheTableTicksAfterEveryNinthPassAndTimesFillAndPasses) {
    SuiteRun run;
    IntegerState state;
    IntegerBenchmark<kSmallSuite.integer>(run.record, state);
    EXPECT_EQ(run.ticks(), 10);  // after passes 0, 9, ..., 81
    EXPECT_EQ(run.pauses(), Pauses{200});
    EXPECT_EQ(run.record.integerTime, 1.0f);  // no correction in the standard form
    EXPECT_FLOAT_EQ(run.record.integerResult, 808'500.0f);
    ASSERT_TRUE(state.table);
    const SortTable& table = *state.table;
    EXPECT_EQ(table[0].key, 0);
    EXPECT_STREQ(table[0].first.c_str(), "");
    EXPECT_EQ(table[299].key, 299);
    EXPECT_STREQ(table[299].third.c_str(), "abcdefghilmnopqrstuw 299");
    const std::string longest = table[1].second.c_str();
    EXPECT_EQ(longest.size(), 1108u);
    EXPECT_EQ(longest.substr(longest.size() - 4), " 2 1");
    // the three texts of an element are one shared text
    EXPECT_EQ(table[150].first.c_str(), table[150].third.c_str());

    IntegerBenchmark<kSmallSuite.integer>(run.record, state);
    for (int i = 1; i < kSortRecords; ++i) {
        ASSERT_EQ(table[static_cast<std::size_t>(i)].key, i);
    }
    EXPECT_EQ(std::strlen(table[1].first.c_str()), 1108u);
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
    // the operand order is held against the 3DNow! routine in the suites' tests
}

TEST(MatrixTest, PausesAfterEveryTickAndTakesTheTenMillisecondsOff) {
    SuiteRun run;
    runMatrixTest<kSmallSuite.matrix>(run.record);
    EXPECT_EQ(run.ticks(), 10);
    EXPECT_EQ(run.pauses(), (Pauses{200, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    // one second between the readings, plus the ten 1 ms pauses, less 10 ms
    EXPECT_EQ(run.record.floatTime, 1.0f);
    EXPECT_FLOAT_EQ(run.record.floatResult, 361'600.0f);

    SuiteRun oneTick;
    runMatrixTest<test::kMatrixOneTick>(oneTick.record);
    EXPECT_EQ(oneTick.ticks(), 1);  // i runs from 1: no tick before the first block ends
}

TEST(PiBenchmark, RunsTheSeriesInMemoryAndContinuesItFromRunToRun) {
    SuiteRun run;
    PiState state;
    PiBenchmark<kSmallSuite.pi>(run.record, state);
    EXPECT_EQ(run.ticks(), 20);  // ten per timed loop
    EXPECT_EQ(run.pauses(), Pauses{200});
    EXPECT_FLOAT_EQ(run.record.doubleTime, 2.0f);  // two timed loops, one second each
    EXPECT_FLOAT_EQ(run.record.doubleResult, 325'800.0f);
    // n terms 5/1 - 5/3 + ...: the sum of the numerators times the
    // denominators is -5n and of their differences -n^2 for an even n
    constexpr double n = 512'000;
    EXPECT_EQ(state.piDenominator, 2 * n - 1);
    EXPECT_EQ(state.piSign, -5.0);
    EXPECT_EQ(state.piProduct, 5 * n);
    EXPECT_EQ(state.piDiff, -n * n);
    EXPECT_NEAR(state.piY, M_PI, 2e-6);
    EXPECT_NEAR(state.piSum, 1.25 * M_PI, 3e-6);

    // a second run goes on with +5 / (2n + 1): two more terms keep the sums
    PiBenchmark<test::kPiTwoTerms>(run.record, state);
    EXPECT_EQ(state.piDenominator, 2 * (n + 2) - 1);
    EXPECT_EQ(state.piProduct, 5 * (n + 2));
    EXPECT_EQ(state.piDiff, -(n + 2) * (n + 2));
}

TEST(MipsBenchmark, TicksWhereTheRemainderIsZeroAndScoresTheLoopTime) {
    SuiteRun mips;
    MipsBenchmark<kSmallSuite.mips>(mips.record);
    EXPECT_EQ(mips.ticks(), 10);
    EXPECT_EQ(mips.pauses(), Pauses{200});
    EXPECT_EQ(mips.record.mipsTime, 1.0f);
    EXPECT_FLOAT_EQ(mips.record.mipsResult, 20'480.0f);

    SuiteRun two;
    MipsBenchmark<test::kMipsTwoTicks>(two.record);
    EXPECT_EQ(two.ticks(), 2);  // i = 0 at once, and 51,200

    SuiteRun mflops;
    MflopsBenchmark<kSmallSuite.mflops>(mflops.record);
    EXPECT_EQ(mflops.ticks(), 10);
    EXPECT_FLOAT_EQ(mflops.record.mflopsResult, 16'896.0f);
    EXPECT_EQ(mflops.record.mipsResult, 0.0f);
}

TEST(StreamBenchmark, OnePassLeavesTheKnownValues) {
    SuiteRun run;
    static StreamArrays<40> arrays;
    StreamAluBenchmark<test::kStreamOnePass>(run.record, arrays);
    StreamFpuBenchmark<test::kStreamOnePass>(run.record, arrays);
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
    EXPECT_EQ(run.ticks(), 2);  // after pass 0 of each test
}

TEST(StreamBenchmark, EachKernelIsTimedAloneAndTheResultIsTheMeanOfAllFour) {
    SuiteRun run;  // the kernels take 1, 2, 4 and 8 ms a pass
    static StreamArrays<40> arrays;
    StreamFpuBenchmark<test::kStreamFullPasses>(run.record, arrays);
    StreamAluBenchmark<test::kStreamFullPasses>(run.record, arrays);
    EXPECT_EQ(run.ticks(), 60);
    EXPECT_EQ(run.pauses(), (Pauses{200, 200}));
    EXPECT_TRUE(std::isfinite(arrays.fpuC[39]));
    EXPECT_NEAR(arrays.fpuC[0] / 3.29e146, 1.0, 0.01);
    // 40 doubles: Assign and Scale move 640 bytes a pass, Add and Triad 960
    const BenchResult& r = run.record;
    const float expected[] = {0.64f, 0.32f, 0.24f, 0.12f, 0.33f};
    const float fpu[] = {r.ramFpuAssign, r.ramFpuScale, r.ramFpuAdd, r.ramFpuTriad, r.ramFpuResult};
    const float alu[] = {r.ramAluAssign, r.ramAluScale, r.ramAluAdd, r.ramAluTriad, r.ramAluResult};
    for (int k = 0; k < 5; ++k) {
        EXPECT_FLOAT_EQ(fpu[k], expected[k]) << k;
        EXPECT_FLOAT_EQ(alu[k], expected[k]) << k;
    }
}

TEST(StreamArrays, SixArraysBackToBackOnSixtyFourByteBoundaries) {
    using Full = StreamArrays<1'000'000>;
    EXPECT_EQ(sizeof(Full), 48'000'000u);
    auto& arrays = streamArrays<1'000'000>();
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(&arrays) % 64, 0u);
    EXPECT_EQ(
        reinterpret_cast<const char*>(arrays.aluA) - reinterpret_cast<const char*>(arrays.fpuA),
        3 * 8'000'000);
}

}  // namespace
}  // namespace veltrane::engine

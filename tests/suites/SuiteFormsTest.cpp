// The optimised suites: each suite's forms as data, written out here from
// the suites' definitions, and small runs on the scripted clock whose pauses,
// ticks, times and figures are exact; the 3DNow! vector routines against x87.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/MipsBenchmark.h"
#include "engine/PiBenchmark.h"
#include "suites/SmallSuiteShapes.h"
#include "suites/SuiteThreads.h"
#include "suites/Vector3DNow.h"
#include "support/SuiteRun.h"

namespace veltrane::suites {
namespace {

using engine::BenchResult;
using engine::Prefetch::T1;
using engine::Prefetch::ThreeDNow;
using engine::Remainder::Reciprocal;
using veltrane::test::SuiteRun;

void expectForms(const char* suite, const SuiteShape& built, const SuiteShape& expected) {
    SCOPED_TRACE(suite);
    EXPECT_TRUE(built.integer == expected.integer) << "test 1";
    EXPECT_TRUE(built.matrix == expected.matrix) << "test 2";
    EXPECT_TRUE(built.pi == expected.pi) << "test 3";
    EXPECT_TRUE(built.mips == expected.mips) << "test 4";
    EXPECT_TRUE(built.mflops == expected.mflops) << "test 5";
    EXPECT_TRUE(built.stream == expected.stream) << "tests 6 and 7";
}

TEST(SuiteForms, EverySuiteRunsItsOwnFormOfEachTest) {
    // The standard forms, every field spelled out.
    const SuiteShape standard{
        .integer = {90, 9, 200, 0, 80.85, engine::Remainder::Divide, 0, 0},
        .matrix = {40'000'000, 4'000'000, 200, false, engine::Product::MTimesR,
                   engine::Remainder::Divide, 0, false},
        .pi = {512'000'000, 51'200'000, 200, 8, 16, engine::Remainder::Divide, 0, 0},
        .mips = {0, 2, 512'000'000, 51'200'000, 200, engine::Remainder::Divide, 1.0 / 33, 0},
        .mflops = {0, 2, 512'000'000, 51'200'000, 200, engine::Remainder::Divide, 1.0 / 33, 0},
        .stream = {1'000'000, 300, 10, 200, 5, 10, engine::Prefetch::None, false, false,
                   engine::Remainder::Divide, 0, 0}};
    expectForms("standard", engine::kFullSuite, standard);

    const engine::MatrixShape sseMatrix{.settleMs = 100,
                                        .resetBar = true,
                                        .product = engine::Product::RTimesM,
                                        .remainder = Reciprocal};
    const engine::PiShape ssePi{
        .settleMs = 100, .warmUpFlips = 1, .seriesTerms = 1, .remainder = Reciprocal};
    const engine::MipsShape threeDNowMips{.step = 3, .tickEvery = 51'200'001};
    const engine::StreamShape sseStream{.settleMs = 100,
                                        .aluPerIteration = 8,
                                        .fpuPerIteration = 8,
                                        .prefetch = T1,
                                        .x87Assign = true,
                                        .byteTableRates = true,
                                        .remainder = Reciprocal};
    const engine::IntegerShape optimisedInteger{
        .settleMs = 100, .lessMs = 10, .remainder = Reciprocal, .table = 1};

    SuiteShape sse{.integer = optimisedInteger,
                   .matrix = sseMatrix,
                   .pi = ssePi,
                   .mips = threeDNowMips,
                   .mflops = threeDNowMips,
                   .stream = sseStream};
    sse.pi.state = 1;
    sse.mflops.settleMs = 100;
    sse.stream.arraySet = 1;
    expectForms("SSE, full run", sseSuite(SuiteSize::Full, true), sse);

    sse.mips = {.step = 1, .settleMs = 100, .remainder = Reciprocal};
    sse.mflops = {.settleMs = 100, .remainder = Reciprocal};
    expectForms("SSE, custom run", sseSuite(SuiteSize::Full, false), sse);

    SuiteShape sse2 = sse;
    sse2.integer.table = 2;
    sse2.pi.state = 2;
    sse2.mflops = {
        .start = 1, .step = 1, .settleMs = 100, .remainder = Reciprocal, .mflopsFactor = 0.03125};
    sse2.stream.aluPerIteration = 16;
    sse2.stream.arraySet = 2;
    expectForms("SSE2", sse2Suite(SuiteSize::Full), sse2);

    const SuiteShape threeDNow{.integer = optimisedInteger,
                               .matrix = {.resetBar = true, .threeDNow = true},
                               .pi = {.warmUpFlips = 16, .state = 3},
                               .mips = threeDNowMips,
                               .mflops = {.step = 3, .tickEvery = 51'200'001, .settleMs = 100},
                               .stream = {.aluPerIteration = 8,
                                          .fpuPerIteration = 8,
                                          .prefetch = ThreeDNow,
                                          .x87Assign = true,
                                          .arraySet = 3}};
    expectForms("3DNow!", threeDNowSuite(SuiteSize::Full), threeDNow);

    const engine::StreamShape smpStream{.settleMs = 100, .arraySet = 4, .tickParam = 1};
    for (const std::int64_t thread : {1, 2}) {
        const engine::MipsShape counting{.tickParam = thread};
        SuiteShape smp{.integer = {.settleMs = 100, .tickParam = thread, .table = 3},
                       .matrix = {.settleMs = 100, .tickParam = thread},
                       .pi = {.tickParam = thread, .state = thread == 1 ? 4 : 5},
                       .mips = counting,
                       .mflops = counting,
                       .stream = smpStream};
        if (thread == 2) {
            smp.integer = {.passes = 30,
                           .tickEvery = 3,
                           .settleMs = 100,
                           .reference = 26.95,
                           .tickParam = 2,
                           .table = 4};
        }
        expectForms(thread == 1 ? "SMP, first thread" : "SMP, second thread",
                    smpSuite(SuiteSize::Full, thread), smp);
    }
}

// A small run of one suite's thread on the scripted clock.
struct Expected {
    const char* name;
    void (*suite)(BenchResult&);
    int mask;
    std::vector<std::uint32_t> settles;  // the pause before each test
    std::vector<int> ticks;
    float mflopsResult;
    float overallResult;
};

// clang-format off
const Expected kSuites[] = {
    {"SSE full run", &SuiteThreadSSE<SuiteSize::Small>, 255, {100, 100, 100, 200, 100, 100, 100},
     {10, 10, 20, 10, 10, 30, 30}, 16'896, 65'533.26f},
    {"SSE custom run", &SuiteThreadSSE<SuiteSize::Small>, 127, {100, 100, 100, 100, 100, 100, 100},
     {10, 10, 20, 10, 10, 30, 30}, 16'896, 0},
    {"SSE2", &SuiteThreadSSE2<SuiteSize::Small>, 255, {100, 100, 100, 100, 100, 100, 100},
     {10, 10, 20, 10, 9, 30, 30}, 16'384, 65'515.19f},
    {"3DNow!", &SuiteThread3DNow<SuiteSize::Small>, 255, {100, 200, 200, 200, 100, 200, 200},
     {10, 10, 20, 10, 10, 30, 30}, 16'896, 65'533.26f},
};
// clang-format on

TEST(OptimisedSuites, PausesTicksTimesAndFiguresOfEverySuite) {
    for (const Expected& e : kSuites) {
        SCOPED_TRACE(e.name);
        SuiteRun run(e.mask);
        e.suite(run.record);
        std::vector<std::uint32_t> pauses = e.settles;
        pauses.insert(pauses.begin() + 2, 10, 1);  // test 2's pause after each tick
        EXPECT_EQ(run.pauses(), pauses);
        EXPECT_EQ(run.sink.ticksPerTest(), e.ticks);
        // Test 2 resets the bar first thing.
        const auto messages = run.sink.messages();
        const auto begun = std::ranges::find_if(messages, [](const auto& m) {
            return m.message == engine::WM_THREAD_BEGIN && m.wParam == 2;
        });
        ASSERT_LT(begun + 1, messages.end());
        EXPECT_EQ(begun[1].message, engine::PBM_SETPOS);
        EXPECT_EQ(begun[1].wParam, 0);
        const BenchResult& r = run.record;
        EXPECT_FLOAT_EQ(r.integerTime, 0.99f);  // one second less 10 ms
        EXPECT_FLOAT_EQ(r.integerResult, 816'666.7f);
        EXPECT_FLOAT_EQ(r.floatResult, 361'600.0f);
        EXPECT_FLOAT_EQ(r.doubleResult, 325'800.0f);
        EXPECT_FLOAT_EQ(r.mipsResult, 20'480.0f);
        EXPECT_FLOAT_EQ(r.mflopsResult, e.mflopsResult);
        EXPECT_FLOAT_EQ(r.ramAluResult, 33.0f);
        EXPECT_FLOAT_EQ(r.ramFpuResult, 33.0f);
        EXPECT_NEAR(r.overallResult, e.overallResult, 0.05);
    }
}

int ticksOf(void (*routine)(BenchResult&)) {
    SuiteRun run;
    routine(run.record);
    return run.ticks();
}

TEST(CountingLoops, IterationCountsOfEachForm) {
    // With a tick at every step the ticks count the iterations below 3,000.
    EXPECT_EQ(
        ticksOf(&engine::MipsBenchmark<test::everyStep(threeDNowSuite(SuiteSize::Small).mips)>),
        1000);
    EXPECT_EQ(ticksOf(&engine::MipsBenchmark<test::everyStep(sse2Suite(SuiteSize::Small).mips)>),
              3000);
    EXPECT_EQ(
        ticksOf(&engine::MflopsBenchmark<test::everyStep(sse2Suite(SuiteSize::Small).mflops)>),
        2999);  // counts from 1
}

TEST(PiForms, StepsPerIterationAndWhereTheyTick) {
    SuiteRun run;
    engine::PiState sse;
    engine::PiBenchmark<test::kSsePiEveryStep>(run.record, sse);
    EXPECT_EQ(run.ticks(), 960);  // every flip and every term
    EXPECT_EQ(sse.piDenominator, 2.0 * 480 - 1);
    engine::PiState threeDNow;
    engine::PiBenchmark<test::k3DNowPiEveryIteration>(run.record, threeDNow);
    EXPECT_EQ(run.ticks(), 960 + 30 + 30);
    EXPECT_EQ(threeDNow.piDenominator, 2.0 * 480 - 1);
    EXPECT_EQ(threeDNow.piSum, sse.piSum);
    EXPECT_EQ(threeDNow.piProduct, 5.0 * 480);
}

PackedPair sinCos(float x) {
    PackedPair out{};
    SinCos3DNow(x, &out);
    return out;
}

// One unit in the last place of a float near `value`.
double ulp(double value) {
    const float f = static_cast<float>(std::fabs(value));
    return std::nextafter(f, INFINITY) - f;
}

// Cosine in lane 0, sine in lane 1.
double worstError(double from, double to, double step, bool inUlp) {
    double worst = 0;
    for (double x = from; x < to; x += step) {
        const auto angle = static_cast<float>(x);
        const PackedPair cs = sinCos(angle);
        const double a = angle;
        const double cosError = std::fabs(cs.lane0 - std::cos(a));
        const double sinError = std::fabs(cs.lane1 - std::sin(a));
        // relative to the sine only where it is not tiny
        worst =
            std::max({worst, inUlp ? cosError / ulp(std::cos(a)) : cosError,
                      inUlp ? (std::fabs(a) > 1e-3 ? sinError / ulp(std::sin(a)) : 0) : sinError});
    }
    return worst;
}

TEST(SinCos3DNow, MatchesSineAndCosineOverTheWholeRange) {
    // Single precision near pi/4; a reduction done in single precision loses
    // a little more as the angle grows towards 8192 pi (25735.93, tested below).
    EXPECT_LE(worstError(-M_PI / 4, M_PI / 4, 1e-5, true), 2.0);
    EXPECT_LE(worstError(-25735.9, 25735.9, 0.0137, false), 1e-6);
}

TEST(SinCos3DNow, SpecialCases) {
    const PackedPair zero = sinCos(0.0f);
    EXPECT_EQ(zero.lane0, 1.0f);
    EXPECT_EQ(zero.lane1, 0.0f);
    for (float x : {0.3f, 1.0f, 2.5f, 100.0f, 25000.0f}) {
        EXPECT_EQ(sinCos(-x).lane0, sinCos(x).lane0) << x;
        EXPECT_EQ(sinCos(-x).lane1, -sinCos(x).lane1) << x;
    }
    for (float x : {25735.927734375f, -25735.927734375f, 1e30f, -INFINITY, NAN}) {
        const PackedPair out = sinCos(x);
        EXPECT_EQ(out.lane0, 1.0f) << x;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(out.lane1), 0u) << x;  // +0.0
    }
    const float justInside = std::nextafter(25735.927734375f, 0.0f);
    EXPECT_NEAR(sinCos(justInside).lane0, std::cos(static_cast<double>(justInside)), 1e-5);
    const PackedPair half = sinCos(1.5707964f);
    EXPECT_TRUE(std::signbit(half.lane0));  // about -0
    EXPECT_NEAR(half.lane0, std::cos(1.5707964), 1e-7);
    EXPECT_NEAR(half.lane1, 1.0f, 1e-7);
}

// Each element within `ulps` units in the last place of the expected one, plus `absolute`.
void expectNear(const engine::D3DMatrix& got, const engine::D3DMatrix& expected, double absolute,
                double ulps = 0) {
    for (int k = 0; k < 16; ++k) {
        const float want = expected.m[k / 4][k % 4];
        EXPECT_NEAR(got.m[k / 4][k % 4], want, ulps * ulp(want) + absolute) << "element " << k;
    }
}

engine::D3DMatrix patterned(float base) {
    engine::D3DMatrix m{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            m.m[i][j] =
                base + static_cast<float>(i * 4 + j) * 0.37f - static_cast<float>(j * j) * 0.1f;
        }
    }
    return m;
}

TEST(MatrixMultiply3DNow, AgreesWithTheX87ProductAndAllowsAliasing) {
    const auto a = patterned(1.5f);
    const auto b = patterned(-2.25f);
    engine::D3DMatrix x87{}, pairs{};
    engine::MatrixMultiply4x4(x87, a, b);
    MatrixMultiply3DNow(pairs, a, b);
    expectNear(pairs, x87, 1e-6, 4);
    // out may be either operand: the product goes to a temporary first
    engine::D3DMatrix outIsA = a, outIsB = b;
    MatrixMultiply3DNow(outIsA, outIsA, b);
    MatrixMultiply3DNow(outIsB, a, outIsB);
    EXPECT_EQ(std::memcmp(&outIsA, &pairs, sizeof pairs), 0);
    EXPECT_EQ(std::memcmp(&outIsB, &pairs, sizeof pairs), 0);
}

TEST(MatrixMultiply3DNow, RotatingLikeTestTwoStaysWithTheX87Form) {
    const float angle = engine::matrixTestAngle();
    engine::D3DMatrix x87 = engine::identityMatrix();
    engine::D3DMatrix pairs = engine::identityMatrix();
    engine::D3DMatrix rotation = engine::identityMatrix();
    engine::D3DMatrix x87Rotation;
    for (int i = 0; i < 40'000; ++i) {
        engine::BuildRotationY(x87Rotation, angle);
        engine::MatrixMultiply4x4(x87, x87Rotation, x87);
        PackedPair cs;
        SinCos3DNow(angle, &cs);
        setRotation3DNow(rotation, cs);
        if (i == 0) {  // the same rotation as the x87 form's
            expectNear(rotation, x87Rotation, 1e-6);
        }
        MatrixMultiply3DNow(pairs, rotation, pairs);
    }
    expectNear(pairs, x87, 1e-3);
    EXPECT_EQ(pairs.m[1][1], 1.0f);
}

}  // namespace
}  // namespace veltrane::suites

// The optimised suites: each suite's forms as data, written out here from
// the suites' definitions, and small runs on the scripted clock whose pauses,
// ticks, times and figures are exact.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/MipsBenchmark.h"
#include "engine/PiBenchmark.h"
#include "suites/SmallSuiteShapes.h"
#include "suites/SuiteThreads.h"
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

}  // namespace
}  // namespace veltrane::suites

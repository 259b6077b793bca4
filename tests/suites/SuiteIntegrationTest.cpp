// One run of each suite at its real size.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/PiBenchmark.h"
#include "engine/TestInfo.h"
#include "suites/RunSession.h"
#include "support/RecordingSink.h"

namespace veltrane::suites {
namespace {

using engine::BenchResult;
using veltrane::test::RecordingSink;

void expectCompleteScores(const BenchResult& r) {
    // Every test that checks its own work found it right.
    for (const engine::TestCheck& check : r.checks) {
        EXPECT_EQ(check.state, engine::CheckState::Passed) << check.detail;
    }
    for (float value : {r.integerResult, r.floatResult, r.doubleResult, r.mipsResult,
                        r.mflopsResult, r.ramAluResult, r.ramFpuResult, r.overallResult}) {
        EXPECT_GT(value, 0.0f);
        EXPECT_TRUE(std::isfinite(value));
    }
}

class SingleThreadSuite : public ::testing::TestWithParam<int> {};

TEST_P(SingleThreadSuite, RunsAllSevenTestsAtFullSize) {
    RecordingSink sink;
    RunSession session;
    SessionPlan plan;
    plan.run.suite = GetParam();
    const engine::PiState& pi = engine::piStateFor<0>();
    const double denominatorBefore = pi.denominatorSet ? pi.piDenominator : -1.0;
    ASSERT_TRUE(session.start(plan, sink));
    sink.waitForPost();
    session.finish();
    const auto ticks = sink.ticksPerTest();
    const int testFiveTicks = GetParam() == engine::SuiteSSE2 ? 9 : 10;
    EXPECT_EQ(ticks, (std::vector<int>{10, 10, 20, 10, testFiveTicks, 30, 30}));
    expectCompleteScores(session.result());
    EXPECT_EQ(session.result().suite, GetParam());
    EXPECT_GT(session.result().overallTime, 1.0f);  // the settling pauses alone take more
    if (GetParam() == engine::SuiteStandard) {
        // 512,000,000 terms: a first run in a process ends on 1,023,999,999
        EXPECT_EQ(pi.piDenominator - denominatorBefore, 1'024'000'000.0);
        EXPECT_EQ(pi.piSign, -5.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Suites, SingleThreadSuite,
                         ::testing::Values(engine::SuiteSSE, engine::SuiteSSE2, engine::Suite3DNow,
                                           engine::SuiteStandard),
                         [](const auto& param) {
                             return engine::suiteName(param.param) == std::string("3DNow!")
                                        ? std::string("ThreeDNow")
                                        : std::string(engine::suiteName(param.param));
                         });

TEST(SmpSuiteFullSize, BothThreadsRunAndCombine) {
    RecordingSink sink;
    RunSession session;
    SessionPlan plan;
    plan.run.suite = engine::SuiteSMP;
    ASSERT_TRUE(session.start(plan, sink));
    sink.waitForPost();
    session.finish();
    const BenchResult& combined = session.result();
    const BenchResult& first = session.threadRecord(0);
    expectCompleteScores(combined);
    EXPECT_EQ(combined.integerResult, first.integerResult + session.threadRecord(1).integerResult);
    EXPECT_EQ(combined.overallTime, first.overallTime);
    EXPECT_EQ(sink.count(engine::WM_THREAD_END), 12);
}

}  // namespace
}  // namespace veltrane::suites

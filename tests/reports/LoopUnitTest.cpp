#include <gtest/gtest.h>

#include <memory>

#include "LoopFakes.h"
#include "reports/LoopRunner.h"
#include "reports/LoopUnit.h"

namespace veltrane::reports {
namespace {

std::vector<std::int32_t> resultOf(const LoopMatrices& m) {
    return {&m.result[0][0], &m.result[0][0] + kLoopMatrixSize * kLoopMatrixSize};
}

TEST(LoopUnit, OperandsAreAllNonZero) {
    auto m = std::make_unique<LoopMatrices>();
    initLoopOperands(*m);
    for (int i = 0; i < kLoopMatrixSize; ++i) {
        for (int j = 0; j < kLoopMatrixSize; ++j) {
            ASSERT_NE(m->a[i][j], 0);
            ASSERT_NE(m->b[i][j], 0);
        }
    }
}

TEST(LoopUnit, ExpectedResultIsNotTrivial) {
    const auto expected = expectedLoopResult();
    ASSERT_EQ(expected.size(), 2500u);
    // Every row holds one value, and rows differ.
    EXPECT_EQ(expected[0], expected[49]);
    EXPECT_NE(expected[0], expected[50]);
    EXPECT_NE(expected[0], 0);
}

TEST(LoopUnit, SmallUnitTicksTenTimesAndMatches) {
    auto m = std::make_unique<LoopMatrices>();
    test::FakeLoopClock clock(test::clockAt(9, 0));
    test::RecordingLoopSink sink(clock);
    test::smallLoopUnit()(*m, sink);
    EXPECT_EQ(sink.notices(), std::vector<LoopNotice>(10, WM_THREAD_TICK));
    EXPECT_EQ(resultOf(*m), expectedLoopResult());
}

// The program's own unit once, at its real size (2.5 x 10^9 multiply-adds).
TEST(LoopUnit, RealUnitTicksTenTimesAndMatches) {
    auto m = std::make_unique<LoopMatrices>();
    test::FakeLoopClock clock(test::clockAt(9, 0));
    test::RecordingLoopSink sink(clock);
    standardLoopUnit()(*m, sink);
    EXPECT_EQ(sink.notices(), std::vector<LoopNotice>(10, WM_THREAD_TICK));
    EXPECT_EQ(resultOf(*m), expectedLoopResult());
}

}  // namespace
}  // namespace veltrane::reports

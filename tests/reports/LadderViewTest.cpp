#include <gtest/gtest.h>

#include "reports/LadderView.h"

namespace veltrane::reports {
namespace {

engine::RungResult rung(int exponent, const char* level, double mbPerSecond) {
    const std::size_t doubles = engine::kRungBaseDoubles << exponent;
    return {{exponent, doubles, engine::rungWorkingSet(doubles), level},
            mbPerSecond,
            10,
            engine::checkPassed()};
}

TEST(LadderChart, OneLabelledBarPerRungTheMainMemoryOneInItsOwnColour) {
    engine::LadderResult result;
    result.machine = {4 << 10, 8 << 10, 12 << 10, 0};
    result.rungs = {rung(4, "L1", 70000.4), rung(5, "L2", 1), rung(6, "main memory", 12000)};
    result.rungs[1].check = engine::checkFailed("array c element 0 is 0, not 5");
    result.planned = 3;
    result.reachesMainMemory = true;
    for (const bool stopped : {false, true}) {
        result.stopped = stopped;
        const ChartData chart = ladderChart(result);
        ASSERT_EQ(chart.groupCount, 3);
        ASSERT_EQ(chart.entries.size(), 3u);
        const auto& e = chart.entries;
        EXPECT_EQ(std::tuple(e[0].value, e[1].value, e[2].value), std::tuple(70000, 0, 12000));
        EXPECT_EQ(e[0].label, "15 KB (L1): 70000 MB/s");
        EXPECT_EQ(e[1].label, "30 KB (L2): check failed");
        EXPECT_EQ(e[2].label, "60 KB (main memory): 12000 MB/s");
        EXPECT_EQ(e[0].color, e[1].color);
        // A stopped ladder's last rung is not the main-memory one.
        EXPECT_EQ(e[2].color != e[0].color, !stopped);
    }
    EXPECT_EQ(std::pair(ladderChart({}).groupCount, ladderChart({}).showScale),
              std::pair(0, false));
}

}  // namespace
}  // namespace veltrane::reports

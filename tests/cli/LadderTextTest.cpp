#include <gtest/gtest.h>

#include "cli/LadderText.h"

namespace veltrane::cli {
namespace {

engine::RungResult rung(int exponent, const char* level, double mbPerSecond) {
    const std::size_t doubles = engine::kRungBaseDoubles << exponent;
    engine::RungResult r{{exponent, doubles, engine::rungWorkingSet(doubles), level},
                         mbPerSecond,
                         100,
                         engine::checkPassed()};
    return r;
}

engine::LadderResult threeRungs() {
    engine::LadderResult result;
    result.machine = {4 << 10, 8 << 10, 12 << 10, 0};
    result.rungs = {rung(4, "L1", 100000), rung(5, "L2", 50000), rung(6, "main memory", 10000)};
    result.planned = 3;
    result.reachesMainMemory = true;
    return result;
}

TEST(LadderTextTest, TableThenBarsScaledToTheWidestThenNotes) {
    const std::string text = formatLadder(threeRungs());
    const std::string expected =
        "Memory ladder\n\n"
        "Working set  Level              MB/s\n"
        "      15 KB  L1               100000\n"
        "      30 KB  L2                50000\n"
        "      60 KB  main memory       10000  <- main memory\n\n"
        "      15 KB |" +
        std::string(50, '#') +
        "\n"
        "      30 KB |" +
        std::string(25, '#') +
        "\n"
        "      60 KB |" +
        std::string(5, '#') + "\n\n";
    EXPECT_EQ(text.substr(0, expected.size()), expected) << text;
    EXPECT_NE(text.find("Main memory: the largest rung, 60 KB"), std::string::npos) << text;
    EXPECT_NE(text.find("test 7 (\"RAM FPU\", 8 MB arrays) keeps its own name"), std::string::npos);
}

TEST(LadderTextTest, AFailedRungShowsItsCheckAndNoBar) {
    auto result = threeRungs();
    result.rungs[1].check = engine::checkFailed("array c element 3 is 4, not 5");
    result.rungs[2].mbPerSecond = 1;  // still one '#'
    result.stopped = true;
    const std::string text = formatLadder(result);
    EXPECT_NE(text.find("30 KB  L2           check failed: array c element 3 is 4, not 5\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("      30 KB | (check failed)\n      60 KB |#\n"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("<- main memory"), std::string::npos) << "a stopped ladder has none";
    EXPECT_NE(text.find("Stopped after 3 of 3 rungs"), std::string::npos);
}

TEST(LadderTextTest, BarsRoundAndKeepOneHashForAnyFigure) {
    const struct {
        double value, widest;
        std::size_t hashes;
    } cases[] = {{1, 1, 50}, {0.5, 1, 25}, {0.001, 1, 1}, {0, 1, 0}, {1, 0, 0}, {2, 1, 50}};
    for (const auto& c : cases) {
        EXPECT_EQ(ladderBar(c.value, c.widest), std::string(c.hashes, '#'))
            << c.value << " of " << c.widest;
    }
}

}  // namespace
}  // namespace veltrane::cli

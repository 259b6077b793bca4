#include <gtest/gtest.h>

#include <vector>

#include "engine/MemoryLadder.h"

namespace veltrane::engine {
namespace {

constexpr std::uint64_t kKB = 1024;
constexpr std::uint64_t kMB = 1024 * kKB;
constexpr std::uint64_t kGB = 1024 * kMB;

struct RungsCase {
    const char* name;
    LadderMachine machine;
    std::size_t count;
    std::uint64_t lastWorkingSet;
    const char* lastLevel;
};

TEST(LadderRungs, RunFromSixteenKilobytesToFourTimesTheLastLevelCache) {
    const RungsCase cases[] = {
        {"unknown caches stop at 256 MB", {}, 15, 960 * (1ull << 18), "unknown"},
        {"8 MB L3", {32 * kKB, 256 * kKB, 8 * kMB, 0}, 13, 960 * (1ull << 16), "main memory"},
        {"260 MB L3",
         {48 * kKB, 2 * kMB, 260 * kMB, 16 * kGB},
         18,
         960 * (1ull << 21),
         "main memory"},
        {"half the memory at most",
         {48 * kKB, 2 * kMB, 260 * kMB, 1 * kGB},
         16,
         960 * (1ull << 19),
         "main memory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto rungs = ladderRungs(c.machine);
        ASSERT_EQ(rungs.size(), c.count);
        EXPECT_EQ(rungs.front().workingSetBytes, 15 * kKB);
        EXPECT_EQ(rungs.back().workingSetBytes, c.lastWorkingSet);
        EXPECT_EQ(rungs.back().level, c.lastLevel);
        for (std::size_t i = 1; i < rungs.size(); ++i) {
            EXPECT_EQ(rungs[i].doubles, 2 * rungs[i - 1].doubles);
            EXPECT_EQ(rungs[i].doubles % 40, 0u);
        }
    }
}

TEST(LadderRungs, LevelIsTheSmallestKnownCacheThatHoldsTheWorkingSet) {
    const LadderMachine machine{48 * kKB, 2 * kMB, 260 * kMB, 0};
    const LadderMachine noL3{32 * kKB, 512 * kKB, 0, 0};
    const struct {
        std::uint64_t bytes;
        const LadderMachine& machine;
        const char* level;
    } cases[] = {
        {15 * kKB, machine, "L1"},
        {48 * kKB, machine, "L1"},
        {60 * kKB, machine, "L2"},
        {2 * kMB, machine, "L2"},
        {2 * kMB + 1, machine, "L3"},
        {260 * kMB, machine, "L3"},
        {260 * kMB + 1, machine, "main memory"},
        {960 * kKB, noL3, "main memory"},
        {15 * kKB, LadderMachine{}, "unknown"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ladderLevel(c.bytes, c.machine), c.level) << c.bytes << " bytes";
    }
    EXPECT_EQ(workingSetText(15 * kKB), "15 KB");
    EXPECT_EQ(workingSetText(960 * (1ull << 11)), "1.88 MB");
    EXPECT_EQ(workingSetText(960 * (1ull << 21)), "1.88 GB");
}

// Three small rungs, quickly timed.
std::vector<LadderRung> tinyRungs(const LadderMachine& machine) {
    auto rungs = ladderRungs(machine);
    rungs.resize(3);
    return rungs;
}

constexpr LadderTiming kQuick{0.001, 2};

TEST(LadderRun, MeasuresEachRungAndChecksItsArrays) {
    const LadderMachine machine{32 * kKB, 256 * kKB, 8 * kMB, 0};
    std::vector<std::pair<int, int>> calls;
    const std::atomic<bool> cancel{false};
    const auto result = runMemoryLadder(
        machine, tinyRungs(machine), kQuick, [&](int i, int n) { calls.emplace_back(i, n); },
        cancel);
    EXPECT_FALSE(result.stopped);
    ASSERT_EQ(result.rungs.size(), 3u);
    for (const auto& rung : result.rungs) {
        EXPECT_TRUE(rung.measured()) << rung.check.detail;
        EXPECT_GT(rung.mbPerSecond, 0.0);
        EXPECT_GE(rung.repetitions, 1);
    }
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}}));
    // Three rungs of an 8 MB cache reach no main memory, and the notes say so.
    EXPECT_FALSE(result.reachesMainMemory);
    EXPECT_NE(ladderNotes(result)[1].find("surely main memory"), std::string::npos);
}

TEST(LadderRun, CancelStopsBetweenRungsKeepingWhatWasMeasured) {
    const LadderMachine machine{32 * kKB, 256 * kKB, 8 * kMB, 0};
    std::atomic<bool> cancel{false};
    const auto result = runMemoryLadder(
        machine, tinyRungs(machine), kQuick,
        [&](int i, int) {
            if (i == 1) {
                cancel = true;
            }
        },
        cancel);
    EXPECT_TRUE(result.stopped);
    ASSERT_EQ(result.rungs.size(), 1u);
    EXPECT_TRUE(result.rungs[0].measured());
    EXPECT_NE(ladderNotes(result).back().find("Stopped after 1 of 3 rungs"), std::string::npos);
}

TEST(LadderCheck, ADamagedElementOfAnyArrayFailsTheRung) {
    constexpr std::size_t kCount = 80;
    for (int array = 0; array < 3; ++array) {
        for (const std::size_t at : {std::size_t{0}, kCount / 2, kCount - 1}) {
            std::vector<double> a(kCount, kLadderA), b(kCount, kLadderB), c(kCount, 5.0);
            std::vector<double>* arrays[] = {&a, &b, &c};
            (*arrays[array])[at] *= 1.0 + 1e-15;
            const auto check = checkTriadArrays(a.data(), b.data(), c.data(), kCount);
            EXPECT_TRUE(check.failed()) << array << " " << at;
            EXPECT_EQ(check.detail.substr(0, 7), std::string("array ") + char('a' + array));
        }
    }
    std::vector<double> a(kCount, kLadderA), b(kCount, kLadderB), c(kCount, kLadderC);
    EXPECT_TRUE(checkTriadArrays(a.data(), b.data(), c.data(), kCount).failed())
        << "arrays the kernel never ran over";
}

}  // namespace
}  // namespace veltrane::engine

#include <gtest/gtest.h>

#include "FakeOsFactsSource.h"
#include "ident/MemoryInfo.h"
#include "ident/OsPage.h"

namespace veltrane::ident {
namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

std::string meminfoText(std::uint64_t totalKB, std::uint64_t availKB, std::uint64_t swapKB = 0,
                        std::uint64_t swapFreeKB = 0) {
    return "MemTotal: " + std::to_string(totalKB) +
           " kB\nMemAvailable: " + std::to_string(availKB) +
           " kB\nSwapTotal: " + std::to_string(swapKB) +
           " kB\nSwapFree: " + std::to_string(swapFreeKB) + " kB\n";
}

class MemoryInfoTest : public ::testing::Test {
protected:
    test::FakeOsFactsSource source_;
};

TEST_F(MemoryInfoTest, TheSmallMachineExampleAddsOneMegabyte) {
    // 267,780,096 bytes: 255.4 MB as the system counts, 256 MB as shown.
    source_.file("/proc/meminfo", meminfoText(261504, 130752));
    const MemoryInfo memory(source_);
    EXPECT_EQ(memory.totalPhysMB(), 256u);
    EXPECT_EQ(memory.availPhysMB(), 127u);
    EXPECT_EQ(memory.memoryLoad(), 50u);
}

TEST_F(MemoryInfoTest, SizesAboveFourGigabytesStayWhole) {
    source_.file("/proc/meminfo", meminfoText(64 * kGiB / 1024, 40 * kGiB / 1024, 16 * kGiB / 1024,
                                              12 * kGiB / 1024));
    const MemoryInfo memory(source_);
    EXPECT_EQ(memory.totalPhysMB(), 65537u);
    EXPECT_EQ(memory.availPhysMB(), 40960u);
    EXPECT_EQ(memory.totalPageFileMB(), 16384u);
    EXPECT_EQ(memory.availPageFileMB(), 12288u);
    EXPECT_EQ(memory.memoryLoad(), 37u);
}

TEST_F(MemoryInfoTest, UnreadableMeminfoFallsBackToTheSystemCall) {
    source_.fallbackMemory = {25, 8 * kGiB, 6 * kGiB, 0, 0};
    EXPECT_EQ(MemoryInfo(source_).totalPhysMB(), 8193u);
    source_.file("/proc/meminfo", "MemTotal: damaged\n");
    const MemoryInfo memory(source_);
    EXPECT_EQ(memory.totalPhysMB(), 8193u);
    EXPECT_EQ(memory.availPhysMB(), 6144u);
    EXPECT_EQ(memory.memoryLoad(), 25u);
}

TEST_F(MemoryInfoTest, UserHalfOfTheAddressSpaceLessWhatThisProcessMapped) {
    source_.file("/proc/sys/vm/mmap_min_addr", "65536\n");
    source_.file("/proc/self/status", "Name:\tcli\nVmSize:\t 1048576 kB\n");
    const MemoryInfo memory(source_);
    EXPECT_EQ(memory.minAppAddress(), 0x10000u);
    EXPECT_EQ(memory.maxAppAddress(), 0x7FFFFFFFEFFFu);
    // 128 TB less the 64 kB below the lowest address and the top page.
    EXPECT_EQ(memory.totalVirtualMB(), 134217727u);
    EXPECT_EQ(memory.availVirtualMB(), 134217727u - 1024u);
    EXPECT_EQ(memory.allocationGranularity(), 4096u);
}

TEST_F(MemoryInfoTest, UnreadableProcessFilesKeepTheSystemsAddresses) {
    source_.file("/proc/sys/vm/mmap_min_addr", "lots\n");
    const MemoryInfo memory(source_);
    EXPECT_EQ(memory.minAppAddress(), 4096u);
    EXPECT_EQ(memory.availVirtualMB(), memory.totalVirtualMB());
}

TEST_F(MemoryInfoTest, NoAddressSpaceKnownGivesZeroNotAWrappedSize) {
    source_.system = {};
    source_.file("/proc/self/status", "VmSize: 1000 kB\n");
    const MemoryInfo memory(source_);
    EXPECT_EQ(memory.totalVirtualMB(), 0u);
    EXPECT_EQ(memory.availVirtualMB(), 0u);
}

TEST(MemoryBars, UsedPartOfEachTotal) {
    platform::MemoryFacts facts;
    facts.status = {42, 4 * kGiB, 2 * kGiB, 4 * kGiB, 1 * kGiB};
    facts.totalVirtual = 8 * kGiB;
    facts.availVirtual = 6 * kGiB;
    const auto bars = memoryBars(MemoryInfo(facts));
    EXPECT_EQ(bars.memoryLoad.maximum, 100u);
    EXPECT_EQ(bars.memoryLoad.position, 42u);
    EXPECT_EQ(bars.memoryLoad.percent, 42u);
    EXPECT_EQ(bars.pageFile.maximum, 4096u);
    EXPECT_EQ(bars.pageFile.position, 3072u);
    EXPECT_EQ(bars.pageFile.percent, 75u);
    EXPECT_EQ(bars.userResources.percent, 25u);
}

TEST(MemoryBars, NoSwapIsAnEmptyBarNotADivisionByZero) {
    platform::MemoryFacts facts;
    facts.status = {10, kGiB, kGiB / 2, 0, 0};
    const auto bars = memoryBars(MemoryInfo(facts));
    EXPECT_EQ(bars.pageFile.maximum, 0u);
    EXPECT_EQ(bars.pageFile.position, 0u);
    EXPECT_EQ(bars.pageFile.percent, 0u);
}

TEST(MemoryBars, HugeAddressSpaceNeitherTruncatesNorOverflows) {
    // 128 TB in MB no longer fits a 16-bit range, and its use times 100 no
    // longer fits 32 bits.
    platform::MemoryFacts facts;
    facts.totalVirtual = std::uint64_t{1} << 47;
    facts.availVirtual = facts.totalVirtual / 4;
    const auto bar = memoryBars(MemoryInfo(facts)).userResources;
    EXPECT_EQ(bar.maximum, 134217728u);
    EXPECT_EQ(bar.position, 100663296u);
    EXPECT_EQ(bar.percent, 75u);
}

TEST(MemoryBars, PercentText) {
    EXPECT_EQ(percentText(37), "37 %");
    EXPECT_EQ(percentText(0), "0 %");
}

}  // namespace
}  // namespace veltrane::ident

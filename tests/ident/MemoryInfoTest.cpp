#include <gtest/gtest.h>

#include "FakeOsFactsSource.h"
#include "ident/MemoryInfo.h"
#include "ident/OsPage.h"

namespace veltrane::ident {
namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

class MemoryInfoTest : public ::testing::Test {
protected:
    test::FakeOsFactsSource source_;
};

TEST_F(MemoryInfoTest, TheSmallMachineExampleAddsOneMegabyte) {
    // 267,780,096 bytes: 255.4 MB as the system counts, 256 MB as shown.
    source_.file("/proc/meminfo", "MemTotal: 261504 kB\nMemAvailable: 130752 kB\n");
    const MemoryInfo memory(source_);
    EXPECT_EQ(memory.totalPhysMB(), 256u);
    EXPECT_EQ(memory.availPhysMB(), 127u);
    EXPECT_EQ(memory.memoryLoad(), 50u);
}

TEST_F(MemoryInfoTest, SizesAboveFourGigabytesStayWhole) {
    source_.file("/proc/meminfo",
                 "MemTotal: 67108864 kB\nMemAvailable: 41943040 kB\n"
                 "SwapTotal: 16777216 kB\nSwapFree: 12582912 kB\n");  // 64, 40, 16, 12 GB
    const MemoryInfo memory(source_);
    EXPECT_EQ(memory.totalPhysMB(), 65537u);
    EXPECT_EQ(memory.availPhysMB(), 40960u);
    EXPECT_EQ(memory.totalPageFileMB(), 16384u);
    EXPECT_EQ(memory.availPageFileMB(), 12288u);
    EXPECT_EQ(memory.memoryLoad(), 37u);
}

TEST_F(MemoryInfoTest, UnreadableOrDamagedMeminfoFallsBackToTheSystemCall) {
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
}

TEST_F(MemoryInfoTest, UnreadableProcessFilesOrNoAddressSpaceGiveNoWrappedSizes) {
    source_.file("/proc/sys/vm/mmap_min_addr", "lots\n");
    const MemoryInfo memory(source_);
    EXPECT_EQ(memory.minAppAddress(), 4096u);
    EXPECT_EQ(memory.availVirtualMB(), memory.totalVirtualMB());
    source_.system.maximumApplicationAddress = 0;  // below the lowest address
    source_.file("/proc/self/status", "VmSize: 1000 kB\n");
    const MemoryInfo empty(source_);
    EXPECT_EQ(empty.totalVirtualMB(), 0u);
    EXPECT_EQ(empty.availVirtualMB(), 0u);
}

TEST(MemoryBars, NoSwapIsAnEmptyBarNotADivisionByZero) {
    platform::MemoryFacts facts;
    facts.status = {10, kGiB, kGiB / 2, 0, 0};
    const auto bars = memoryBars(MemoryInfo(facts));
    EXPECT_EQ(bars.memoryLoad.position, 10u);
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

}  // namespace
}  // namespace veltrane::ident

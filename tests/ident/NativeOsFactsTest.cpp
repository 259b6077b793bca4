// Runs on the real system and checks only what any Linux machine gives.
#include <gtest/gtest.h>

#include "ident/MemoryInfo.h"
#include "ident/OsInfo.h"
#include "platform/OsFacts.h"
#include "platform/TextFile.h"

namespace veltrane::ident {
namespace {

TEST(NativeOsFacts, KernelNameHostNameAndAVersion) {
    const OsInfo info;
    EXPECT_EQ(info.kernelName, "Linux");
    EXPECT_FALSE(info.computerName.empty());
    EXPECT_FALSE(info.osName.empty());
    EXPECT_GE(info.majorVersion, 2);
    EXPECT_EQ(osRevisionText(info).rfind("Linux version ", 0), 0u);
}

TEST(NativeOsFacts, PhysicalMemoryWithinOnePercentOfMeminfo) {
    const auto meminfo = platform::readTextFile("/proc/meminfo");
    ASSERT_TRUE(meminfo.ok()) << meminfo.error;
    const auto total = platform::kilobyteField(meminfo.content, "MemTotal");
    ASSERT_TRUE(total);
    const double expectedMB = static_cast<double>(*total) / 1048576.0;
    const MemoryInfo memory;
    EXPECT_NEAR(memory.totalPhysMB(), expectedMB, expectedMB / 100);
    EXPECT_LE(memory.availPhysMB(), memory.totalPhysMB());
    EXPECT_LE(memory.memoryLoad(), 100u);
    EXPECT_GT(memory.availVirtualMB(), 0u);
    EXPECT_LT(memory.availVirtualMB(), memory.totalVirtualMB());
}

}  // namespace
}  // namespace veltrane::ident

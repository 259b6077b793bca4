// The parsers behind the operating-system and memory facts, on file texts.
#include <gtest/gtest.h>

#include "platform/OsFacts.h"

namespace veltrane::platform {
namespace {

TEST(KernelRelease, TakesUpToThreeNumbersAndNonsenseGivesZeros) {
    const auto full = parseKernelRelease("6.18.44-fc-v1272");
    EXPECT_EQ(full.major, 6);
    EXPECT_EQ(full.minor, 18);
    EXPECT_EQ(full.patch, 44);
    EXPECT_EQ(parseKernelRelease("5.4").minor, 4);
    EXPECT_EQ(parseKernelRelease("5.4").patch, 0);
    for (const char* text : {"", "abc", ".1.2", "99999999999999999999.1"}) {
        EXPECT_EQ(parseKernelRelease(text).major, 0) << text;
        EXPECT_EQ(parseKernelRelease(text).patch, 0) << text;
    }
}

TEST(OsRelease, UnquotesValuesAndFallsBackToName) {
    EXPECT_EQ(osReleaseName("PRETTY_NAME=\"Say \\\"hi\\\" \\\\ OS\"\n"), "Say \"hi\" \\ OS");
    EXPECT_EQ(osReleaseName("PRETTY_NAME=Plain\r\n"), "Plain");
    EXPECT_EQ(osReleaseName("  PRETTY_NAME='Single'  \n"), "Single");
    EXPECT_EQ(osReleaseName("PRETTY_NAME=\"\"\nNAME=Arch\n"), "Arch");
    EXPECT_EQ(osReleaseName("ID=x\n"), "");
    EXPECT_EQ(osReleaseName("PRETTY_NAME_EXTRA=no\n"), "");
}

TEST(Meminfo, ReadsTotalsInBytesAndTheLoad) {
    const auto status = parseMeminfo(
        "MemTotal:       24683748 kB\n"
        "MemFree:        22354120 kB\n"
        "MemAvailable:   23056576 kB\n"
        "SwapTotal:       2097148 kB\n"
        "SwapFree:        1048574 kB\n"
        "HugePages_Total:       0\n");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->totalPhys, 24683748ull * 1024);
    EXPECT_EQ(status->availPhys, 23056576ull * 1024);
    EXPECT_EQ(status->totalPageFile, 2097148ull * 1024);
    EXPECT_EQ(status->availPageFile, 1048574ull * 1024);
    EXPECT_EQ(status->memoryLoad, 6u);  // 6.59 % in use, truncated
}

TEST(Meminfo, MissingOrDamagedTotalIsRefused) {
    for (const char* text : {"", "MemFree: 100 kB\n", "MemTotal: lots kB\n", "MemTotal: 0 kB\n",
                             "MemTotal: 99999999999999999999 kB\n",
                             "MemTotal: 18014398509481985 kB\n"}) {  // bytes overflow 64 bits
        EXPECT_FALSE(parseMeminfo(text)) << text;
    }
}

TEST(Meminfo, WithoutAnEstimateCountsFreeBuffersAndCacheAndAvailableNeverExceedsTotal) {
    const auto estimated =
        parseMeminfo("MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 250 kB\n");
    ASSERT_TRUE(estimated);
    EXPECT_EQ(estimated->availPhys, 400u * 1024);
    EXPECT_EQ(estimated->memoryLoad, 60u);
    EXPECT_EQ(estimated->totalPageFile, 0u);
    const auto bounded =
        parseMeminfo("MemTotal: 100 kB\nMemAvailable: 500 kB\nSwapTotal: 10 kB\nSwapFree: 20 kB\n");
    ASSERT_TRUE(bounded);
    EXPECT_EQ(bounded->availPhys, bounded->totalPhys);
    EXPECT_EQ(bounded->memoryLoad, 0u);
    EXPECT_EQ(bounded->availPageFile, bounded->totalPageFile);
}

TEST(FieldParsers, KilobyteFieldMatchesTheWholeKeyAndSysfsHexRejectsJunk) {
    const char* text = "VmSizeMax: 1 kB\nVmSize:\t    3892 kB\n";
    EXPECT_EQ(kilobyteField(text, "VmSize"), 3892u * 1024);
    EXPECT_FALSE(kilobyteField(text, "VmRSS"));
    EXPECT_EQ(parseSysfsHex("0x10de\n"), 0x10DEu);
    EXPECT_EQ(parseSysfsHex("8086"), 0x8086u);
    for (const char* junk : {"", "0x", "0x10de junk", "0x1ffffffff"}) {
        EXPECT_FALSE(parseSysfsHex(junk)) << junk;
    }
}

}  // namespace
}  // namespace veltrane::platform

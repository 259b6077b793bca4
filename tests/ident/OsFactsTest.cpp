// The parsers behind the operating-system and memory facts, on file texts.
#include <gtest/gtest.h>

#include "platform/OsFacts.h"

namespace veltrane::platform {
namespace {

TEST(KernelRelease, TakesUpToThreeNumbers) {
    const auto full = parseKernelRelease("6.18.44-fc-v1272");
    EXPECT_EQ(full.major, 6);
    EXPECT_EQ(full.minor, 18);
    EXPECT_EQ(full.patch, 44);
    const auto shortOne = parseKernelRelease("5.4");
    EXPECT_EQ(shortOne.major, 5);
    EXPECT_EQ(shortOne.minor, 4);
    EXPECT_EQ(shortOne.patch, 0);
}

TEST(KernelRelease, NonsenseGivesZeros) {
    for (const char* text : {"", "abc", ".1.2", "99999999999999999999.1"}) {
        const auto version = parseKernelRelease(text);
        EXPECT_EQ(version.major, 0) << text;
        EXPECT_EQ(version.patch, 0) << text;
    }
}

TEST(OsRelease, UnquotesAndUnescapesValues) {
    EXPECT_EQ(osReleaseName("PRETTY_NAME=\"Say \\\"hi\\\" \\\\ OS\"\n"), "Say \"hi\" \\ OS");
    EXPECT_EQ(osReleaseName("PRETTY_NAME=Plain\r\n"), "Plain");
    EXPECT_EQ(osReleaseName("  PRETTY_NAME='Single'  \n"), "Single");
}

TEST(OsRelease, EmptyPrettyNameFallsBackToName) {
    EXPECT_EQ(osReleaseName("PRETTY_NAME=\"\"\nNAME=Arch\n"), "Arch");
    EXPECT_EQ(osReleaseName("ID=x\n"), "");
    EXPECT_EQ(osReleaseName(""), "");
    EXPECT_EQ(osReleaseName("PRETTY_NAME_EXTRA=no\n"), "");
}

constexpr const char* kMeminfo =
    "MemTotal:       24683748 kB\n"
    "MemFree:        22354120 kB\n"
    "MemAvailable:   23056576 kB\n"
    "Buffers:            3208 kB\n"
    "Cached:           879328 kB\n"
    "SwapTotal:       2097148 kB\n"
    "SwapFree:        1048574 kB\n"
    "HugePages_Total:       0\n";

TEST(Meminfo, ReadsTotalsInBytesAndTheLoad) {
    const auto status = parseMeminfo(kMeminfo);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->totalPhys, 24683748ull * 1024);
    EXPECT_EQ(status->availPhys, 23056576ull * 1024);
    EXPECT_EQ(status->totalPageFile, 2097148ull * 1024);
    EXPECT_EQ(status->availPageFile, 1048574ull * 1024);
    EXPECT_EQ(status->memoryLoad, 6u);  // 6.59 % in use, truncated
}

TEST(Meminfo, WithoutAnAvailableEstimateCountsFreeBuffersAndCache) {
    const auto status =
        parseMeminfo("MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 250 kB\n");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->availPhys, 400u * 1024);
    EXPECT_EQ(status->memoryLoad, 60u);
    EXPECT_EQ(status->totalPageFile, 0u);
}

TEST(Meminfo, MissingOrDamagedTotalIsRefused) {
    EXPECT_FALSE(parseMeminfo(""));
    EXPECT_FALSE(parseMeminfo("MemFree: 100 kB\n"));
    EXPECT_FALSE(parseMeminfo("MemTotal: lots kB\n"));
    EXPECT_FALSE(parseMeminfo("MemTotal: 0 kB\n"));
    EXPECT_FALSE(parseMeminfo("MemTotal: 99999999999999999999 kB\n"));
    EXPECT_FALSE(parseMeminfo("MemTotal: 18014398509481984 kB\n"));  // bytes overflow 64 bits
}

TEST(Meminfo, AvailableNeverExceedsTotal) {
    const auto status = parseMeminfo(
        "MemTotal: 100 kB\nMemAvailable: 500 kB\n"
        "SwapTotal: 10 kB\nSwapFree: 20 kB\n");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->availPhys, status->totalPhys);
    EXPECT_EQ(status->memoryLoad, 0u);
    EXPECT_EQ(status->availPageFile, status->totalPageFile);
}

TEST(KilobyteField, MatchesTheWholeKey) {
    const char* text = "VmSizeMax: 1 kB\nVmSize:\t    3892 kB\n";
    EXPECT_EQ(kilobyteField(text, "VmSize"), 3892u * 1024);
    EXPECT_FALSE(kilobyteField(text, "VmRSS"));
}

TEST(SysfsHex, ReadsIdsAndRejectsTheRest) {
    EXPECT_EQ(parseSysfsHex("0x10de\n"), 0x10DEu);
    EXPECT_EQ(parseSysfsHex("8086"), 0x8086u);
    EXPECT_FALSE(parseSysfsHex(""));
    EXPECT_FALSE(parseSysfsHex("0x"));
    EXPECT_FALSE(parseSysfsHex("0x10de junk"));
    EXPECT_FALSE(parseSysfsHex("0x1ffffffff"));
}

}  // namespace
}  // namespace veltrane::platform

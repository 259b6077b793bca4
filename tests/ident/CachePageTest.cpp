#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ident/CachePage.h"
#include "ident/CacheSizes.h"
#include "ident/ProcessorIdentity.h"
#include "platform/CpuidDump.h"
#include "support/FakeCpu.h"

namespace veltrane::ident {
namespace {

using test::FakeCpu;

// The groups in page order.
enum Group : std::size_t { kL1Large, kL1Small, kL1Data, kL1Code, kL2Large, kL2Small, kL2, kL3 };
const std::string kEmptyGroup = "|||";
const std::string kDisabledGroup = "(off)|(off)|(off)|(off)";
const std::string kL2Off = "off|0 entries|off|0 entries";

// A group's values in page order, joined by '|', "(off)" marking a disabled
// field: TLB ways and entries, data side first; cache associativity, lines per
// tag, line size, size.
std::string row(const CachePage& page, Group group) {
    std::string text;
    for (const auto& field : page.groups.at(group).fields) {
        text += "|" + field.value + (field.enabled ? "" : "(off)");
    }
    return text.substr(1);
}

CachePage pageOf(const platform::CpuProbe& probe, const std::string& name = "Test") {
    ProcessorFacts facts = test::factsWithoutDefinition();
    return cachePage(ProcessorIdentity(probe, facts), name);
}

CachePage pageFor(const FakeCpu& cpu, const std::string& name = "Test") {
    return pageOf(cpu.probe(), name);
}

FakeCpu amd(std::uint32_t highestExtended) {
    FakeCpu cpu;
    cpu.vendor("AuthenticAMD").signature(0x662).leaf(0x80000000, {highestExtended, 0, 0, 0});
    return cpu;
}

TEST(CachePage, AmdWithoutLeaf80000006ShowsSecondLevelOffAndMinusOneKByte) {
    // A second-level answer that the highest extended leaf does not admit is never read.
    const auto page = pageFor(amd(0x80000005)
                                  .leaf(0x80000005, {0, 0x02800140, 0x20020220, 0x20020220})
                                  .leaf(0x80000006, {0x61016101, 0x61016101, 0x01006140, 0}));
    EXPECT_EQ(row(page, kL2Large), kL2Off);
    EXPECT_EQ(row(page, kL2Small), kL2Off);
    EXPECT_EQ(row(page, kL2), "off|0 lines|0 Byte|-1 KByte");
}

TEST(CachePage, AmdFirstLevelFullOnlyForTlbsAndHexWaysOnlyForTheSmallCodeTlb) {
    const auto page =
        pageFor(amd(0x80000006).leaf(0x80000005, {0x0CFFFF08, 0xFF201040, 0x300C0140, 0x40FF0240}));
    EXPECT_EQ(row(page, kL1Large), "12 way|255 entries|Full|8 entries");
    EXPECT_EQ(row(page, kL1Small), "Full|32 entries|0x10 way|64 entries");
    EXPECT_EQ(row(page, kL1Data), "12 way|1 lines|64 Byte|48 KByte");
    EXPECT_EQ(row(page, kL1Code), "255 way|2 lines|64 Byte|64 KByte");
}

TEST(CachePage, AmdSecondLevelCodesAndTheirPerFieldNotKnownTexts) {
    const auto known =
        pageFor(amd(0x80000006).leaf(0x80000006, {0x6FFF1002, 0x2200F001, 0x0100F140, 0}));
    EXPECT_EQ(row(known, kL2Large), "8 way|4095 entries|Direct mapped|2 entries");
    EXPECT_EQ(row(known, kL2Small), "2 way|512 entries|Full|1 entries");
    EXPECT_EQ(row(known, kL2), "Full|1 lines|64 Byte|256 KByte");
    const auto unknown =
        pageFor(amd(0x80000006).leaf(0x80000006, {0x30803040, 0x30803040, 0x04003140, 0}));
    EXPECT_EQ(row(unknown, kL2Large), "Unknow|128 entries|Unkow|64 entries");
    EXPECT_EQ(row(unknown, kL2Small), "unknow|128 entries|unknow|64 entries");
    EXPECT_EQ(row(unknown, kL2), "unknow|1 lines|64 Byte|1024 KByte");
}

FakeCpu intelLeaf2(std::uint32_t eax, std::uint32_t edx) {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel").signature(0x686).leaf(2, {eax, 0, 0, edx});
    return cpu;
}

TEST(CachePage, IntelFixedBytesOfTheExampleProcessor) {
    const auto page = pageFor(intelLeaf2(0x03020101, 0x0C040843));
    EXPECT_EQ(row(page, kL2), "4 way|Unified Cache|32 Byte|512 KByte");
    EXPECT_EQ(row(page, kL1Data), "4 way|Unified cache|32 byte|16 KByte");
    EXPECT_EQ(row(page, kL1Code), "4 way|Unified cache|32 Byte|16 KByte");
    EXPECT_EQ(row(page, kL1Small), "4 way|64 entries||");
    // Data side empty: EAX byte 1 holds 0x01, which the table does not know.
    EXPECT_EQ(row(page, kL1Large), "||4 way|64 entries");
    EXPECT_EQ(row(page, kL2Large), kEmptyGroup);
    EXPECT_EQ(row(page, kL3), kDisabledGroup);
}

TEST(CachePage, IntelBytesCountOnlyAtTheirPositionsAndLaterOnesOverwrite) {
    // EAX byte 1 0x5B fills both data TLBs, then EAX byte 3 0x03 rewrites the 4 KB one.
    const auto data = pageFor(intelLeaf2(0x03005B01, 0));
    EXPECT_EQ(row(data, kL1Large), "full|64 entries||");
    EXPECT_EQ(row(data, kL1Small), "4 way|64 entries||");
    // EAX byte 2 0x50 fills both instruction TLBs, then EDX byte 2 0x04 the large one.
    const auto code = pageFor(intelLeaf2(0x00500001, 0x00040000));
    EXPECT_EQ(row(code, kL1Large), "||4 way|64 entries");
    EXPECT_EQ(row(code, kL1Small), "||full|64 entries");
    // 0x43 is a second-level descriptor only in EDX byte 0; 0x03 a TLB only in EAX bytes 1 and 3.
    const auto page = pageFor(intelLeaf2(0x00000301, 0x43434300));
    EXPECT_EQ(row(page, kL2), kEmptyGroup);
    EXPECT_EQ(row(page, kL1Large), "4 way|64 entries||");
    EXPECT_EQ(row(page, kL1Small), kEmptyGroup);
    const auto sectored = pageFor(intelLeaf2(0x00000001, 0x6600007A));
    EXPECT_EQ(row(sectored, kL2), "8 way|Sectored Cache|64 Byte|256 KByte");
    EXPECT_EQ(row(sectored, kL1Data), "4 way|Sectored|64 byte|8 KByte");
}

// A processor that defers to leaves 4 and 0x18: L1 data 48 KB 12 way,
// L1 instruction 32 KB 8 way, L2 1280 KB 20 way, L3 fully associative. Its
// TLB leaf counts only when the highest leaf admits it; the entries that must
// not be shown come before those that are.
FakeCpu modernIntel(std::uint32_t highestLeaf, std::uint32_t signature = 0x000706E5) {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel", highestLeaf)
        .signature(signature)
        .leaf(2, {0x00FEFF01, 0x000000F0, 0, 0x0C000843})
        .leaf(4, {0x1C004121, 0x02C0003F, 0x3F, 0}, 0)
        .leaf(4, {0x1C004122, 0x01C0003F, 0x3F, 0}, 1)
        .leaf(4, {0x1C004143, 0x04C0003F, 0x3FF, 0}, 2)
        .leaf(4, {0x1C03C363, 0x02C0003F, 0x3FFF, 0}, 3)
        .leaf(0x18, {7, 0x00080001, 0x10, 0x00000022}, 0)  // L1 instruction, 4 KB, 8 way 16 sets
        .leaf(0x18, {0, 0x00080006, 0x1, 0x00000122}, 1)   // L1 instruction, 2M/4M, full 8
        .leaf(0x18, {0, 0x0010000F, 0x1, 0x00000125}, 2)   // L1 store-only: not shown
        .leaf(0x18, {0, 0x0004000F, 0x10, 0x00000021}, 3)  // L1 data, every size, 4 way 16 sets
        .leaf(0x18, {0, 0x0004000E, 0x8, 0x00000024}, 4)   // L1 load-only, large: narrower, ignored
        .leaf(0x18, {0, 0x00080007, 0x400, 0x00000063}, 5)   // a third level: not shown
        .leaf(0x18, {0, 0x00080007, 0x100, 0x00000043}, 6)   // L2 unified 4K/2M/4M, 8 way 256 sets
        .leaf(0x18, {0, 0x00040009, 0x200, 0x00000043}, 7);  // L2 unified 4K+1G: later, ignored
    return cpu;
}

TEST(CachePage, ModernIntelTakesItsCachesFromLeaf4AndItsTlbsFromLeaf18) {
    const auto page = pageFor(modernIntel(0x16), "Intel(R) Core(TM) i7-1065G7 CPU @ 1.30GHz");
    EXPECT_EQ(page.heading, "Cache informations for Intel(R) Core(TM) i7-1065G7 CPU @ 1.30GHz");
    EXPECT_EQ(row(page, kL1Data), "12 way|1 lines|64 Byte|48 KByte");
    EXPECT_EQ(row(page, kL1Code), "8 way|1 lines|64 Byte|32 KByte");
    EXPECT_EQ(row(page, kL2), "20 way|1 lines|64 Byte|1280 KByte");
    EXPECT_EQ(row(page, kL3), kDisabledGroup);
    // Highest leaf 0x16: leaf 0x18 is not read, and leaf 2 holds no fixed-table TLB bytes.
    for (const Group tlb : {kL1Large, kL1Small, kL2Large, kL2Small}) {
        EXPECT_EQ(row(page, tlb), kEmptyGroup) << tlb;
    }
    const auto tlbs = pageFor(modernIntel(0x1B));
    EXPECT_EQ(row(tlbs, kL1Small), "4 way|64 entries|8 way|128 entries");
    EXPECT_EQ(row(tlbs, kL1Large), "4 way|64 entries|Full|8 entries");
    EXPECT_EQ(row(tlbs, kL2Small), "8 way|2048 entries|8 way|2048 entries");
    EXPECT_EQ(row(tlbs, kL2Large), "8 way|2048 entries|8 way|2048 entries");
    // Without an extended signature only the fixed leaf-2 bytes count.
    const auto old = pageFor(modernIntel(0x1B, 0x6B1));
    EXPECT_EQ(row(old, kL1Data), "4 way|Unified cache|32 byte|16 KByte");
    EXPECT_EQ(row(old, kL2Small), kEmptyGroup);
}

TEST(CachePage, Leaf4FullyAssociativeUnifiedFirstLevelAndDamagedAnswers) {
    FakeCpu unified;
    unified.vendor("GenuineIntel", 4)
        .signature(0x000106A5)
        .leaf(2, {0x0000FF01, 0, 0, 0})
        .leaf(4, {0x00000223, 0x00C0003F, 0x3F, 0}, 0);  // level 1 unified, full, 4 x 64 sets
    const auto page = pageFor(unified);
    EXPECT_EQ(row(page, kL1Data), "Full|1 lines|64 Byte|16 KByte");
    EXPECT_EQ(row(page, kL1Code), row(page, kL1Data));
    EXPECT_EQ(row(page, kL2), kEmptyGroup);

    FakeCpu damaged;
    damaged.vendor("GenuineIntel", 0x18)
        .signature(0x000906EA)
        .leaf(2, {0x00FEFF01, 0, 0, 0})
        .leaf(4, {0xFFFFFE23, 0xFFFFFFFF, 0xFFFFFFFF, 0}, 0)
        .leaf(0x18, {0xFFFFFFFF, 0xFFFF0001, 0xFFFFFFFF, 0x00000021}, 0);
    const auto bounded = pageFor(damaged);
    EXPECT_EQ(row(bounded, kL1Data), "Full|1024 lines|4096 Byte|2147483647 KByte");
    EXPECT_EQ(row(bounded, kL1Small), "65535 way|2147483647 entries||");
    // The identity's size (main form, report) is bounded the same way, not wrapped.
    FakeCpu damagedData;
    damagedData.leaf(4, {0xFFFFFE21, 0xFFFFFFFF, 0xFFFFFFFF, 0}, 0);  // level 1 data
    EXPECT_EQ(leaf4CacheSizes(damagedData.probe()).l1DataKB, 2147483647);
}

TEST(CachePage, OtherVendorsHaveEveryFieldDisabledAndEmpty) {
    for (const char* vendor : {"CyrixInstead", "CentaurHauls", "HygonGenuine"}) {
        const auto page = pageFor(FakeCpu()
                                      .vendor(vendor)
                                      .signature(0x524)
                                      .leaf(2, {0x03020101, 0, 0, 0x0C040843})
                                      .leaf(0x80000000, {0x80000006, 0, 0, 0})
                                      .leaf(0x80000005, {0, 0x02800140, 0x20020220, 0}),
                                  "6x86MX");
        EXPECT_EQ(page.heading, "Cache informations for 6x86MX");
        ASSERT_EQ(page.groups.size(), 8u);
        for (std::size_t group = 0; group < page.groups.size(); ++group) {
            EXPECT_EQ(row(page, static_cast<Group>(group)), kDisabledGroup) << vendor << group;
        }
    }
}

TEST(CachePage, AthlonXpPalominoDump) {
    const auto page = pageOf(*platform::loadCpuidDumpFile(std::string(VELTRANE_TEST_DATA_DIR) +
                                                          "/athlonxp-palomino.cpuid"));
    EXPECT_EQ(row(page, kL1Large), "4 way|8 entries|Full|8 entries");
    EXPECT_EQ(row(page, kL1Small), "Full|32 entries|Full|16 entries");
    EXPECT_EQ(row(page, kL1Data), "2 way|1 lines|64 Byte|64 KByte");
    EXPECT_EQ(row(page, kL2Large), kL2Off);
    EXPECT_EQ(row(page, kL2Small), "4 way|256 entries|4 way|256 entries");
    EXPECT_EQ(row(page, kL2), "16 way|1 lines|64 Byte|256 KByte");
}

}  // namespace
}  // namespace veltrane::ident

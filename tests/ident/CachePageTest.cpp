#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ident/CachePage.h"
#include "ident/ProcessorIdentity.h"
#include "platform/CpuidDump.h"
#include "support/FakeCpu.h"

namespace veltrane::ident {
namespace {

using test::FakeCpu;
using Values = std::vector<std::string>;

// The groups in page order.
enum Group : std::size_t { kL1Large, kL1Small, kL1Data, kL1Code, kL2Large, kL2Small, kL2, kL3 };
const Values kEmptyGroup{"", "", "", ""};

// A group's values in page order: TLB ways and entries, data side first;
// cache associativity, lines per tag, line size, size.
Values valuesOf(const CachePage& page, Group group) {
    Values values;
    for (const auto& field : page.groups.at(group).fields) {
        values.push_back(field.value);
    }
    return values;
}

int enabledFields(const CachePage& page) {
    int count = 0;
    for (const auto& group : page.groups) {
        for (const auto& field : group.fields) {
            count += field.enabled ? 1 : 0;
        }
    }
    return count;
}

CachePage pageOf(const platform::CpuProbe& probe, const std::string& name) {
    ProcessorFacts facts = test::factsWithoutDefinition();
    return cachePage(ProcessorIdentity(probe, facts), name);
}

CachePage pageFor(const FakeCpu& cpu, const std::string& name = "Test") {
    return pageOf(cpu.probe(), name);
}

CachePage pageForDump(const std::string& name) {
    const auto path = std::string(VELTRANE_TEST_DATA_DIR) + "/" + name + ".cpuid";
    return pageOf(*platform::loadCpuidDumpFile(path), name);
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
    EXPECT_EQ(valuesOf(page, kL2Large), (Values{"off", "0 entries", "off", "0 entries"}));
    EXPECT_EQ(valuesOf(page, kL2Small), (Values{"off", "0 entries", "off", "0 entries"}));
    EXPECT_EQ(valuesOf(page, kL2), (Values{"off", "0 lines", "0 Byte", "-1 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"2 way", "2 lines", "32 Byte", "32 KByte"}));
}

TEST(CachePage, AmdFirstLevelFullOnlyForTlbsAndHexWaysOnlyForTheSmallCodeTlb) {
    const auto page =
        pageFor(amd(0x80000006).leaf(0x80000005, {0x0CFFFF08, 0xFF201040, 0x300C0140, 0x40FF0240}));
    EXPECT_EQ(valuesOf(page, kL1Large), (Values{"12 way", "255 entries", "Full", "8 entries"}));
    EXPECT_EQ(valuesOf(page, kL1Small), (Values{"Full", "32 entries", "0x10 way", "64 entries"}));
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"12 way", "1 lines", "64 Byte", "48 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Code), (Values{"255 way", "2 lines", "64 Byte", "64 KByte"}));
}

TEST(CachePage, AmdSecondLevelCodesAndTheirPerFieldNotKnownTexts) {
    const auto known =
        pageFor(amd(0x80000006).leaf(0x80000006, {0x6FFF1002, 0x2200F001, 0x0100F140, 0}));
    EXPECT_EQ(valuesOf(known, kL2Large),
              (Values{"8 way", "4095 entries", "Direct mapped", "2 entries"}));
    EXPECT_EQ(valuesOf(known, kL2Small), (Values{"2 way", "512 entries", "Full", "1 entries"}));
    EXPECT_EQ(valuesOf(known, kL2), (Values{"Full", "1 lines", "64 Byte", "256 KByte"}));

    const auto unknown =
        pageFor(amd(0x80000006).leaf(0x80000006, {0x30803040, 0x30803040, 0x04003140, 0}));
    EXPECT_EQ(valuesOf(unknown, kL2Large),
              (Values{"Unknow", "128 entries", "Unkow", "64 entries"}));
    EXPECT_EQ(valuesOf(unknown, kL2Small),
              (Values{"unknow", "128 entries", "unknow", "64 entries"}));
    EXPECT_EQ(valuesOf(unknown, kL2)[0], "unknow");
}

FakeCpu intelLeaf2(std::uint32_t eax, std::uint32_t edx, std::uint32_t signature = 0x686) {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel").signature(signature).leaf(2, {eax, 0, 0, edx});
    return cpu;
}

TEST(CachePage, IntelFixedBytesOfTheExampleProcessor) {
    const auto page = pageFor(intelLeaf2(0x03020101, 0x0C040843));
    EXPECT_EQ(valuesOf(page, kL2), (Values{"4 way", "Unified Cache", "32 Byte", "512 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"4 way", "Unified cache", "32 byte", "16 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Code), (Values{"4 way", "Unified cache", "32 Byte", "16 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Small), (Values{"4 way", "64 entries", "", ""}));
    // Data side empty: EAX byte 1 holds 0x01, which the table does not know.
    EXPECT_EQ(valuesOf(page, kL1Large), (Values{"", "", "4 way", "64 entries"}));
    EXPECT_EQ(valuesOf(page, kL2Large), kEmptyGroup);
    EXPECT_EQ(valuesOf(page, kL2Small), kEmptyGroup);
    EXPECT_EQ(enabledFields(page), 28);  // all but the third level
}

TEST(CachePage, IntelLaterBytesOverwriteEarlierOnes) {
    // EAX byte 1 0x5B fills both data TLBs, then EAX byte 3 0x03 rewrites the 4 KB one.
    const auto data = pageFor(intelLeaf2(0x03005B01, 0));
    EXPECT_EQ(valuesOf(data, kL1Large), (Values{"full", "64 entries", "", ""}));
    EXPECT_EQ(valuesOf(data, kL1Small), (Values{"4 way", "64 entries", "", ""}));
    // EAX byte 2 0x50 fills both instruction TLBs, then EDX byte 2 0x04 the large one.
    const auto code = pageFor(intelLeaf2(0x00500001, 0x00040000));
    EXPECT_EQ(valuesOf(code, kL1Large), (Values{"", "", "4 way", "64 entries"}));
    EXPECT_EQ(valuesOf(code, kL1Small), (Values{"", "", "full", "64 entries"}));
}

TEST(CachePage, IntelBytesAreReadOnlyAtTheirFixedPositionsWithTheirOwnSpelling) {
    // 0x43 is a second-level descriptor only in EDX byte 0; 0x03 a TLB only in EAX bytes 1 and 3.
    const auto page = pageFor(intelLeaf2(0x00000301, 0x43434300));
    EXPECT_EQ(valuesOf(page, kL2), kEmptyGroup);
    EXPECT_EQ(valuesOf(page, kL1Large), (Values{"4 way", "64 entries", "", ""}));
    EXPECT_EQ(valuesOf(page, kL1Small), kEmptyGroup);
    const auto sectored = pageFor(intelLeaf2(0x00000001, 0x6600007A));
    EXPECT_EQ(valuesOf(sectored, kL2), (Values{"8 way", "Sectored Cache", "64 Byte", "256 KByte"}));
    EXPECT_EQ(valuesOf(sectored, kL1Data), (Values{"4 way", "Sectored", "64 byte", "8 KByte"}));
}

TEST(CachePage, IntelWithoutExtendedSignatureIgnoresLeaf4) {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel", 4)
        .signature(0x6B1)
        .leaf(2, {0x00FF0001, 0, 0, 0x0C040843})
        .leaf(4, {0x00000121, 0x01C0003F, 0x3F, 0}, 0);
    const auto page = pageFor(cpu);
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"4 way", "Unified cache", "32 byte", "16 KByte"}));
}

// A processor that defers to leaves 4 and 0x18: L1 data 48 KB 12 way,
// L1 instruction 32 KB 8 way, L2 1280 KB 20 way, L3 fully associative. Its
// TLB leaf counts only when the highest leaf admits it; the entries that must
// not be shown come before those that are.
FakeCpu modernIntel(std::uint32_t highestLeaf) {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel", highestLeaf)
        .signature(0x000706E5)
        .leaf(2, {0x00FEFF01, 0x000000F0, 0, 0})
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

TEST(CachePage, ModernIntelTakesItsCachesFromLeaf4) {
    const auto page = pageFor(modernIntel(0x16), "Intel(R) Core(TM) i7-1065G7 CPU @ 1.30GHz");
    EXPECT_EQ(page.heading, "Cache informations for Intel(R) Core(TM) i7-1065G7 CPU @ 1.30GHz");
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"12 way", "1 lines", "64 Byte", "48 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Code), (Values{"8 way", "1 lines", "64 Byte", "32 KByte"}));
    EXPECT_EQ(valuesOf(page, kL2), (Values{"20 way", "1 lines", "64 Byte", "1280 KByte"}));
    EXPECT_EQ(valuesOf(page, kL3), kEmptyGroup);
    // Highest leaf 0x16: leaf 0x18 is not read, and leaf 2 holds no fixed-table bytes.
    for (const Group tlb : {kL1Large, kL1Small, kL2Large, kL2Small}) {
        EXPECT_EQ(valuesOf(page, tlb), kEmptyGroup) << tlb;
    }
}

TEST(CachePage, ModernIntelTakesItsTlbsFromLeaf18) {
    const auto page = pageFor(modernIntel(0x1B));
    EXPECT_EQ(valuesOf(page, kL1Small), (Values{"4 way", "64 entries", "8 way", "128 entries"}));
    EXPECT_EQ(valuesOf(page, kL1Large), (Values{"4 way", "64 entries", "Full", "8 entries"}));
    EXPECT_EQ(valuesOf(page, kL2Small), (Values{"8 way", "2048 entries", "8 way", "2048 entries"}));
    EXPECT_EQ(valuesOf(page, kL2Large), (Values{"8 way", "2048 entries", "8 way", "2048 entries"}));
}

TEST(CachePage, Leaf4FullyAssociativeUnifiedFirstLevelAndDamagedAnswers) {
    FakeCpu unified;
    unified.vendor("GenuineIntel", 4)
        .signature(0x000106A5)
        .leaf(2, {0x0000FF01, 0, 0, 0})
        .leaf(4, {0x00000223, 0x00C0003F, 0x3F, 0}, 0);  // level 1 unified, full, 4 x 64 sets
    const auto page = pageFor(unified);
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"Full", "1 lines", "64 Byte", "16 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Code), valuesOf(page, kL1Data));
    EXPECT_EQ(valuesOf(page, kL2), kEmptyGroup);

    FakeCpu damaged;
    damaged.vendor("GenuineIntel", 0x18)
        .signature(0x000906EA)
        .leaf(2, {0x00FEFF01, 0, 0, 0})
        .leaf(4, {0xFFFFFE23, 0xFFFFFFFF, 0xFFFFFFFF, 0}, 0)
        .leaf(0x18, {0xFFFFFFFF, 0xFFFF0001, 0xFFFFFFFF, 0x00000021}, 0);
    const auto bounded = pageFor(damaged);
    EXPECT_EQ(valuesOf(bounded, kL1Data)[3], "2147483647 KByte");
    EXPECT_EQ(valuesOf(bounded, kL1Small)[1], "2147483647 entries");
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
        EXPECT_EQ(enabledFields(page), 0) << vendor;
        for (std::size_t group = 0; group < page.groups.size(); ++group) {
            EXPECT_EQ(valuesOf(page, static_cast<Group>(group)), kEmptyGroup)
                << vendor << " " << group;
        }
    }
}

TEST(CachePage, AthlonXpPalominoDump) {
    const auto page = pageForDump("athlonxp-palomino");
    EXPECT_EQ(valuesOf(page, kL1Large), (Values{"4 way", "8 entries", "Full", "8 entries"}));
    EXPECT_EQ(valuesOf(page, kL1Small), (Values{"Full", "32 entries", "Full", "16 entries"}));
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"2 way", "1 lines", "64 Byte", "64 KByte"}));
    EXPECT_EQ(valuesOf(page, kL2Large), (Values{"off", "0 entries", "off", "0 entries"}));
    EXPECT_EQ(valuesOf(page, kL2Small), (Values{"4 way", "256 entries", "4 way", "256 entries"}));
    EXPECT_EQ(valuesOf(page, kL2), (Values{"16 way", "1 lines", "64 Byte", "256 KByte"}));
}

}  // namespace
}  // namespace veltrane::ident

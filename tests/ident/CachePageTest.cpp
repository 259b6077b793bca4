#include <gtest/gtest.h>

#include <map>
#include <memory>
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

const char* const kL1Large = "2 Mbyte/4MByte Pages (L1 TLB)";
const char* const kL1Small = "4 KByte Pages (L1 TLB)";
const char* const kL1Data = "L1 Data cache";
const char* const kL1Code = "L1 Instruction cache";
const char* const kL2Large = "2 Mbyte/4MByte Pages (L2 TLB)";
const char* const kL2Small = "4 KByte Pages (L2 TLB)";
const char* const kL2 = "L2 cache";
const char* const kL3 = "L3 cache";

// The values of one group in page order: associativity, entries (data
// then instruction) for a TLB; associativity, lines, line size, size for a cache.
Values valuesOf(const CachePage& page, const std::string& title) {
    for (const auto& group : page.groups) {
        if (group.title == title) {
            Values values;
            for (const auto& field : group.fields) {
                values.push_back(field.value);
            }
            return values;
        }
    }
    ADD_FAILURE() << "no group " << title;
    return {};
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

const Values kEmptyGroup{"", "", "", ""};

class CachePageTest : public ::testing::Test {
protected:
    CachePage pageFor(const FakeCpu& cpu, const std::string& name = "Test") {
        probes_.push_back(std::make_unique<platform::RecordedCpuProbe>(cpu.probe()));
        const ProcessorIdentity identity(*probes_.back(), facts_);
        return cachePage(identity, name);
    }

    CachePage pageForDump(const std::string& name) {
        const auto path = std::string(VELTRANE_TEST_DATA_DIR) + "/" + name + ".cpuid";
        probes_.push_back(platform::loadCpuidDumpFile(path));
        const ProcessorIdentity identity(*probes_.back(), facts_);
        return cachePage(identity, name);
    }

    std::vector<std::unique_ptr<platform::RecordedCpuProbe>> probes_;
    ProcessorFacts facts_ = test::factsWithoutDefinition();
};

// ---------------------------------------------------------------- layout

TEST_F(CachePageTest, HasTheHeadingEightGroupsAndTheirLabelsInPageOrder) {
    const auto page = pageFor(FakeCpu().vendor("AuthenticAMD"), "Athlon XP / MP");
    EXPECT_EQ(page.heading, "Cache informations for Athlon XP / MP");
    const std::vector<std::string> titles{kL1Large, kL1Small, kL1Data, kL1Code,
                                          kL2Large, kL2Small, kL2,     kL3};
    ASSERT_EQ(page.groups.size(), titles.size());
    const Values tlbLabels{"DATA TLB Associativity", "DATA TLB # entries",
                           "Instr.TLB Associativity", "Instr. TLB # entries"};
    const std::map<std::string, std::string> sizeLabels{{kL1Data, "L1 Data cache size"},
                                                        {kL1Code, "L1 Instr. cache size"},
                                                        {kL2, "L2 cache size"},
                                                        {kL3, "L3 cache size"}};
    for (std::size_t i = 0; i < titles.size(); ++i) {
        const auto& group = page.groups[i];
        EXPECT_EQ(group.title, titles[i]);
        Values labels;
        for (const auto& field : group.fields) {
            labels.push_back(field.label);
        }
        const auto size = sizeLabels.find(group.title);
        const Values expected = size == sizeLabels.end() ? tlbLabels
                                                         : Values{"Associativity", "Lines per tag",
                                                                  "Line size", size->second};
        EXPECT_EQ(labels, expected) << group.title;
    }
}

TEST_F(CachePageTest, ThirdLevelIsAlwaysDisabledAndEmpty) {
    const auto page = pageFor(FakeCpu()
                                  .vendor("AuthenticAMD")
                                  .leaf(0x80000000, {0x80000006, 0, 0, 0})
                                  .leaf(0x80000006, {0, 0, 0x01008140, 0x0FE09140}));
    for (const auto& field : page.groups.back().fields) {
        EXPECT_FALSE(field.enabled) << field.label;
        EXPECT_EQ(field.value, "") << field.label;
    }
    EXPECT_EQ(enabledFields(page), 28);
}

// ---------------------------------------------------------------- AMD

FakeCpu amd(std::uint32_t highestExtended) {
    FakeCpu cpu;
    cpu.vendor("AuthenticAMD").signature(0x662).leaf(0x80000000, {highestExtended, 0, 0, 0});
    return cpu;
}

TEST_F(CachePageTest, AmdWithoutLeaf80000006ShowsSecondLevelOffAndMinusOneKByte) {
    // A second-level answer that the highest extended leaf does not admit is never read.
    const auto page = pageFor(amd(0x80000005)
                                  .leaf(0x80000005, {0, 0x02800140, 0x20020220, 0x20020220})
                                  .leaf(0x80000006, {0x61016101, 0x61016101, 0x01006140, 0}));
    EXPECT_EQ(valuesOf(page, kL2Large), (Values{"off", "0 entries", "off", "0 entries"}));
    EXPECT_EQ(valuesOf(page, kL2Small), (Values{"off", "0 entries", "off", "0 entries"}));
    EXPECT_EQ(valuesOf(page, kL2), (Values{"off", "0 lines", "0 Byte", "-1 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"2 way", "2 lines", "32 Byte", "32 KByte"}));
}

TEST_F(CachePageTest, AmdFirstLevelTlbWritesFullDecimalWaysAndHexForTheSmallCodeTlb) {
    const auto page = pageFor(amd(0x80000006).leaf(0x80000005, {0x04FFFF08, 0xFF201040, 0, 0}));
    EXPECT_EQ(valuesOf(page, kL1Large), (Values{"4 way", "255 entries", "Full", "8 entries"}));
    EXPECT_EQ(valuesOf(page, kL1Small), (Values{"Full", "32 entries", "0x10 way", "64 entries"}));
    const auto full = pageFor(amd(0x80000006).leaf(0x80000005, {0, 0x0C40FF20, 0, 0}));
    EXPECT_EQ(valuesOf(full, kL1Small), (Values{"12 way", "64 entries", "Full", "32 entries"}));
}

TEST_F(CachePageTest, AmdFirstLevelCachesDecodeEveryByteWithoutAFullCase) {
    const auto page = pageFor(amd(0x80000006).leaf(0x80000005, {0, 0, 0x300C0140, 0x40FF0240}));
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"12 way", "1 lines", "64 Byte", "48 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Code), (Values{"255 way", "2 lines", "64 Byte", "64 KByte"}));
}

TEST_F(CachePageTest, AmdSecondLevelCodesAndTheirPerFieldNotKnownTexts) {
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

TEST_F(CachePageTest, AmdCodesOutsideTheOldTableShowTheNotKnownText) {
    const std::map<std::uint32_t, std::string> table{
        {0, "off"},   {1, "Direct mapped"}, {2, "2 way"}, {4, "4 way"},
        {6, "8 way"}, {8, "16 way"},        {15, "Full"}};
    for (std::uint32_t code = 0; code < 16; ++code) {
        const auto page = pageFor(amd(0x80000006).leaf(0x80000006, {0, 0, code << 12, 0}));
        const auto it = table.find(code);
        EXPECT_EQ(valuesOf(page, kL2)[0], it == table.end() ? "unknow" : it->second) << code;
    }
}

TEST_F(CachePageTest, AmdSecondLevelSizeIsTheIdentitysCorrectedFigure) {
    // Family 6 model 3 stepping 0 reports 1 KB in leaf 0x80000006.
    const auto page = pageFor(FakeCpu()
                                  .vendor("AuthenticAMD")
                                  .signature(0x630)
                                  .leaf(0x80000000, {0x80000006, 0, 0, 0})
                                  .leaf(0x80000006, {0, 0, 0x00018140, 0}));
    EXPECT_EQ(valuesOf(page, kL2), (Values{"16 way", "1 lines", "64 Byte", "64 KByte"}));
}

// ---------------------------------------------------------------- Intel leaf 2

FakeCpu intelLeaf2(std::uint32_t eax, std::uint32_t edx, std::uint32_t signature = 0x686) {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel").signature(signature).leaf(2, {eax, 0, 0, edx});
    return cpu;
}

TEST_F(CachePageTest, IntelFixedBytesOfTheExampleProcessor) {
    const auto page = pageFor(intelLeaf2(0x03020101, 0x0C040843));
    EXPECT_EQ(valuesOf(page, kL2), (Values{"4 way", "Unified Cache", "32 Byte", "512 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"4 way", "Unified cache", "32 byte", "16 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Code), (Values{"4 way", "Unified cache", "32 Byte", "16 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Small), (Values{"4 way", "64 entries", "", ""}));
    // Data side empty: EAX byte 1 holds 0x01, which the table does not know.
    EXPECT_EQ(valuesOf(page, kL1Large), (Values{"", "", "4 way", "64 entries"}));
    EXPECT_EQ(valuesOf(page, kL2Large), kEmptyGroup);
    EXPECT_EQ(valuesOf(page, kL2Small), kEmptyGroup);
    EXPECT_EQ(enabledFields(page), 28);
}

TEST_F(CachePageTest, IntelLaterBytesOverwriteEarlierOnes) {
    // EAX byte 1 0x5B fills both data TLBs, then EAX byte 3 0x03 rewrites the 4 KB one.
    const auto data = pageFor(intelLeaf2(0x03005B01, 0));
    EXPECT_EQ(valuesOf(data, kL1Large), (Values{"full", "64 entries", "", ""}));
    EXPECT_EQ(valuesOf(data, kL1Small), (Values{"4 way", "64 entries", "", ""}));
    // EAX byte 2 0x50 fills both instruction TLBs, then EDX byte 2 0x04 the large one.
    const auto code = pageFor(intelLeaf2(0x00500001, 0x00040000));
    EXPECT_EQ(valuesOf(code, kL1Large), (Values{"", "", "4 way", "64 entries"}));
    EXPECT_EQ(valuesOf(code, kL1Small), (Values{"", "", "full", "64 entries"}));
}

TEST_F(CachePageTest, IntelCacheDescriptorsKeepTheirOwnSpelling) {
    const auto sectored = pageFor(intelLeaf2(0x00000001, 0x6600007A));
    EXPECT_EQ(valuesOf(sectored, kL2), (Values{"8 way", "Sectored Cache", "64 Byte", "256 KByte"}));
    EXPECT_EQ(valuesOf(sectored, kL1Data), (Values{"4 way", "Sectored", "64 byte", "8 KByte"}));
    const std::map<std::uint32_t, Values> secondLevel{
        {0x41, {"4 way", "Unified Cache", "32 Byte", "128 KByte"}},
        {0x44, {"4 way", "Unified Cache", "32 Byte", "1 MByte"}},
        {0x45, {"4 way", "Unified Cache", "32 Byte", "2 MByte"}},
        {0x84, {"8 way", "Unified Cache", "32 Byte", "1 MByte"}},
        {0x85, {"8 way", "Unified Cache", "32 Byte", "2 MByte"}},
        {0x40, kEmptyGroup},
        {0x7B, kEmptyGroup}};
    for (const auto& [byte, values] : secondLevel) {
        EXPECT_EQ(valuesOf(pageFor(intelLeaf2(1, 0x0A000600 | byte)), kL2), values) << byte;
    }
    const auto small = pageFor(intelLeaf2(1, 0x0A000600));
    EXPECT_EQ(valuesOf(small, kL1Data), (Values{"4 way", "Unified cache", "32 byte", "8 KByte"}));
    EXPECT_EQ(valuesOf(small, kL1Code), (Values{"4 way", "Unified cache", "32 Byte", "8 KByte"}));
}

TEST_F(CachePageTest, IntelBytesAreReadOnlyAtTheirFixedPositions) {
    // 0x43 is a second-level descriptor only in EDX byte 0; 0x03 a TLB only in EAX bytes 1 and 3.
    const auto page = pageFor(intelLeaf2(0x00000301, 0x43434300));
    EXPECT_EQ(valuesOf(page, kL2), kEmptyGroup);
    EXPECT_EQ(valuesOf(page, kL1Large), (Values{"4 way", "64 entries", "", ""}));
    EXPECT_EQ(valuesOf(page, kL1Small), kEmptyGroup);
}

TEST_F(CachePageTest, IntelWithoutExtendedSignatureIgnoresLeaf4) {
    const auto cpu =
        intelLeaf2(0x00FF0001, 0x0C040843, 0x6B1).leaf(4, {0x00000121, 0x01C0003F, 0x3F, 0}, 0);
    const auto page = pageFor(cpu);
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"4 way", "Unified cache", "32 byte", "16 KByte"}));
}

// ---------------------------------------------------------------- Intel leaves 4 and 0x18

// A processor of the kind that defers to leaves 4 and 0x18: L1 data 48 KB
// 12 way, L1 instruction 32 KB 8 way, L2 1280 KB 20 way, L3 fully associative.
FakeCpu modernIntel(std::uint32_t highestLeaf) {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel", highestLeaf)
        .signature(0x000706E5)
        .leaf(2, {0x00FEFF01, 0x000000F0, 0, 0})
        .leaf(4, {0x1C004121, 0x02C0003F, 0x3F, 0}, 0)
        .leaf(4, {0x1C004122, 0x01C0003F, 0x3F, 0}, 1)
        .leaf(4, {0x1C004143, 0x04C0003F, 0x3FF, 0}, 2)
        .leaf(4, {0x1C03C363, 0x02C0003F, 0x3FFF, 0}, 3);
    return cpu;
}

void addTlbLeaf(FakeCpu& cpu) {
    cpu.leaf(0x18, {7, 0x00080001, 0x10, 0x00000022}, 0)   // L1 instruction, 4 KB, 8 way 16 sets
        .leaf(0x18, {0, 0x00080006, 0x1, 0x00000122}, 1)   // L1 instruction, 2M/4M, full 8
        .leaf(0x18, {0, 0x0004000F, 0x10, 0x00000021}, 2)  // L1 data, every size, 4 way 16 sets
        .leaf(0x18, {0, 0x0004000E, 0x8, 0x00000024}, 3)   // L1 load-only, large: narrower, ignored
        .leaf(0x18, {0, 0x0010000F, 0x1, 0x00000125}, 4)   // L1 store-only: not shown
        .leaf(0x18, {0, 0x00080007, 0x100, 0x00000043}, 5)   // L2 unified 4K/2M/4M, 8 way 256 sets
        .leaf(0x18, {0, 0x00040009, 0x200, 0x00000043}, 6)   // L2 unified 4K+1G: later, ignored
        .leaf(0x18, {0, 0x00080007, 0x400, 0x00000063}, 7);  // a third level: not shown
}

TEST_F(CachePageTest, ModernIntelTakesItsCachesFromLeaf4) {
    const auto page = pageFor(modernIntel(0x16), "Intel(R) Core(TM) i7-1065G7 CPU @ 1.30GHz");
    EXPECT_EQ(page.heading, "Cache informations for Intel(R) Core(TM) i7-1065G7 CPU @ 1.30GHz");
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"12 way", "1 lines", "64 Byte", "48 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Code), (Values{"8 way", "1 lines", "64 Byte", "32 KByte"}));
    EXPECT_EQ(valuesOf(page, kL2), (Values{"20 way", "1 lines", "64 Byte", "1280 KByte"}));
    EXPECT_EQ(valuesOf(page, kL3), kEmptyGroup);
    // Highest leaf 0x16: no leaf 0x18, and leaf 2 holds no fixed-table bytes.
    for (const char* tlb : {kL1Large, kL1Small, kL2Large, kL2Small}) {
        EXPECT_EQ(valuesOf(page, tlb), kEmptyGroup) << tlb;
    }
}

TEST_F(CachePageTest, ModernIntelTakesItsTlbsFromLeaf18) {
    auto cpu = modernIntel(0x1B);
    addTlbLeaf(cpu);
    const auto page = pageFor(cpu);
    EXPECT_EQ(valuesOf(page, kL1Small), (Values{"4 way", "64 entries", "8 way", "128 entries"}));
    EXPECT_EQ(valuesOf(page, kL1Large), (Values{"4 way", "64 entries", "Full", "8 entries"}));
    EXPECT_EQ(valuesOf(page, kL2Small), (Values{"8 way", "2048 entries", "8 way", "2048 entries"}));
    EXPECT_EQ(valuesOf(page, kL2Large), (Values{"8 way", "2048 entries", "8 way", "2048 entries"}));
}

TEST_F(CachePageTest, Leaf4FullyAssociativeAndUnifiedFirstLevel) {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel", 4)
        .signature(0x000106A5)
        .leaf(2, {0x0000FF01, 0, 0, 0})
        .leaf(4, {0x00000223, 0x00C0003F, 0x3F, 0}, 0);  // level 1 unified, full, 4 x 64 sets
    const auto page = pageFor(cpu);
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"Full", "1 lines", "64 Byte", "16 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Code), valuesOf(page, kL1Data));
    EXPECT_EQ(valuesOf(page, kL2), kEmptyGroup);
}

TEST_F(CachePageTest, DamagedLeaf4And18AnswersStayBoundedAndReadable) {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel", 0x18)
        .signature(0x000906EA)
        .leaf(2, {0x00FEFF01, 0, 0, 0})
        .leaf(4, {0xFFFFFE23, 0xFFFFFFFF, 0xFFFFFFFF, 0}, 0)
        .leaf(0x18, {0xFFFFFFFF, 0xFFFF0001, 0xFFFFFFFF, 0x00000021}, 0);
    const auto page = pageFor(cpu);
    EXPECT_EQ(valuesOf(page, kL1Data)[3], "2147483647 KByte");
    EXPECT_EQ(valuesOf(page, kL1Data)[0], "Full");
    EXPECT_EQ(valuesOf(page, kL1Small)[1], "2147483647 entries");
}

// ---------------------------------------------------------------- other vendors

TEST_F(CachePageTest, OtherVendorsHaveEveryFieldDisabledAndEmpty) {
    for (const char* vendor : {"CyrixInstead", "CentaurHauls", "HygonGenuine"}) {
        const auto page = pageFor(FakeCpu()
                                      .vendor(vendor)
                                      .signature(0x524)
                                      .leaf(2, {0x03020101, 0, 0, 0x0C040843})
                                      .leaf(0x80000000, {0x80000006, 0, 0, 0})
                                      .leaf(0x80000005, {0, 0x02800140, 0x20020220, 0}),
                                  "6x86MX");
        EXPECT_EQ(page.heading, "Cache informations for 6x86MX");
        EXPECT_EQ(page.groups.size(), 8u);
        EXPECT_EQ(enabledFields(page), 0) << vendor;
        for (const auto& group : page.groups) {
            EXPECT_EQ(valuesOf(page, group.title), kEmptyGroup) << vendor << " " << group.title;
        }
    }
}

// ---------------------------------------------------------------- recorded processors

TEST_F(CachePageTest, AthlonXpPalominoDump) {
    const auto page = pageForDump("athlonxp-palomino");
    EXPECT_EQ(valuesOf(page, kL1Large), (Values{"4 way", "8 entries", "Full", "8 entries"}));
    EXPECT_EQ(valuesOf(page, kL1Small), (Values{"Full", "32 entries", "Full", "16 entries"}));
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"2 way", "1 lines", "64 Byte", "64 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Code), (Values{"2 way", "1 lines", "64 Byte", "64 KByte"}));
    EXPECT_EQ(valuesOf(page, kL2Large), (Values{"off", "0 entries", "off", "0 entries"}));
    EXPECT_EQ(valuesOf(page, kL2Small), (Values{"4 way", "256 entries", "4 way", "256 entries"}));
    EXPECT_EQ(valuesOf(page, kL2), (Values{"16 way", "1 lines", "64 Byte", "256 KByte"}));
}

TEST_F(CachePageTest, K6TwoDumpHasNoSecondLevelLeaf) {
    const auto page = pageForDump("k6-2-cxt");
    EXPECT_EQ(valuesOf(page, kL1Large), (Values{"0 way", "0 entries", "0 way", "0 entries"}));
    EXPECT_EQ(valuesOf(page, kL1Small), (Values{"2 way", "128 entries", "0x1 way", "64 entries"}));
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"2 way", "2 lines", "32 Byte", "32 KByte"}));
    EXPECT_EQ(valuesOf(page, kL2), (Values{"off", "0 lines", "0 Byte", "-1 KByte"}));
}

TEST_F(CachePageTest, Zen5Dump) {
    const auto page = pageForDump("zen5-virtual");
    EXPECT_EQ(valuesOf(page, kL1Large), (Values{"Full", "96 entries", "Full", "64 entries"}));
    EXPECT_EQ(valuesOf(page, kL1Small), (Values{"Full", "96 entries", "Full", "64 entries"}));
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"12 way", "1 lines", "64 Byte", "48 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Code), (Values{"8 way", "1 lines", "64 Byte", "32 KByte"}));
    EXPECT_EQ(valuesOf(page, kL2Large), (Values{"4 way", "128 entries", "2 way", "64 entries"}));
    EXPECT_EQ(valuesOf(page, kL2Small), (Values{"8 way", "128 entries", "4 way", "64 entries"}));
    EXPECT_EQ(valuesOf(page, kL2), (Values{"8 way", "1 lines", "64 Byte", "1024 KByte"}));
}

TEST_F(CachePageTest, PentiumThreeCoppermineDump) {
    const auto page = pageForDump("pentium3-coppermine");
    EXPECT_EQ(valuesOf(page, kL2), (Values{"8 way", "Unified Cache", "32 Byte", "256 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"4 way", "Unified cache", "32 byte", "16 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Code), (Values{"4 way", "Unified cache", "32 Byte", "16 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Small), (Values{"4 way", "64 entries", "", ""}));
    EXPECT_EQ(valuesOf(page, kL1Large), (Values{"", "", "4 way", "64 entries"}));
}

TEST_F(CachePageTest, CoffeeLakeDumpDefersToLeaf4) {
    const auto page = pageForDump("corei7-coffeelake");
    EXPECT_EQ(valuesOf(page, kL1Data), (Values{"8 way", "1 lines", "64 Byte", "32 KByte"}));
    EXPECT_EQ(valuesOf(page, kL1Code), (Values{"8 way", "1 lines", "64 Byte", "32 KByte"}));
    EXPECT_EQ(valuesOf(page, kL2), (Values{"4 way", "1 lines", "64 Byte", "256 KByte"}));
    EXPECT_EQ(valuesOf(page, kL3), kEmptyGroup);
    EXPECT_EQ(valuesOf(page, kL1Small), kEmptyGroup);  // highest leaf 0x16: no leaf 0x18
}

}  // namespace
}  // namespace veltrane::ident

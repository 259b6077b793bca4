#include <gtest/gtest.h>

#include <sstream>

#include "ident/ProcessorIdentity.h"
#include "ident/Vendor.h"
#include "platform/Format.h"
#include "support/FakeCpu.h"

namespace veltrane::ident {
namespace {

using test::FakeCpu;

// The identity keeps a pointer to its probe: features are asked again later.
ProcessorIdentity identify(const FakeCpu& cpu, ProcessorFacts& facts) {
    static std::vector<std::unique_ptr<platform::RecordedCpuProbe>> keepAlive;
    keepAlive.push_back(std::make_unique<platform::RecordedCpuProbe>(cpu.probe()));
    return ProcessorIdentity(*keepAlive.back(), facts);
}

ProcessorIdentity identify(const FakeCpu& cpu) {
    ProcessorFacts facts = test::factsWithoutDefinition();
    return identify(cpu, facts);
}

// Family, model and stepping; then the family and model shown.
std::string signature(const char* vendor, std::uint32_t eax) {
    const auto id = identify(FakeCpu().vendor(vendor).signature(eax));
    return strprintf("%X %X %X; %X %X", id.family, id.model, id.stepping, id.displayFamily(),
                     id.displayModel());
}

// L1 data, L1 code and L2 sizes in KB, then the trace cache text.
std::string caches(const FakeCpu& cpu) {
    ProcessorFacts facts = test::factsWithoutDefinition();
    const auto id = identify(cpu, facts);
    return strprintf("%d/%d/%d ", id.l1DataKB, id.l1CodeKB, id.l2KB) + facts.traceCacheText;
}

FakeCpu amdCpu(std::uint32_t signature, std::uint32_t highestExtended) {
    FakeCpu cpu;
    cpu.vendor("AuthenticAMD", 1).signature(signature);
    cpu.leaf(0x80000000, {highestExtended, 0, 0, 0});
    cpu.leaf(0x80000005, {0, 0, 0x40020140, 0x20020140});
    cpu.leaf(0x80000006, {0, 0, 0x01008140, 0});
    return cpu;
}

FakeCpu intelCpu(std::uint32_t signature, std::uint32_t leaf2Edx) {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel").signature(signature).leaf(2, {0x03020101, 0, 0, leaf2Edx});
    return cpu;
}

TEST(Vendor, OnlyWholeKnownStringsNumberedInTheDefinitionFileOrder) {
    std::string seen;
    for (const char* text : {"AuthenticAMD", "GenuineIntel", "CyrixInstead", "CentaurHauls",
                             "RiseRiseRise", "genuineintel", "HygonGenuine", ""}) {
        const auto vendor = identify(FakeCpu().vendor(text)).vendor;
        seen += vendor + " " + std::to_string(vendorIndex(vendor)) + ", ";
    }
    EXPECT_EQ(seen,
              "AuthenticAMD 1, GenuineIntel 2, CyrixInstead 3, CentaurHauls 4, RiseRiseRise 5, "
              "Unknown 0, Unknown 0, Unknown 0, ");
    // EBX, EDX, ECX, each little-endian
    EXPECT_EQ(vendorFromRegisters(0x68747541, 0x69746e65, 0x444d4163), "AuthenticAMD");
}

TEST(Signature, FourBitFieldsAndTheExtendedFamilyAndModelRule) {
    EXPECT_EQ(signature("GenuineIntel", 0x00000F12), "F 1 2; F 1");
    EXPECT_EQ(signature("GenuineIntel", 0x00001632), "6 3 2; 6 3");  // type bits are no part of it
    EXPECT_EQ(signature("GenuineIntel", 0x000906EA), "6 E A; 6 9E");
    EXPECT_EQ(signature("AuthenticAMD", 0x00B00F21), "F 2 1; 1A 2");
    EXPECT_EQ(signature("AuthenticAMD", 0x00A50F10), "F 1 0; 19 51");
    EXPECT_EQ(signature("AuthenticAMD", 0x00010662), "6 6 2; 6 6");  // only Intel's family 6
}

TEST(Caches, AmdFromTheExtendedLeavesWithTheirLimits) {
    EXPECT_EQ(caches(amdCpu(0x662, 0x80000008)), "64/32/256 Absent");
    EXPECT_EQ(caches(amdCpu(0x662, 0x80000005)), "64/32/-1 Absent");  // no leaf 6
    EXPECT_EQ(caches(amdCpu(0x662, 0x00000001)), "64/32/-1 Absent");  // the limit is unsigned
    EXPECT_EQ(caches(amdCpu(0x630, 0x80000006)), "64/32/64 Absent");  // Duron A0 misreports
    EXPECT_EQ(caches(amdCpu(0x631, 0x80000006)), "64/32/256 Absent");
}

TEST(Caches, IntelMapsTheLeafTwoBytesAndKeepsUnknownOnesRaw) {
    // Bytes 1 and 3 hold no first-level descriptors here: they stay raw.
    EXPECT_EQ(caches(intelCpu(0x686, 0x0C040843)), "8/12/512 absent");
    EXPECT_EQ(caches(intelCpu(0x686, 0x08000C41)), "16/16/128 absent");
    EXPECT_EQ(caches(intelCpu(0x686, 0x06000A82)), "8/8/256 absent");
    EXPECT_EQ(caches(intelCpu(0x686, 0x0000007D)), "0/0/125 absent");
    EXPECT_EQ(caches(intelCpu(0x686, 0x00000040)), "0/0/0 absent");
    EXPECT_EQ(caches(intelCpu(0x686, 0x0C0408FF)), "8/12/255 absent");  // no extended signature
    EXPECT_EQ(caches(intelCpu(0xF24, 0x007B7040)), "112/0/0 12 \xC2\xB5OPS");  // micro sign
}

TEST(Caches, NewerIntelProcessorsThatDeferToLeafFourReportItsSizes) {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel", 0x16).signature(0x000906EA);
    cpu.leaf(2, {0x00FEFF01, 0x000000F0, 0, 0});
    cpu.leaf(4, {0x1C004121, 0x01C0003F, 0x3F, 0}, 0);
    cpu.leaf(4, {0x1C004122, 0x01C0003F, 0x3F, 0}, 1);
    cpu.leaf(4, {0x1C004143, 0x00C0003F, 0x3FF, 0}, 2);
    cpu.leaf(4, {0x1C03C163, 0x02C0003F, 0x2FFF, 0}, 3);
    EXPECT_EQ(caches(cpu), "32/32/256 absent");
}

TEST(Caches, OtherVendorsSetNoSizesAndNoTraceText) {
    FakeCpu cyrix;
    cyrix.vendor("CyrixInstead").signature(0x520).leaf(2, {0x03020101, 0, 0, 0x0C040843});
    EXPECT_EQ(caches(cyrix), "0/0/0 ");
}

TEST(Features, MmxExtOnlyOnAmdAndEachBitAskedAfresh) {
    FakeCpu intel = intelCpu(0x686, 0);
    intel.leaf(0x80000001, {0, 0, 0, 0xC0400000});
    const auto i = identify(intel);
    EXPECT_EQ(i.has3DNow() + i.has3DNowExt(), 2);
    EXPECT_EQ(i.hasMMXExt(), 0);  // bit 22 set, but not an AMD processor
    FakeCpu amd = amdCpu(0x662, 0x80000008);
    amd.leaf(0x80000001, {0, 0, 0, 0x00400000});
    EXPECT_EQ(identify(amd).hasMMXExt(), 1);

    // Leaf 1 sets the SSE bit at every other call.
    struct CountingProbe final : platform::CpuProbe {
        mutable std::uint32_t calls = 0;
        platform::CpuidRegisters cpuid(std::uint32_t leaf, std::uint32_t) const override {
            return {0, 0, 0, leaf == 1 ? (++calls & 1) << 25 : 0};
        }
        std::uint64_t readTimeStampCounter() const override { return 0; }
    } probe;
    ProcessorFacts facts = test::factsWithoutDefinition();
    const ProcessorIdentity identity(probe, facts);
    EXPECT_NE(identity.hasSSE(), identity.hasSSE());
}

TEST(ProcessorCount, ADumpsCountReplacesTheSystems) {
    auto dual = identify(FakeCpu().vendor("AuthenticAMD").processors(2));
    EXPECT_EQ(dual.processorCount(), 2);
    EXPECT_EQ(dual.systemInfo.numberOfProcessors, 2u);
    EXPECT_GE(identify(FakeCpu().vendor("AuthenticAMD")).processorCount(), 1);
}

TEST(DefinitionLoad, HappensOnceAtTheEndOfTheFirstConstructionAndReportsUnknownVendors) {
    ProcessorFacts facts;
    int opens = 0;
    facts.openDefinitionFile = [&] {
        ++opens;
        return std::make_unique<std::istringstream>(
            "[1,0x66]\nAMD\nAthlon XP\nPalomino\n\n\n\n\n1,0x662=A5\n");
    };
    identify(amdCpu(0x662, 0x80000008), facts);
    EXPECT_EQ(facts.definition.processorName + " " + facts.definition.stepMask, "Athlon XP A5");
    identify(amdCpu(0x662, 0x80000008), facts);
    EXPECT_EQ(opens, 1);

    ProcessorFacts unknown;
    unknown.openDefinitionFile = [] { return std::make_unique<std::istringstream>(""); };
    EXPECT_EQ(identify(FakeCpu().vendor("NexGenDriven").signature(0x542), unknown).family, 5);
    EXPECT_EQ(unknown.definitionError, "Error: cannot resolve vendor string");
    EXPECT_TRUE(unknown.definitionLoaded);
}

TEST(DefinitionLoad, NewerProcessorsAreNamedByTheirBrandString) {
    ProcessorFacts facts;
    bool opened = false;
    facts.openDefinitionFile = [&] {
        opened = true;
        return std::unique_ptr<std::istream>();
    };
    FakeCpu cpu;
    cpu.vendor("AuthenticAMD", 0xD).signature(0x00B00F21);
    cpu.leaf(0x80000000, {0x80000021, 0, 0, 0});
    // "  AMD Test 9 " padded with blanks and a terminating zero
    cpu.leaf(0x80000002, {0x4D412020, 0x65542044, 0x39207473, 0x00000020});
    EXPECT_EQ(identify(cpu, facts).brandString, "AMD Test 9");
    EXPECT_FALSE(opened);
    const auto& d = facts.definition;
    EXPECT_EQ(d.manufacturer + "|" + d.processorName + "|" + d.codename + "|" + d.stepMask,
              "unknow|AMD Test 9|Unknow|Unknow");
    EXPECT_EQ(facts.definitionError, "");
}

}  // namespace
}  // namespace veltrane::ident

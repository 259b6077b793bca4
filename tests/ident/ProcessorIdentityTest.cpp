#include <gtest/gtest.h>

#include <sstream>

#include "ident/ProcessorIdentity.h"
#include "ident/Vendor.h"
#include "support/FakeCpu.h"

namespace veltrane::ident {
namespace {

using test::FakeCpu;

ProcessorIdentity identify(const FakeCpu& cpu, ProcessorFacts& facts) {
    static std::vector<std::unique_ptr<platform::RecordedCpuProbe>> keepAlive;
    keepAlive.push_back(std::make_unique<platform::RecordedCpuProbe>(cpu.probe()));
    return ProcessorIdentity(*keepAlive.back(), facts);
}

TEST(Vendor, MatchesOnlyTheWholeKnownStrings) {
    ProcessorFacts facts = test::factsWithoutDefinition();
    EXPECT_EQ(identify(FakeCpu().vendor("CentaurHauls"), facts).vendor, "CentaurHauls");
    EXPECT_EQ(identify(FakeCpu().vendor("RiseRiseRise"), facts).vendor, "RiseRiseRise");
    EXPECT_EQ(identify(FakeCpu().vendor("CyrixInstead"), facts).vendor, "CyrixInstead");
    EXPECT_EQ(identify(FakeCpu().vendor("GenuineIntel"), facts).vendor, "GenuineIntel");
    EXPECT_EQ(identify(FakeCpu().vendor("genuineintel"), facts).vendor, "Unknown");
    EXPECT_EQ(identify(FakeCpu().vendor("HygonGenuine"), facts).vendor, "Unknown");
    EXPECT_EQ(identify(FakeCpu(), facts).vendor, "Unknown");
    // EBX = "Auth": each register's bytes are read little-endian
    EXPECT_EQ(vendorFromRegisters(0x68747541, 0x69746e65, 0x444d4163), "AuthenticAMD");
}

TEST(Vendor, NumbersVendorsInTheDefinitionFileOrder) {
    EXPECT_EQ(vendorIndex("AuthenticAMD"), 1);
    EXPECT_EQ(vendorIndex("GenuineIntel"), 2);
    EXPECT_EQ(vendorIndex("CyrixInstead"), 3);
    EXPECT_EQ(vendorIndex("CentaurHauls"), 4);
    EXPECT_EQ(vendorIndex("RiseRiseRise"), 5);
    EXPECT_EQ(vendorIndex("Unknown"), 0);
}

TEST(Signature, KeepsFourBitFieldsAndTheExtendedOnesApart) {
    ProcessorFacts facts = test::factsWithoutDefinition();
    const auto p4 = identify(FakeCpu().vendor("GenuineIntel").signature(0x00000F12), facts);
    EXPECT_EQ(p4.family, 15);
    EXPECT_EQ(p4.model, 1);
    EXPECT_EQ(p4.stepping, 2);
    EXPECT_FALSE(p4.reportsExtendedSignature());
    // type bits 12-13 are not part of the signature
    const auto overdrive = identify(FakeCpu().vendor("GenuineIntel").signature(0x1632), facts);
    EXPECT_EQ(overdrive.family, 6);
    EXPECT_EQ(overdrive.model, 3);

    const auto zen5 = identify(FakeCpu().vendor("AuthenticAMD").signature(0x00B00F21), facts);
    EXPECT_EQ(zen5.family, 15);
    EXPECT_EQ(zen5.extendedFamily, 0x0B);
    EXPECT_EQ(zen5.displayFamily(), 0x1A);
    EXPECT_EQ(zen5.displayModel(), 2);
    const auto coffee = identify(FakeCpu().vendor("GenuineIntel").signature(0x000906EA), facts);
    EXPECT_EQ(coffee.family, 6);
    EXPECT_EQ(coffee.model, 0xE);
    EXPECT_EQ(coffee.displayModel(), 0x9E);
    EXPECT_TRUE(coffee.reportsExtendedSignature());
}

FakeCpu amdCpu(std::uint32_t signature, std::uint32_t highestExtended) {
    FakeCpu cpu;
    cpu.vendor("AuthenticAMD", 1).signature(signature);
    cpu.leaf(0x80000000, {highestExtended, 0, 0, 0});
    cpu.leaf(0x80000005, {0, 0, 0x40020140, 0x20020140});
    cpu.leaf(0x80000006, {0, 0, 0x01008140, 0});
    return cpu;
}

TEST(AmdCaches, ComeFromTheExtendedLeavesWithTheirLimits) {
    ProcessorFacts facts = test::factsWithoutDefinition();
    const auto athlon = identify(amdCpu(0x662, 0x80000008), facts);
    EXPECT_EQ(athlon.l1DataKB, 64);
    EXPECT_EQ(athlon.l1CodeKB, 32);
    EXPECT_EQ(athlon.l2KB, 256);
    EXPECT_EQ(facts.traceCacheText, "Absent");

    const auto noLeaf6 = identify(amdCpu(0x662, 0x80000004), facts);
    EXPECT_EQ(noLeaf6.l2KB, -1);
    EXPECT_EQ(noLeaf6.l1DataKB, 64);

    EXPECT_EQ(identify(amdCpu(0x630, 0x80000006), facts).l2KB, 64);   // Duron A0 misreports
    EXPECT_EQ(identify(amdCpu(0x631, 0x80000006), facts).l2KB, 256);  // stepping 1 reads it
    // the limit is compared unsigned: a garbage answer below 0x80000000 has no leaf 6
    EXPECT_EQ(identify(amdCpu(0x662, 0x00000001), facts).l2KB, -1);
}

FakeCpu intelCpu(std::uint32_t signature, std::uint32_t leaf2Edx) {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel").signature(signature).leaf(2, {0x03020101, 0, 0, leaf2Edx});
    return cpu;
}

TEST(IntelCaches, MapTheLeafTwoBytesAndKeepUnknownOnesRaw) {
    ProcessorFacts facts = test::factsWithoutDefinition();
    const auto katmai = identify(intelCpu(0x672, 0x0C040843), facts);
    EXPECT_EQ(katmai.l2KB, 512);
    EXPECT_EQ(katmai.l1DataKB, 8);   // byte 1 is 0x08, not a data descriptor
    EXPECT_EQ(katmai.l1CodeKB, 12);  // byte 3 is 0x0C, not a code descriptor
    EXPECT_EQ(facts.traceCacheText, "absent");

    EXPECT_EQ(identify(intelCpu(0x686, 0x0C040882), facts).l2KB, 256);
    EXPECT_EQ(identify(intelCpu(0x686, 0x0000007D), facts).l2KB, 125);
    EXPECT_EQ(identify(intelCpu(0x665, 0x00000040), facts).l2KB, 0);
    const auto mapped = identify(intelCpu(0x686, 0x08000C41), facts);
    EXPECT_EQ(mapped.l1DataKB, 16);
    EXPECT_EQ(mapped.l1CodeKB, 16);
    EXPECT_EQ(mapped.l2KB, 128);
    identify(intelCpu(0xF24, 0x007B7040), facts);
    EXPECT_EQ(facts.traceCacheText, "12 \xC2\xB5OPS");  // micro sign in UTF-8
}

TEST(IntelCaches, NewerProcessorsThatDeferToLeafFourReportItsSizes) {
    ProcessorFacts facts = test::factsWithoutDefinition();
    FakeCpu cpu;
    cpu.vendor("GenuineIntel", 0x16).signature(0x000906EA);
    cpu.leaf(2, {0x00FEFF01, 0x000000F0, 0, 0});
    cpu.leaf(4, {0x1C004121, 0x01C0003F, 0x3F, 0}, 0);
    cpu.leaf(4, {0x1C004122, 0x01C0003F, 0x3F, 0}, 1);
    cpu.leaf(4, {0x1C004143, 0x00C0003F, 0x3FF, 0}, 2);
    cpu.leaf(4, {0x1C03C163, 0x02C0003F, 0x2FFF, 0}, 3);
    const auto identity = identify(cpu, facts);
    EXPECT_EQ(identity.l1DataKB, 32);
    EXPECT_EQ(identity.l1CodeKB, 32);
    EXPECT_EQ(identity.l2KB, 256);

    // an old processor keeps the leaf-2 reading even with a 0xFF byte
    EXPECT_EQ(identify(intelCpu(0x686, 0x0C0408FF), facts).l2KB, 0xFF);
}

TEST(OtherVendors, SetNoCacheFieldsAndLeaveTheTraceText) {
    ProcessorFacts facts = test::factsWithoutDefinition();
    facts.traceCacheText = "before";
    const auto cyrix = identify(FakeCpu().vendor("CyrixInstead").signature(0x520), facts);
    EXPECT_EQ(cyrix.l1DataKB, 0);
    EXPECT_EQ(cyrix.l2KB, 0);
    EXPECT_EQ(facts.traceCacheText, "before");
}

TEST(Features, ReadEachBitAfreshAndMmxExtOnlyOnAmd) {
    ProcessorFacts facts = test::factsWithoutDefinition();
    FakeCpu intel = intelCpu(0x686, 0);
    intel.leaf(0x80000001, {0, 0, 0, 0xC0400000});
    const auto i = identify(intel, facts);
    EXPECT_EQ(i.has3DNow(), 1);
    EXPECT_EQ(i.has3DNowExt(), 1);
    EXPECT_EQ(i.hasMMXExt(), 0);  // bit 22 set, but not an AMD processor

    FakeCpu amd = amdCpu(0x662, 0x80000008);
    amd.leaf(0x80000001, {0, 0, 0, 0x00400000});
    const auto a = identify(amd, facts);
    EXPECT_EQ(a.hasMMXExt(), 1);
    EXPECT_EQ(a.has3DNow(), 0);
    EXPECT_EQ(a.extendedFeatureFlags(), 0x00400000u);

    const auto bits =
        identify(FakeCpu().vendor("GenuineIntel").signature(0x686, 0x06840000), facts);
    EXPECT_EQ(bits.hasMMX(), 1);
    EXPECT_EQ(bits.hasSSE(), 1);
    EXPECT_EQ(bits.hasSSE2(), 1);
    EXPECT_EQ(bits.hasSerialNumber(), 1);
    EXPECT_EQ(bits.standardFeatureFlags(), 0x06840000u);
    EXPECT_EQ(identify(intelCpu(0x686, 0), facts).hasSSE(), 0);
}

TEST(Features, AskTheProcessorAtEveryCall) {
    int calls = 0;
    class CountingProbe final : public platform::CpuProbe {
    public:
        explicit CountingProbe(int& calls) : calls_(calls) {}
        platform::CpuidRegisters cpuid(std::uint32_t leaf, std::uint32_t) const override {
            if (leaf == 1) {
                ++calls_;
            }
            return {};
        }
        std::uint64_t readTimeStampCounter() const override { return 0; }

    private:
        int& calls_;
    } probe(calls);
    ProcessorFacts facts = test::factsWithoutDefinition();
    const ProcessorIdentity identity(probe, facts);
    const int afterConstruction = calls;
    identity.hasSSE();
    identity.hasSSE();
    EXPECT_EQ(calls, afterConstruction + 2);
}

TEST(ProcessorCount, ADumpsCountReplacesTheSystems) {
    ProcessorFacts facts = test::factsWithoutDefinition();
    auto dual = identify(FakeCpu().vendor("AuthenticAMD").processors(2), facts);
    EXPECT_EQ(dual.processorCount(), 2);
    EXPECT_EQ(dual.systemInfo.numberOfProcessors, 2u);
    auto system = identify(FakeCpu().vendor("AuthenticAMD"), facts);
    EXPECT_GE(system.processorCount(), 1);
    EXPECT_GT(system.systemInfo.pageSize, 0u);
}

TEST(DefinitionLoad, HappensOnceAtTheEndOfTheFirstConstruction) {
    ProcessorFacts facts;
    int opens = 0;
    facts.openDefinitionFile = [&] {
        ++opens;
        return std::make_unique<std::istringstream>(
            "[1,0x66]\nAMD\nAthlon XP\nPalomino\n\n\n\n\n1,0x662=A5\n");
    };
    const auto first = identify(amdCpu(0x662, 0x80000008), facts);
    EXPECT_TRUE(facts.definitionLoaded);
    EXPECT_EQ(facts.definition.processorName, "Athlon XP");
    EXPECT_EQ(facts.definition.stepMask, "A5");
    identify(amdCpu(0x662, 0x80000008), facts);
    EXPECT_EQ(opens, 1);
}

TEST(DefinitionLoad, AnUnknownVendorIsReportedAndTheIdentityStillComplete) {
    ProcessorFacts facts;
    facts.openDefinitionFile = [] { return std::make_unique<std::istringstream>(""); };
    const auto identity = identify(FakeCpu().vendor("NexGenDriven").signature(0x542), facts);
    EXPECT_EQ(facts.definitionError, "Error: cannot resolve vendor string");
    EXPECT_TRUE(facts.definitionLoaded);
    EXPECT_EQ(facts.definition.processorName, "");
    EXPECT_EQ(identity.family, 5);
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
    const auto identity = identify(cpu, facts);
    EXPECT_FALSE(opened);
    EXPECT_EQ(identity.brandString, "AMD Test 9");
    EXPECT_EQ(facts.definition.processorName, "AMD Test 9");
    EXPECT_EQ(facts.definition.manufacturer, "unknow");
    EXPECT_EQ(facts.definition.codename, "Unknow");
    EXPECT_EQ(facts.definition.stepMask, "Unknow");
    EXPECT_EQ(facts.definitionError, "");
}

}  // namespace
}  // namespace veltrane::ident

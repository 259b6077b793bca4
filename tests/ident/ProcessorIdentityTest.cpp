// What the golden dumps do not reach: rare signatures, caches, vendors; the definition file.
#include <gtest/gtest.h>

#include <sstream>

#include "ident/DefinitionFile.h"
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

// Family, model, stepping; family and model shown; L1 data, L1 code and L2 KB; trace cache.
std::string decoded(const FakeCpu& cpu) {
    ProcessorFacts facts = test::factsWithoutDefinition();
    const auto id = identify(cpu, facts);
    return strprintf("%X %X %X; %X %X; %d/%d/%d ", id.family, id.model, id.stepping,
                     id.displayFamily(), id.displayModel(), id.l1DataKB, id.l1CodeKB, id.l2KB) +
           facts.traceCacheText;
}

FakeCpu amdCpu(std::uint32_t signature, std::uint32_t highestExtended) {
    FakeCpu cpu;
    cpu.vendor("AuthenticAMD", 1).signature(signature);
    cpu.leaf(0x80000000, {highestExtended, 0, 0, 0});
    cpu.leaf(0x80000005, {0, 0, 0x40020140, 0x20020140});
    cpu.leaf(0x80000006, {0, 0, 0x01008140, 0});
    return cpu;
}

FakeCpu cpuWithLeaf2(const char* vendor, std::uint32_t signature, std::uint32_t leaf2Edx) {
    FakeCpu cpu;
    cpu.vendor(vendor).signature(signature).leaf(2, {0x03020101, 0, 0, leaf2Edx});
    return cpu;
}

TEST(Vendor, OnlyWholeKnownStringsNumberedInTheDefinitionFileOrderAndMmxExtOnlyOnAmd) {
    std::string seen;
    for (const char* text :
         {"CyrixInstead", "CentaurHauls", "RiseRiseRise", "genuineintel", "HygonGenuine", ""}) {
        const auto vendor = identify(FakeCpu().vendor(text)).vendor;
        seen += vendor + " " + std::to_string(vendorIndex(vendor)) + ", ";
    }
    EXPECT_EQ(seen,
              "CyrixInstead 3, CentaurHauls 4, RiseRiseRise 5, Unknown 0, Unknown 0, "
              "Unknown 0, ");
    FakeCpu intel = cpuWithLeaf2("GenuineIntel", 0x686, 0);
    intel.leaf(0x80000001, {0, 0, 0, 0xC0400000});
    const auto i = identify(intel);
    EXPECT_EQ(strprintf("%d%d", i.has3DNow(), i.hasMMXExt()), "10");  // bit 22 set, but Intel
}

TEST(ProcessorIdentity, SignaturesAndCacheSizesBeyondTheGoldenDumps) {
    const struct {
        const char* why;
        FakeCpu cpu;
        const char* expected;
    } cases[] = {
        {"type bits", cpuWithLeaf2("GenuineIntel", 0x1632, 0x40), "6 3 2; 6 3; 0/0/0 absent"},
        {"AMD extended model", amdCpu(0x00A50F10, 1), "F 1 0; 19 51; 64/32/-1 Absent"},
        {"only Intel's family 6", amdCpu(0x00010662, 0x80000005), "6 6 2; 6 6; 64/32/-1 Absent"},
        {"unsigned limit", amdCpu(0x662, 1), "6 6 2; 6 6; 64/32/-1 Absent"},
        {"Duron A0", amdCpu(0x630, 0x80000006), "6 3 0; 6 3; 64/32/64 Absent"},
        {"Duron A1", amdCpu(0x631, 0x80000006), "6 3 1; 6 3; 64/32/256 Absent"},
        // Bytes 1 and 3 hold no first-level descriptors here: they stay raw.
        {"0x43", cpuWithLeaf2("GenuineIntel", 0x686, 0x0C040843), "6 8 6; 6 8; 8/12/512 absent"},
        {"0x41", cpuWithLeaf2("GenuineIntel", 0x686, 0x08000C41), "6 8 6; 6 8; 16/16/128 absent"},
        {"0x82", cpuWithLeaf2("GenuineIntel", 0x686, 0x06000A82), "6 8 6; 6 8; 8/8/256 absent"},
        {"raw", cpuWithLeaf2("GenuineIntel", 0x686, 0x0000007D), "6 8 6; 6 8; 0/0/125 absent"},
        {"FF without extended signature", cpuWithLeaf2("GenuineIntel", 0x686, 0x0C0408FF),
         "6 8 6; 6 8; 8/12/255 absent"},
        {"other vendors", cpuWithLeaf2("CyrixInstead", 0x520, 0x0C040843), "5 2 0; 5 2; 0/0/0 "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decoded(c.cpu), c.expected) << c.why;
    }
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
    identify(amdCpu(0x662, 0x80000008), facts);
    EXPECT_EQ(facts.definition.processorName + " " + facts.definition.stepMask, "Athlon XP A5");
    EXPECT_EQ(opens, 1);

    ProcessorFacts unknown;
    unknown.openDefinitionFile = [] { return std::make_unique<std::istringstream>(""); };
    identify(FakeCpu().vendor("NexGenDriven").signature(0x542), unknown);
    EXPECT_EQ(unknown.definitionError, "Error: cannot resolve vendor string");
}

TEST(DefinitionLoad, NewerProcessorsAreNamedByTheirTrimmedBrandString) {
    ProcessorFacts facts;  // the definition is loaded, from the brand string
    // "  AMD Test 9 " padded with blanks and a terminating zero
    identify(FakeCpu()
                 .vendor("AuthenticAMD", 0xD)
                 .signature(0x00B00F21)
                 .leaf(0x80000000, {0x80000021, 0, 0, 0})
                 .leaf(0x80000002, {0x4D412020, 0x65542044, 0x39207473, 0x00000020}),
             facts);
    EXPECT_EQ(facts.definition.processorName + "|" + facts.definition.stepMask,
              "AMD Test 9|Unknow");
}

// Every field loaded from `text` (no file when null) for the given processor,
// over a definition whose step mask was "kept".
std::string loaded(const char* vendor, int family, int model, int stepping, int l2KB,
                   const std::optional<std::string>& text) {
    static const auto probe = test::FakeCpu().vendor("GenuineIntel").probe();
    ProcessorFacts facts = test::factsWithoutDefinition();
    ProcessorIdentity identity(probe, facts);
    identity.vendor = vendor;
    identity.family = family;
    identity.model = model;
    identity.stepping = stepping;
    identity.l2KB = l2KB;
    std::istringstream file(text.value_or(""));
    ProcessorDefinition d;
    d.stepMask = "kept";
    loadProcessorDefinition(identity, text ? &file : nullptr, d);
    return d.manufacturer + "|" + d.processorName + "|" + d.codename + "|" + d.frequencyRange +
           "|" + d.defaultVcore + "|" + d.platform + "|" + d.busType + "|" + d.stepMask;
}

const char* const kAthlonFile =
    "[1,0x63]\nAMD\nDuron\nSpitfire\n600 - 950 MHz\n1.60 V\nSocket A\n200 MHz EV6\n"
    "[1,0x64]\r\nAMD\r\nAthlon\r\nThunderbird\r\n650 - 1400 MHz\r\n1.75 V\r\nSocket A\r\n"
    "200/266 MHz EV6\r\n1,0x641=A2\r\n1,0x642=A4\r\n1,0x642=wrong\r\n1,0x64A\r\n";
const char* const kCoppermineFile =
    "[2,0x68]\n[128]\nIntel\nCeleron\nCoppermine-128\n\n\n\n\n"
    "[256]\nIntel\nPentium III\nCoppermine\n500 - 1133 MHz\n1.65 V\nFC-PGA\n133 MHz GTL+\n"
    "2,0x686=cC0\n";
const std::string kNotFound = "unknow|Unknow|Unknow|Unknow|Unknow|Unknow|Unknow|";
const std::string kThunderbird =
    "AMD|Athlon|Thunderbird|650 - 1400 MHz|1.75 V|Socket A|200/266 MHz EV6|";
const char* const kAmd = "AuthenticAMD";

TEST(DefinitionFile, ReadsTheRecordAfterTheSectionKeyAndTheStepMask) {
    // CR LF line ends; the first matching step line wins.
    EXPECT_EQ(loaded(kAmd, 6, 4, 2, 0, kAthlonFile), kThunderbird + "A4");
    // Stepping 10 is the digit A; a line without '=' is the mask itself.
    EXPECT_EQ(loaded(kAmd, 6, 4, 10, 0, kAthlonFile), kThunderbird + "1,0x64A");
    EXPECT_EQ(loaded(kAmd, 6, 4, 9, 0, kAthlonFile), kThunderbird + "Unknow");
    EXPECT_EQ(loaded("CentaurHauls", 6, 9, 8, 0, kAthlonFile), kNotFound + "Unknow");
    // Keys do not match lower-case hex digits.
    EXPECT_EQ(loaded(kAmd, 6, 10, 0, 0, "[1,0x6a]\nAMD\nx\n\n\n\n\n\n1,0x6a0=x\n"),
              kNotFound + "Unknow");
    EXPECT_EQ(loaded(kAmd, 6, 6, 2, 0, "[1,0x66]\nAMD\nAthlon XP\nPalomino"),
              "AMD|Athlon XP|Palomino|||||Unknow");  // a record cut short
    EXPECT_EQ(loaded("GenuineIntel", 6, 8, 6, 256, std::nullopt), kNotFound + "Unknow");
}

TEST(DefinitionFile, CacheSubKeysPickTheRecordDamagedFilesNeverCrashUnknownVendorsThrow) {
    EXPECT_EQ(loaded("GenuineIntel", 6, 8, 6, 128, kCoppermineFile),
              "Intel|Celeron|Coppermine-128|||||cC0");
    // No such size: the defaults, and the step mask keeps its value.
    EXPECT_EQ(loaded("GenuineIntel", 6, 8, 6, 512, kCoppermineFile), kNotFound + "kept");
    const auto keys = definitionKeys(2, 15, 0, 10, 256);
    EXPECT_EQ(keys.section + " " + keys.stepping + " " + keys.cacheSubKey, "[2,0xF0] 2,0xF0A ");
    // Only Intel's family 6 models 5, 7 and 8 have cache sub-keys.
    EXPECT_EQ(definitionKeys(2, 6, 5, 0, 0).cacheSubKey +
                  definitionKeys(2, 6, 6, 0, 128).cacheSubKey +
                  definitionKeys(1, 6, 8, 0, 128).cacheSubKey,
              "[0]");
    const std::string longLine(10000, 'x');
    EXPECT_EQ(loaded(kAmd, 6, 6, 2, 0,
                     "[1,0x66]\n" + longLine + "\n\n\x01\xff\n" + longLine + "\n\n\n\n1,0x6\n" +
                         longLine + "\n1,0x662"),
              longLine + "||\x01\xff|" + longLine + "||||1,0x662");
    EXPECT_EQ(loaded(kAmd, 6, 6, 2, 0, std::string("\0\0[1,0x66\0", 10)), kNotFound + "Unknow");
    EXPECT_THROW(loaded("Unknown", 6, 4, 2, 0, kAthlonFile), DefinitionError);
}

}  // namespace
}  // namespace veltrane::ident

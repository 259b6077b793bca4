// Recorded processors decoded with the shipped definition file, and this processor; what they
// do not reach: rare signatures, caches, vendors; the definition file; the CPU and cache pages;
// the machine-facts record.
#include <gtest/gtest.h>

#include <sstream>

#include "ident/CacheGeometry.h"
#include "ident/CachePage.h"
#include "ident/DefinitionFile.h"
#include "ident/ExtendedCpuPage.h"
#include "ident/ProcessorIdentity.h"
#include "ident/Vendor.h"
#include "platform/CpuidDump.h"
#include "platform/Format.h"
#include "support/FakeCpu.h"
#include "support/Joined.h"

namespace veltrane::ident {
namespace {

using test::FakeCpu;
using test::joined;

// Per dump: vendor; family, model, stepping, family and model shown; L1 data, L1 code, L2 KB,
// trace cache; definition's manufacturer|name|codename|step mask; features; processors; logo.
struct Expected {
    const char* dump;
    const char* decoded;
};

const Expected kProcessors[] = {
    {"pentium3-coppermine",
     "GenuineIntel; 6 8 6 6 8; 8 12 256 absent; Intel|Pentium III|Coppermine|cC0; "
     "MMX SSE PSN; 1; PIIILogo"},
    {"pentium4-northwood",
     "GenuineIntel; F 2 4 F 2; 112 0 0 12 \xC2\xB5OPS; Intel|Pentium 4|Northwood (0.13u)|B0; "
     "MMX SSE SSE2; 1; IntelPentium4"},
    {"athlonxp-palomino",
     "AuthenticAMD; 6 6 2 6 6; 64 64 256 Absent; AMD|Athlon XP / MP|Palomino|A5; "
     "MMX SSE 3DNow 3DNowExt MMXExt; 1; AMD_AthlonXP"},
    {"k6-2-cxt",
     "AuthenticAMD; 5 8 C 5 8; 32 32 -1 Absent; AMD|K6-2|Chomper|CXT; MMX 3DNow; 1; AMD_K6-2"},
    {"athlonmp-thoroughbred-dual",
     "AuthenticAMD; 6 8 1 6 8; 64 64 256 Absent; AMD|Athlon XP / MP|Thoroughbred|B0; "
     "MMX SSE 3DNow 3DNowExt MMXExt; 2; AMD_AthlonXP"},
    {"zen5-virtual",
     "AuthenticAMD; F 2 1 1A 2; 48 32 1024 Absent; "
     "AMD|Oxide Virtual Turin-like Processor|Turin|Unknow; MMX SSE SSE2 MMXExt; 2; "},
    {"corei7-coffeelake",
     "GenuineIntel; 6 E A 6 9E; 32 32 256 absent; "
     "Intel|Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz|"
     "Coffee Lake-S / Coffee Lake-H / Coffee Lake Refresh|Unknow; MMX SSE SSE2; 12; PIIILogo"},
    {"amd-zen1-ryzen7-1700x",
     "AuthenticAMD; F 1 1 17 1; 32 64 512 Absent; AMD|AMD Ryzen 7 1700X Eight-Core "
     "Processor|Summit Ridge / Naples / Whitehaven|Unknow; MMX SSE SSE2 MMXExt; 16; "},
    {"amd-zen2-ryzen9-3950x",
     "AuthenticAMD; F 1 0 17 71; 32 32 512 Absent; AMD|AMD Ryzen 9 3950X 16-Core "
     "Processor|Matisse|Unknow; MMX SSE SSE2 MMXExt; 32; "},
    {"amd-zen3-ryzen9-5950x",
     "AuthenticAMD; F 1 0 19 21; 32 32 512 Absent; AMD|AMD Ryzen 9 5950X 16-Core "
     "Processor|Vermeer|Unknow; MMX SSE SSE2 MMXExt; 32; "},
    {"amd-zen4-ryzen7-7700x",
     "AuthenticAMD; F 1 2 19 61; 32 32 1024 Absent; AMD|AMD Ryzen 7 7700X 8-Core Processor|Raphael "
     "/ Dragon Range|Unknow; MMX SSE SSE2 MMXExt; 16; "},
    {"amd-zen5-ryzen9-9950x",
     "AuthenticAMD; F 4 0 1A 44; 48 32 1024 Absent; AMD|AMD Ryzen 9 9950X 16-Core "
     "Processor|Granite Ridge / Fire Range|Unknow; MMX SSE SSE2 MMXExt; 32; "},
    {"intel-alderlake-i9-12900k",
     "GenuineIntel; 6 7 2 6 97; 48 32 1280 absent; Intel|12th Gen Intel(R) Core(TM) "
     "i9-12900K|Alder Lake-S|Unknow; MMX SSE SSE2; 24; PIIILogo"},
    {"intel-sapphirerapids-xeon-w7-2475x",
     "GenuineIntel; 6 F 8 6 8F; 48 32 2048 absent; Intel|Intel(R) Xeon(R) w7-2475X|Sapphire "
     "Rapids|Unknow; MMX SSE SSE2; 40; PIIILogo"},
    {"intel-tigerlake-i5-1135g7",
     "GenuineIntel; 6 C 1 6 8C; 48 32 1280 absent; Intel|11th Gen Intel(R) Core(TM) i5-1135G7 @ "
     "2.40GHz|Tiger Lake-UP3 / Tiger Lake-UP4|Unknow; MMX SSE SSE2; 8; PIIILogo"},
};

void PrintTo(const Expected& expected, std::ostream* out) {
    *out << expected.dump;
}

std::string features(const ProcessorIdentity& id) {
    const int has[] = {id.hasMMX(),   id.hasSSE(),      id.hasSSE2(),  id.hasSerialNumber(),
                       id.has3DNow(), id.has3DNowExt(), id.hasMMXExt()};
    const char* const names[] = {" MMX", " SSE", " SSE2", " PSN", " 3DNow", " 3DNowExt", " MMXExt"};
    std::string text;
    for (std::size_t i = 0; i < std::size(has); ++i) {
        text += has[i] != 0 ? names[i] : "";
    }
    return text.substr(1);
}

std::string decoded(ProcessorIdentity& id, const ProcessorFacts& facts) {
    const auto& d = facts.definition;
    return strprintf("%s; %X %X %X %X %X; %d %d %d ", id.vendor.c_str(), id.family, id.model,
                     id.stepping, id.displayFamily(), id.displayModel(), id.l1DataKB, id.l1CodeKB,
                     id.l2KB) +
           facts.traceCacheText + "; " + d.manufacturer + "|" + d.processorName + "|" + d.codename +
           "|" + d.stepMask + "; " + features(id) + "; " + std::to_string(id.processorCount()) +
           "; " + cpuLogoName(id.vendor, id.family, id.model, id.l2KB);
}

class GoldenDump : public ::testing::TestWithParam<Expected> {};

TEST_P(GoldenDump, DecodesToTheRecordedProcessor) {
    const auto probe = test::recordedProbe(GetParam().dump);
    ProcessorFacts facts = test::factsWithShippedDefinition();
    ProcessorIdentity identity(*probe, facts);
    EXPECT_EQ(decoded(identity, facts), GetParam().decoded);
    EXPECT_EQ(facts.definitionError, "");
}

INSTANTIATE_TEST_SUITE_P(Processors, GoldenDump, ::testing::ValuesIn(kProcessors));

// This processor, with only what every x86-64 processor gives; a dump of it decodes the same way.
TEST(NativeProcessor, HasTheBaselineOfEveryX86_64ProcessorAndItsDumpDecodesTheSameWay) {
    const auto& native = platform::nativeCpuProbe();
    ProcessorFacts liveFacts = test::factsWithoutDefinition();
    ProcessorIdentity live(native, liveFacts);
    EXPECT_EQ(features(live).substr(0, 12), "MMX SSE SSE2");
    EXPECT_GE(live.family, 6);
    EXPECT_NE(native.readTimeStampCounter(), 0u);
    const platform::RecordedCpuProbe replay(
        platform::parseCpuidDump(platform::formatCpuidDump(platform::captureCpuidDump(native))));
    ProcessorFacts replayFacts = test::factsWithoutDefinition();
    ProcessorIdentity replayed(replay, replayFacts);
    EXPECT_EQ(decoded(replayed, replayFacts), decoded(live, liveFacts));
    EXPECT_EQ(replayed.brandString, live.brandString);
}

// The identity keeps a pointer to its probe: features are asked again later.
ProcessorIdentity identify(const FakeCpu& cpu, ProcessorFacts& facts) {
    static std::vector<std::unique_ptr<platform::RecordedCpuProbe>> keepAlive;
    keepAlive.push_back(std::make_unique<platform::RecordedCpuProbe>(cpu.probe()));
    return ProcessorIdentity(*keepAlive.back(), facts);
}

ProcessorIdentity identify(const FakeCpu& cpu) {
    static ProcessorFacts facts;  // outlives the identity, which keeps a pointer to it
    facts = test::factsWithoutDefinition();
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

// Leaf 2 with a repeat count of 1, its EDX the cache descriptors.
FakeCpu intelLeaf2(std::uint32_t eax, std::uint32_t edx, const char* vendor = "GenuineIntel",
                   std::uint32_t signature = 0x686) {
    FakeCpu cpu;
    cpu.vendor(vendor).signature(signature).leaf(2, {eax, 0, 0, edx});
    return cpu;
}

// Leaf 4: a fully associative unified first level of 4 ways x 64 sets of 64 bytes, then a
// second level of a reserved type.
FakeCpu unifiedFirstLevel() {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel", 4)
        .signature(0x000106A5)
        .leaf(2, {0x0000FF01, 0, 0, 0})
        .leaf(4, {0x00000223, 0x00C0003F, 0x3F, 0}, 0)
        .leaf(4, {0x00000045, 0x00C0003F, 0x3FF, 0}, 1);
    return cpu;
}

// The values of the rows in page order, joined by '|', '~' marking a disabled one.
std::string joinedValues(const std::vector<LabelledValue>& rows) {
    return joined(rows, [](auto& row) { return "|" + row.value + (row.enabled ? "" : "~"); })
        .substr(1);
}

std::vector<LabelledValue> pageFor(std::uint32_t leaf2Edx, float clockMHz,
                                   std::uint32_t processors = 1) {
    auto identity = identify(FakeCpu()
                                 .vendor("GenuineIntel")
                                 .signature(0x6B4, 0x0387FBFF)
                                 .leaf(2, {0x03020101, 0, 0, leaf2Edx})
                                 .processors(processors));
    const ProcessorDefinition definition{"Intel",  "Pentium III", "Coppermine", "500 - 1133 MHz",
                                         "1.65 V", "FC-PGA",      "133 MHz",    "cC0"};
    return extendedCpuValues(identity, {definition, "absent", clockMHz});
}

TEST(ExtendedCpuPage, DefinitionSignatureCachesAndProcessorsWithL2Of512KBOnTheCartridge) {
    EXPECT_EQ(joinedValues(pageFor(0x0C040882, 933.4f)),
              "Intel|GenuineIntel|Pentium III Processor|Coppermine|133 MHz|FC-PGA|6|B|4|cC0|"
              "500 - 1133 MHz|1.65 V|8 KByte|12 KByte|256 KByte|absent|Internal (full - speed)|"
              "1/1|933 MHz|0x387FBFF|933.4 MHz|~|~|~|6|B|4");
    const auto cartridge = pageFor(0x00000043, 1466.9f, 2);
    EXPECT_EQ(cartridge[2].value + "|" + cartridge[16].value + "|" + cartridge[17].value + "|" +
                  cartridge[18].value,
              "2xPentium III Processor|External On SECC Cartdrige|Unknow|unknow");
    // Brand strings often end in the word already; the golden pages show such a pair.
    EXPECT_EQ(processorFieldText(1, "Oxide Processor"), "Oxide Processor");
}

// The golden dumps cover the K6-2, Athlon XP, Pentium III and 4 logos.
TEST(CpuLogo, ChosenByVendorFamilyModelAndCache) {
    const auto logos = [](const char* vendor, int family, std::initializer_list<int> models,
                          int l2KB) {
        return joined(models,
                      [&](int model) { return cpuLogoName(vendor, family, model, l2KB) + "|"; });
    };
    EXPECT_EQ(logos("AuthenticAMD", 5, {9, 10, 13}, -1) + logos("AuthenticAMD", 6, {3, 7, 10}, 256),
              "AMD_K6-3||AMD_K6-3|AMD_Duron|AMD_Duron|AMD_Athlon|");
    EXPECT_EQ(logos("GenuineIntel", 6, {5, 6, 7, 8}, 128) + logos("GenuineIntel", 6, {5}, 256) +
                  logos("CyrixInstead", 6, {0}, 0),
              "Intel_Celeron|Intel_Celeron|PIIILogo|Intel_Celeron|PIIILogo||");
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
    FakeCpu intel = intelLeaf2(1, 0);
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
        {"type bits", intelLeaf2(1, 0x40, "GenuineIntel", 0x1632), "6 3 2; 6 3; 0/0/0 absent"},
        {"AMD extended model", amdCpu(0x00A50F10, 1), "F 1 0; 19 51; 64/32/-1 Absent"},
        {"only Intel's family 6", amdCpu(0x00010662, 0x80000005), "6 6 2; 6 6; 64/32/-1 Absent"},
        {"unsigned limit", amdCpu(0x662, 1), "6 6 2; 6 6; 64/32/-1 Absent"},
        {"Duron A0", amdCpu(0x630, 0x80000006), "6 3 0; 6 3; 64/32/64 Absent"},
        {"Duron A1", amdCpu(0x631, 0x80000006), "6 3 1; 6 3; 64/32/256 Absent"},
        // Bytes 1 and 3 hold no first-level descriptors here: they stay raw.
        {"0x43", intelLeaf2(1, 0x0C040843), "6 8 6; 6 8; 8/12/512 absent"},
        {"0x41", intelLeaf2(1, 0x08000C41), "6 8 6; 6 8; 16/16/128 absent"},
        {"0x82", intelLeaf2(1, 0x06000A82), "6 8 6; 6 8; 8/8/256 absent"},
        {"raw", intelLeaf2(1, 0x0000007D), "6 8 6; 6 8; 0/0/125 absent"},
        {"FF without extended signature", intelLeaf2(1, 0x0C0408FF), "6 8 6; 6 8; 8/12/255 absent"},
        {"other vendors", intelLeaf2(1, 0x0C040843, "CyrixInstead", 0x520), "5 2 0; 5 2; 0/0/0 "},
        // As on the cache page: unified counts as data and code, a reserved type as nothing.
        {"unified first level", unifiedFirstLevel(), "6 A 5; 6 1A; 16/16/0 absent"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decoded(c.cpu), c.expected) << c.why;
    }
}

TEST(DefinitionLoad, OnceAtTheFirstConstructionUnknownVendorsReportedNewerOnesByBrandString) {
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

    // Newer processors are named by their brand string: "  AMD Test 9 " ended by a zero.
    ProcessorFacts newer;
    identify(FakeCpu()
                 .vendor("AuthenticAMD", 0xD)
                 .signature(0x00B00F21)
                 .leaf(0x80000000, {0x80000021, 0, 0, 0})
                 .leaf(0x80000002, {0x4D412020, 0x65542044, 0x39207473, 0x00000020}),
             newer);
    EXPECT_EQ(newer.definition.processorName + "|" + newer.definition.stepMask,
              "AMD Test 9|Unknow");
}

// Every field loaded from `text` (no file when null) for the given processor, its L2 given by a
// leaf 2 descriptor, over a definition whose step mask was "kept".
std::string loaded(const char* vendor, std::uint32_t signature,
                   const std::optional<std::string>& text, std::uint32_t l2Descriptor = 0) {
    const auto identity = identify(intelLeaf2(0, l2Descriptor, vendor, signature));
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

TEST(DefinitionFile, ReadsTheRecordAfterTheSectionAndCacheKeysAndTheStepMask) {
    // CR LF line ends; the first matching step line wins.
    EXPECT_EQ(loaded(kAmd, 0x642, kAthlonFile), kThunderbird + "A4");
    // Stepping 10 is the digit A; a line without '=' is the mask itself.
    EXPECT_EQ(loaded(kAmd, 0x64A, kAthlonFile), kThunderbird + "1,0x64A");
    EXPECT_EQ(loaded(kAmd, 0x649, kAthlonFile), kThunderbird + "Unknow");
    EXPECT_EQ(loaded("CentaurHauls", 0x698, kAthlonFile), kNotFound + "Unknow");
    // Keys do not match lower-case hex digits.
    EXPECT_EQ(loaded(kAmd, 0x6A0, "[1,0x6a]\nAMD\nx\n\n\n\n\n\n1,0x6a0=x\n"), kNotFound + "Unknow");
    EXPECT_EQ(loaded(kAmd, 0x662, "[1,0x66]\nAMD\nAthlon XP\nPalomino"),
              "AMD|Athlon XP|Palomino|||||Unknow");  // a record cut short
    EXPECT_EQ(loaded("GenuineIntel", 0x686, std::nullopt, 0x42), kNotFound + "Unknow");
    // Cache sub-keys pick the record; damaged files never crash; unknown vendors throw.
    EXPECT_EQ(loaded("GenuineIntel", 0x686, kCoppermineFile, 0x41),
              "Intel|Celeron|Coppermine-128|||||cC0");
    // No such size: the defaults, and the step mask keeps its value.
    EXPECT_EQ(loaded("GenuineIntel", 0x686, kCoppermineFile, 0x43), kNotFound + "kept");
    // Only Intel's family 6 models 5, 7 and 8 have cache sub-keys.
    EXPECT_EQ(definitionKeys(2, 6, 5, 0, 0).cacheSubKey +
                  definitionKeys(2, 6, 6, 0, 128).cacheSubKey +
                  definitionKeys(1, 6, 8, 0, 128).cacheSubKey,
              "[0]");
    const std::string longLine(10000, 'x');
    EXPECT_EQ(loaded(kAmd, 0x662,
                     "[1,0x66]\n" + longLine + "\n\n\x01\xff\n" + longLine + "\n\n\n\n1,0x6\n" +
                         longLine + "\n1,0x662"),
              longLine + "||\x01\xff|" + longLine + "||||1,0x662");
    EXPECT_EQ(loaded(kAmd, 0x662, std::string("\0\0[1,0x66\0", 10)), kNotFound + "Unknow");
    EXPECT_THROW(loaded("Unknown", 0x642, kAthlonFile), DefinitionError);
}

// The groups in page order: TLBs for large and small pages, L1 data and code, L2 TLBs, L2, L3.
// TLB: data ways and entries, code ways and entries; cache: ways, lines per tag, line size, size.
std::string page(const FakeCpu& cpu) {
    const auto text = joined(cachePage(identify(cpu), "Test").groups, [](auto& group) {
        const auto fields = joined(group.fields, [](auto& field) {
            return (field.enabled ? field.value : "~") + ",";  // a disabled field shows as '~'
        });
        return " | " + fields.substr(0, fields.size() - 1);
    });
    return text.substr(3);
}

FakeCpu amd(std::uint32_t highestExtended, std::uint32_t leaf, platform::CpuidRegisters r) {
    FakeCpu cpu;
    cpu.vendor("AuthenticAMD").signature(0x662).leaf(0x80000000, {highestExtended, 0, 0, 0});
    return cpu.leaf(leaf, r);
}

// A processor that defers to leaves 4 and 0x18: L1 data 48 KB 12 way,
// L1 instruction 32 KB 8 way, L2 1280 KB 20 way, L3 fully associative. Its TLB leaf counts
// only when the highest leaf admits it; entries not to be shown come before those that are.
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

TEST(CachePage, EachGroupFromTheLeavesOfTheVendor) {
    const struct {
        const char* why;
        FakeCpu cpu;
        const char* expected;
    } cases[] = {
        // AMD: a second-level answer the highest extended leaf does not admit is never read.
        {"AMD without leaf 80000006",
         amd(0x80000005, 0x80000006, {0x61016101, 0x61016101, 0x01006140, 0}),
         "0 way,0 entries,0 way,0 entries | 0 way,0 entries,0x0 way,0 entries | "
         "0 way,0 lines,0 Byte,0 KByte | 0 way,0 lines,0 Byte,0 KByte | "
         "off,0 entries,off,0 entries | off,0 entries,off,0 entries | "
         "off,0 lines,0 Byte,-1 KByte | ~,~,~,~"},
        // Full only for first-level TLBs, hex ways only for the small code TLB.
        {"AMD codes",
         amd(0x80000006, 0x80000006, {0x6FFF1002, 0x2200F001, 0x0100F140, 0})
             .leaf(0x80000005, {0x0CFFFF08, 0xFF201040, 0x300C0140, 0x40FF0240}),
         "12 way,255 entries,Full,8 entries | Full,32 entries,0x10 way,64 entries | "
         "12 way,1 lines,64 Byte,48 KByte | 255 way,2 lines,64 Byte,64 KByte | "
         "8 way,4095 entries,Direct mapped,2 entries | 2 way,512 entries,Full,1 entries | "
         "Full,1 lines,64 Byte,256 KByte | ~,~,~,~"},
        {"AMD second-level not-known texts",
         amd(0x80000006, 0x80000006, {0x30803040, 0x30803040, 0x04003140, 0}),
         "0 way,0 entries,0 way,0 entries | 0 way,0 entries,0x0 way,0 entries | "
         "0 way,0 lines,0 Byte,0 KByte | 0 way,0 lines,0 Byte,0 KByte | "
         "Unknow,128 entries,Unkow,64 entries | unknow,128 entries,unknow,64 entries | "
         "unknow,1 lines,64 Byte,1024 KByte | ~,~,~,~"},
        // Intel leaf 2: EAX byte 1 0x01 is no descriptor.
        {"Intel fixed bytes", intelLeaf2(0x03020101, 0x0C040843),
         ",,4 way,64 entries | 4 way,64 entries,, | 4 way,Unified cache,32 byte,16 KByte | "
         "4 way,Unified cache,32 Byte,16 KByte | ,,, | ,,, | "
         "4 way,Unified Cache,32 Byte,512 KByte | ~,~,~,~"},
        // EAX byte 1 0x5B fills both data TLBs, then EAX byte 3 0x03 rewrites the 4 KB one;
        // EAX byte 2 0x50 fills both instruction TLBs, then EDX byte 2 0x04 the large one.
        {"later bytes overwrite", intelLeaf2(0x03505B01, 0x00040000),
         "full,64 entries,4 way,64 entries | 4 way,64 entries,full,64 entries | ,,, | ,,, | ,,, | "
         ",,, | ,,, | ~,~,~,~"},
        // 0x43 is an L2 descriptor only in EDX byte 0; 0x03 a TLB only in EAX bytes 1 and 3.
        {"bytes count only at their positions", intelLeaf2(0x00000301, 0x43434300),
         "4 way,64 entries,, | ,,, | ,,, | ,,, | ,,, | ,,, | ,,, | ~,~,~,~"},
        {"sectored", intelLeaf2(0x00000001, 0x6600007A),
         ",,, | ,,, | 4 way,Sectored,64 byte,8 KByte | ,,, | ,,, | ,,, | "
         "8 way,Sectored Cache,64 Byte,256 KByte | ~,~,~,~"},
        // Highest leaf 0x16: leaf 0x18 is not read, and leaf 2 holds no fixed-table TLB bytes.
        {"leaf 4 without leaf 18", modernIntel(0x16),
         ",,, | ,,, | 12 way,1 lines,64 Byte,48 KByte | 8 way,1 lines,64 Byte,32 KByte | ,,, | "
         ",,, | 20 way,1 lines,64 Byte,1280 KByte | ~,~,~,~"},
        {"leaf 4 and leaf 18", modernIntel(0x1B),
         "4 way,64 entries,Full,8 entries | 4 way,64 entries,8 way,128 entries | "
         "12 way,1 lines,64 Byte,48 KByte | 8 way,1 lines,64 Byte,32 KByte | "
         "8 way,2048 entries,8 way,2048 entries | 8 way,2048 entries,8 way,2048 entries | "
         "20 way,1 lines,64 Byte,1280 KByte | ~,~,~,~"},
        {"without an extended signature only leaf 2", modernIntel(0x1B, 0x6B1),
         ",,, | ,,, | 4 way,Unified cache,32 byte,16 KByte | "
         "4 way,Unified cache,32 Byte,16 KByte | ,,, | ,,, | "
         "4 way,Unified Cache,32 Byte,512 KByte | ~,~,~,~"},
        {"fully associative unified first level", unifiedFirstLevel(),
         ",,, | ,,, | Full,1 lines,64 Byte,16 KByte | Full,1 lines,64 Byte,16 KByte | ,,, | ,,, | "
         ",,, | ~,~,~,~"},
        {"damaged answers are bounded",
         FakeCpu()
             .vendor("GenuineIntel", 0x18)
             .signature(0x000906EA)
             .leaf(2, {0x00FEFF01, 0, 0, 0})
             .leaf(4, {0xFFFFFE23, 0xFFFFFFFF, 0xFFFFFFFF, 0}, 0)
             .leaf(0x18, {0xFFFFFFFF, 0xFFFF0001, 0xFFFFFFFF, 0x00000021}, 0),
         ",,, | 65535 way,2147483647 entries,, | Full,1024 lines,4096 Byte,2147483647 KByte | "
         "Full,1024 lines,4096 Byte,2147483647 KByte | ,,, | ,,, | ,,, | ~,~,~,~"},
        {"other vendors", intelLeaf2(0x03020101, 0x0C040843, "CyrixInstead", 0x524),
         "~,~,~,~ | ~,~,~,~ | ~,~,~,~ | ~,~,~,~ | ~,~,~,~ | ~,~,~,~ | ~,~,~,~ | ~,~,~,~"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(page(c.cpu), c.expected) << c.why;
    }
}

// Each cache as level and type, size, ways ('F' fully associative, '?' none stated, 'S'
// sectored), lines per tag x line size, sets and sharing processors.
TEST(CacheGeometry, OneRecordPerCacheFromEachSourceInListedOrder) {
    const auto listed = [](const FakeCpu& cpu) {
        return joined(cacheGeometry(identify(cpu)), [](auto& c) {
            return strprintf("L%d%c %dK %s%s%s %dx%dB %llus /%d, ", c.level,
                             "dcu"[static_cast<std::size_t>(c.type)], c.sizeKB,
                             c.ways ? std::to_string(*c.ways).c_str() : "?",
                             c.fullyAssociative ? "F" : "", c.sectored ? "S" : "", c.linesPerTag,
                             c.lineSize, static_cast<unsigned long long>(c.sets), c.sharedBy);
        });
    };
    EXPECT_EQ(listed(modernIntel(0x16)),
              "L1d 48K 12 1x64B 64s /2, L1c 32K 8 1x64B 64s /2, L2u 1280K 20 1x64B 1024s /2, "
              "L3u 12288K 12F 1x64B 16384s /16, ");
    EXPECT_EQ(listed(amd(0x80000006, 0x80000006, {0, 0, 0x0100F140, 0})
                         .leaf(0x80000005, {0, 0, 0x300C0140, 0x40FF0240})),
              "L1d 48K 12 1x64B 0s /0, L1c 64K 255F 2x64B 0s /0, L2u 256K ?F 1x64B 0s /0, ");
    EXPECT_EQ(listed(intelLeaf2(1, 0x6600007A)),
              "L1d 8K 4S 0x64B 0s /0, L2u 256K 8S 0x64B 0s /0, ");
    EXPECT_EQ(listed(unifiedFirstLevel()), "L1u 16K 4F 1x64B 64s /1, ");
}

// A recorded dual Athlon MP: every fact is taken once from its source, the
// clock is read when asked, and a copy keeps the recorded processor alive.
TEST(MachineFacts, GathersEachFactOnceReadsTheClockWhenAskedAndKeepsTheDefinitionProblem) {
    ProcessorFacts processor = test::factsWithShippedDefinition();
    auto clock = std::make_shared<ClockState>();
    int pciLists = 0;
    MachineSources sources;
    sources.probe = test::recordedProbe("athlonmp-thoroughbred-dual");
    sources.processor = &processor;
    sources.clock = clock;
    sources.pciList = [&pciLists] {
        ++pciLists;
        PciProcessState fresh;
        PciEnvironment unreachable;
        unreachable.openDriver = [] { return std::unique_ptr<platform::PciConfigReader>(); };
        unreachable.loadNames = [] { return PciNames(); };
        unreachable.state = fresh;
        return PciDeviceList(unreachable);
    };
    sources.memory = platform::MemoryFacts{{0, 1023ull << 20, 0, 0, 0}, {}, 0, 0};
    std::optional<MachineFacts> copy;
    {
        const MachineFacts machine(sources);
        sources = {};
        EXPECT_EQ(pciLists, 1);
        EXPECT_TRUE(machine.pciError.has_value());
        // Processors, feature words, definition, trace cache, cache groups and records, memory.
        EXPECT_EQ(strprintf("%d %x %x ", machine.processorCount, machine.features.standard,
                            machine.features.extended) +
                      machine.definition.processorName + "|" + machine.traceCacheText +
                      strprintf(" %zu %zu %u", machine.caches.groups.size(),
                                machine.cacheGeometry.size(), machine.memory.totalPhysMB()),
                  "2 383fbff c1c3fbff Athlon XP / MP|Absent 8 3 1024");
        copy.emplace(machine);
    }
    EXPECT_EQ(copy->clockMHz(), 0.0f);
    clock->publish(2000.0f, "XP2400+");
    EXPECT_EQ(copy->clockMHz(), 2000.0f);
    EXPECT_EQ(copy->ratingText(), "XP2400+");
    EXPECT_EQ(copy->identity.has3DNow(), 1);  // asks the recorded processor again
    EXPECT_EQ(copy->definitionError, "");
    // The definition file's problem reaches the record for the caller to show.
    const auto nexGen = FakeCpu().vendor("NexGenDriven").signature(0x542).probe();
    EXPECT_EQ(test::machineOf(std::make_shared<platform::RecordedCpuProbe>(nexGen)).definitionError,
              "Error: cannot resolve vendor string");
}

}  // namespace
}  // namespace veltrane::ident

// Recorded processors decoded with the shipped definition file; this processor; the CPU page.
#include <gtest/gtest.h>

#include <fstream>

#include "ident/ExtendedCpuPage.h"
#include "ident/ProcessorIdentity.h"
#include "platform/CpuidDump.h"
#include "platform/Format.h"
#include "support/FakeCpu.h"

namespace veltrane::ident {
namespace {

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
     "unknow|Oxide Virtual Turin-like Processor|Unknow|Unknow; MMX SSE SSE2 MMXExt; 2; "},
    {"corei7-coffeelake",
     "GenuineIntel; 6 E A 6 9E; 32 32 256 absent; "
     "unknow|Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz|Unknow|Unknow; MMX SSE SSE2; 12; PIIILogo"},
};

void PrintTo(const Expected& expected, std::ostream* out) {
    *out << expected.dump;
}

std::string features(const ProcessorIdentity& id) {
    std::string text;
    for (const auto& [has, name] : {std::pair{id.hasMMX(), " MMX"},
                                    {id.hasSSE(), " SSE"},
                                    {id.hasSSE2(), " SSE2"},
                                    {id.hasSerialNumber(), " PSN"},
                                    {id.has3DNow(), " 3DNow"},
                                    {id.has3DNowExt(), " 3DNowExt"},
                                    {id.hasMMXExt(), " MMXExt"}}) {
        text += has != 0 ? name : "";
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
    const auto probe = platform::loadCpuidDumpFile(std::string(VELTRANE_TEST_DATA_DIR) + "/" +
                                                   GetParam().dump + ".cpuid");
    ProcessorFacts facts;
    facts.openDefinitionFile = [] {
        return std::make_unique<std::ifstream>(VELTRANE_SOURCE_DATA_DIR "/cpudef.dat");
    };
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

// The values of the rows in page order, joined by '|'.
std::string joined(const std::vector<LabelledValue>& rows) {
    std::string text;
    for (const auto& row : rows) {
        text += "|" + row.value;
    }
    return text.substr(1);
}

std::vector<LabelledValue> pageFor(std::uint32_t leaf2Edx, float clockMHz,
                                   std::uint32_t processors = 1) {
    const auto probe = test::FakeCpu()
                           .vendor("GenuineIntel")
                           .signature(0x6B4, 0x0387FBFF)
                           .leaf(2, {0x03020101, 0, 0, leaf2Edx})
                           .processors(processors)
                           .probe();
    ProcessorFacts facts = test::factsWithoutDefinition();
    ProcessorIdentity identity(probe, facts);
    const ProcessorDefinition definition{"Intel",  "Pentium III", "Coppermine", "500 - 1133 MHz",
                                         "1.65 V", "FC-PGA",      "133 MHz",    "cC0"};
    return extendedCpuValues(identity, {definition, "absent", clockMHz});
}

TEST(ExtendedCpuPage, DefinitionSignatureCachesAndProcessorsWithL2Of512KBOnTheCartridge) {
    const auto rows = pageFor(0x0C040882, 933.4f);
    EXPECT_EQ(joined(rows),
              "Intel|GenuineIntel|Pentium III Processor|Coppermine|133 MHz|FC-PGA|6|B|4|cC0|"
              "500 - 1133 MHz|1.65 V|8 KByte|12 KByte|256 KByte|absent|Internal (full - speed)|"
              "1/1|933 MHz|0x387FBFF|933.4 MHz||||6|B|4");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].enabled, rows[i].value != "") << rows[i].label;
    }
    const auto cartridge = pageFor(0x00000043, 1466.9f, 2);
    EXPECT_EQ(cartridge[2].value + "|" + cartridge[16].value + "|" + cartridge[17].value + "|" +
                  cartridge[18].value,
              "2xPentium III Processor|External On SECC Cartdrige|Unknow|unknow");
    // Brand strings often end in the word already.
    EXPECT_EQ(
        processorFieldText(2, "AMD 8-Core Processor") + processorFieldText(1, "Oxide Processor"),
        "2xAMD 8-Core ProcessorOxide Processor");
}

TEST(FeatureRows, HeadingsBlanksAndOneRowPerBit) {
    std::string headings, supported, unsupported;
    for (const auto& row : featureRows(0x80000001u, 0x00400000u)) {
        headings += row.description.empty() ? row.item + "|" : "";
        supported += row.description == "Supported" ? row.item + "|" : "";
        unsupported += row.description == "Not Supported" ? "-" : "";
    }
    EXPECT_EQ(headings, " |   Standard Features Flag| | | |   Extended Feature Flags| | |");
    EXPECT_EQ(supported + std::to_string(unsupported.size()),
              "      Built in Floating point unit (bit 1)|      bit 32 reserved|"
              "      MMX Instructions Extensions (bit 23)|61");
}

// The golden dumps cover the K6-2, Athlon XP, Pentium III and 4 logos.
TEST(CpuLogo, ChosenByVendorFamilyModelAndCache) {
    const auto logos = [](const char* vendor, int family, std::initializer_list<int> models,
                          int l2KB) {
        std::string text;
        for (const int model : models) {
            text += cpuLogoName(vendor, family, model, l2KB) + "|";
        }
        return text;
    };
    EXPECT_EQ(logos("AuthenticAMD", 5, {9, 10, 13}, -1) + logos("AuthenticAMD", 6, {3, 7, 10}, 256),
              "AMD_K6-3||AMD_K6-3|AMD_Duron|AMD_Duron|AMD_Athlon|");
    EXPECT_EQ(logos("GenuineIntel", 6, {5, 6, 7, 8}, 128) + logos("GenuineIntel", 6, {5}, 256) +
                  logos("CyrixInstead", 6, {0}, 0),
              "Intel_Celeron|Intel_Celeron|PIIILogo|Intel_Celeron|PIIILogo||");
}

}  // namespace
}  // namespace veltrane::ident

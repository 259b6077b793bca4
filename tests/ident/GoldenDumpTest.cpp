// Recorded processors, decoded with the definition file the program ships.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>

#include "ident/ExtendedCpuPage.h"
#include "ident/ProcessorIdentity.h"
#include "platform/CpuidDump.h"
#include "platform/Format.h"

namespace veltrane::ident {
namespace {

// Per dump, one line of what it decodes to: vendor; family, model, stepping,
// family and model shown (hexadecimal); L1 data, L1 code and L2 KB, trace
// cache; the definition's manufacturer, name, codename and step mask; the
// feature bits set; the processor count; the logo.
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
    const std::pair<int, const char*> bits[] = {
        {id.hasMMX(), "MMX"},          {id.hasSSE(), "SSE"},     {id.hasSSE2(), "SSE2"},
        {id.hasSerialNumber(), "PSN"}, {id.has3DNow(), "3DNow"}, {id.has3DNowExt(), "3DNowExt"},
        {id.hasMMXExt(), "MMXExt"}};
    std::string text;
    for (const auto& [has, name] : bits) {
        text += has == 0 ? "" : (text.empty() ? "" : " ") + std::string(has == 1 ? name : "?");
    }
    return text;
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

INSTANTIATE_TEST_SUITE_P(Processors, GoldenDump, ::testing::ValuesIn(kProcessors),
                         [](const auto& param) {
                             std::string name = param.param.dump;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace veltrane::ident

// Recorded processors, decoded with the definition file the program ships.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>

#include "ident/ExtendedCpuPage.h"
#include "ident/ProcessorIdentity.h"
#include "platform/CpuidDump.h"

namespace veltrane::ident {
namespace {

struct Expected {
    const char* dump;
    const char* vendor;
    int family, model, stepping, displayFamily, displayModel;
    int l1DataKB, l1CodeKB, l2KB;
    const char* trace;
    const char* manufacturer;
    const char* name;
    const char* codename;
    const char* stepMask;
    int mmx, sse, sse2, serial, threeDNow, threeDNowExt, mmxExt;
    int processors;
    const char* logo;
};

const Expected kProcessors[] = {
    {"pentium3-coppermine", "GenuineIntel", 6,     8, 6, 6, 8, 8, 12, 256, "absent", "Intel",
     "Pentium III",         "Coppermine",   "cC0", 1, 1, 0, 1, 0, 0,  0,   1,        "PIIILogo"},
    {"pentium4-northwood",
     "GenuineIntel",
     15,
     2,
     4,
     15,
     2,
     112,
     0,
     0,
     "12 \xC2\xB5OPS",
     "Intel",
     "Pentium 4",
     "Northwood (0.13u)",
     "B0",
     1,
     1,
     1,
     0,
     0,
     0,
     0,
     1,
     "IntelPentium4"},
    {"athlonxp-palomino", "AuthenticAMD", 6,    6, 2, 6, 6, 64, 64, 256, "Absent", "AMD",
     "Athlon XP / MP",    "Palomino",     "A5", 1, 1, 0, 0, 1,  1,  1,   1,        "AMD_AthlonXP"},
    {"k6-2-cxt", "AuthenticAMD", 5,     8, 12, 5, 8, 32, 32, -1, "Absent", "AMD",
     "K6-2",     "Chomper",      "CXT", 1, 0,  0, 0, 1,  0,  0,  1,        "AMD_K6-2"},
    {"athlonmp-thoroughbred-dual",
     "AuthenticAMD",
     6,
     8,
     1,
     6,
     8,
     64,
     64,
     256,
     "Absent",
     "AMD",
     "Athlon XP / MP",
     "Thoroughbred",
     "B0",
     1,
     1,
     0,
     0,
     1,
     1,
     1,
     2,
     "AMD_AthlonXP"},
    {"zen5-virtual",
     "AuthenticAMD",
     15,
     2,
     1,
     0x1A,
     2,
     48,
     32,
     1024,
     "Absent",
     "unknow",
     "Oxide Virtual Turin-like Processor",
     "Unknow",
     "Unknow",
     1,
     1,
     1,
     0,
     0,
     0,
     1,
     2,
     ""},
    {"corei7-coffeelake",
     "GenuineIntel",
     6,
     14,
     10,
     6,
     0x9E,
     32,
     32,
     256,
     "absent",
     "unknow",
     "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz",
     "Unknow",
     "Unknow",
     1,
     1,
     1,
     0,
     0,
     0,
     0,
     12,
     "PIIILogo"},
};

void PrintTo(const Expected& expected, std::ostream* out) {
    *out << expected.dump;
}

class GoldenDump : public ::testing::TestWithParam<Expected> {};

TEST_P(GoldenDump, DecodesToTheRecordedProcessor) {
    const Expected& e = GetParam();
    const auto probe =
        platform::loadCpuidDumpFile(std::string(VELTRANE_TEST_DATA_DIR) + "/" + e.dump + ".cpuid");
    ProcessorFacts facts;
    facts.openDefinitionFile = [] {
        return std::make_unique<std::ifstream>(VELTRANE_SOURCE_DATA_DIR "/cpudef.dat");
    };
    ProcessorIdentity identity(*probe, facts);

    EXPECT_EQ(identity.vendor, e.vendor);
    EXPECT_EQ(identity.family, e.family);
    EXPECT_EQ(identity.model, e.model);
    EXPECT_EQ(identity.stepping, e.stepping);
    EXPECT_EQ(identity.displayFamily(), e.displayFamily);
    EXPECT_EQ(identity.displayModel(), e.displayModel);
    EXPECT_EQ(identity.l1DataKB, e.l1DataKB);
    EXPECT_EQ(identity.l1CodeKB, e.l1CodeKB);
    EXPECT_EQ(identity.l2KB, e.l2KB);
    EXPECT_EQ(facts.traceCacheText, e.trace);
    EXPECT_EQ(facts.definitionError, "");
    EXPECT_EQ(facts.definition.manufacturer, e.manufacturer);
    EXPECT_EQ(facts.definition.processorName, e.name);
    EXPECT_EQ(facts.definition.codename, e.codename);
    EXPECT_EQ(facts.definition.stepMask, e.stepMask);
    EXPECT_EQ(identity.hasMMX(), e.mmx);
    EXPECT_EQ(identity.hasSSE(), e.sse);
    EXPECT_EQ(identity.hasSSE2(), e.sse2);
    EXPECT_EQ(identity.hasSerialNumber(), e.serial);
    EXPECT_EQ(identity.has3DNow(), e.threeDNow);
    EXPECT_EQ(identity.has3DNowExt(), e.threeDNowExt);
    EXPECT_EQ(identity.hasMMXExt(), e.mmxExt);
    EXPECT_EQ(identity.processorCount(), e.processors);
    EXPECT_EQ(cpuLogoName(identity.vendor, identity.family, identity.model, identity.l2KB), e.logo);
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

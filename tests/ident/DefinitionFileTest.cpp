#include <gtest/gtest.h>

#include <sstream>

#include "ident/DefinitionFile.h"
#include "ident/ProcessorIdentity.h"
#include "support/FakeCpu.h"

namespace veltrane::ident {
namespace {

// An identity with the given fields, built without probing a processor.
ProcessorIdentity identityOf(const char* vendor, int family, int model, int stepping,
                             int l2KB = 0) {
    static const auto probe = test::FakeCpu().vendor("GenuineIntel").probe();
    ProcessorFacts facts = test::factsWithoutDefinition();
    ProcessorIdentity identity(probe, facts);
    identity.vendor = vendor;
    identity.family = family;
    identity.model = model;
    identity.stepping = stepping;
    identity.l2KB = l2KB;
    return identity;
}

std::string fields(const ProcessorDefinition& d) {
    return d.manufacturer + "|" + d.processorName + "|" + d.codename + "|" + d.frequencyRange +
           "|" + d.defaultVcore + "|" + d.platform + "|" + d.busType + "|" + d.stepMask;
}

// Every field loaded from `text` over a definition whose step mask was `stepMask`.
std::string loaded(const ProcessorIdentity& identity, const std::string& text,
                   const std::string& stepMask = "") {
    std::istringstream file(text);
    ProcessorDefinition definition;
    definition.stepMask = stepMask;
    loadProcessorDefinition(identity, &file, definition);
    return fields(definition);
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

TEST(DefinitionFile, ReadsTheRecordAfterTheSectionKeyAndTheStepMask) {
    // CR LF line ends; the first matching step line wins.
    EXPECT_EQ(loaded(identityOf("AuthenticAMD", 6, 4, 2), kAthlonFile), kThunderbird + "A4");
    // Stepping 10 is the digit A; a line without '=' is the mask itself.
    EXPECT_EQ(loaded(identityOf("AuthenticAMD", 6, 4, 10), kAthlonFile), kThunderbird + "1,0x64A");
    EXPECT_EQ(loaded(identityOf("AuthenticAMD", 6, 4, 9), kAthlonFile), kThunderbird + "Unknow");
    EXPECT_EQ(loaded(identityOf("CentaurHauls", 6, 9, 8), kAthlonFile), kNotFound + "Unknow");
    // Keys do not match lower-case hex digits.
    EXPECT_EQ(
        loaded(identityOf("AuthenticAMD", 6, 10, 0), "[1,0x6a]\nAMD\nx\n\n\n\n\n\n1,0x6a0=x\n"),
        kNotFound + "Unknow");
    EXPECT_EQ(loaded(identityOf("AuthenticAMD", 6, 6, 2), "[1,0x66]\nAMD\nAthlon XP\nPalomino"),
              "AMD|Athlon XP|Palomino|||||Unknow");  // a record cut short
    EXPECT_EQ(loaded(identityOf("AuthenticAMD", 6, 6, 2), ""), kNotFound + "Unknow");
    ProcessorDefinition unopened;
    loadProcessorDefinition(identityOf("GenuineIntel", 6, 8, 6, 256), nullptr, unopened);
    EXPECT_EQ(fields(unopened), kNotFound + "Unknow");
}

TEST(DefinitionFile, IntelSectionsWithCacheSubKeysPickTheRecordBySize) {
    EXPECT_EQ(loaded(identityOf("GenuineIntel", 6, 8, 6, 128), kCoppermineFile),
              "Intel|Celeron|Coppermine-128|||||cC0");
    EXPECT_EQ(loaded(identityOf("GenuineIntel", 6, 8, 6, 256), kCoppermineFile),
              "Intel|Pentium III|Coppermine|500 - 1133 MHz|1.65 V|FC-PGA|133 MHz GTL+|cC0");
    // No such size: the defaults, and the step mask keeps its value.
    EXPECT_EQ(loaded(identityOf("GenuineIntel", 6, 8, 6, 512), kCoppermineFile, "kept"),
              kNotFound + "kept");
}

TEST(DefinitionFile, BuildsKeysWithUpperCaseSingleHexDigits) {
    const auto keys = definitionKeys(2, 15, 0, 10, 256);
    EXPECT_EQ(keys.section, "[2,0xF0]");
    EXPECT_EQ(keys.stepping, "2,0xF0A");
    EXPECT_EQ(keys.cacheSubKey, "");  // family 15 has no cache sub-key
    EXPECT_EQ(definitionKeys(2, 6, 8, 3, 128).cacheSubKey, "[128]");
    EXPECT_EQ(definitionKeys(2, 6, 5, 0, 0).cacheSubKey, "[0]");
    EXPECT_EQ(definitionKeys(2, 6, 6, 0, 128).cacheSubKey, "");
    EXPECT_EQ(definitionKeys(1, 6, 8, 0, 128).cacheSubKey, "");  // only Intel sections
}

TEST(DefinitionFile, DamagedFilesNeverCrash) {
    const std::string longLine(10000, 'x');
    const auto identity = identityOf("AuthenticAMD", 6, 6, 2);
    EXPECT_EQ(loaded(identity, "[1,0x66]\n" + longLine + "\n\n\x01\xff\n" + longLine +
                                   "\n\n\n\n1,0x6\n" + longLine + "\n1,0x662"),
              longLine + "||\x01\xff|" + longLine + "||||1,0x662");
    EXPECT_EQ(loaded(identity, std::string("\0\0[1,0x66\0", 10)), kNotFound + "Unknow");
}

TEST(DefinitionFile, AnUnknownVendorThrowsAndChangesNothing) {
    std::istringstream file(kAthlonFile);
    ProcessorDefinition d;
    d.processorName = "before";
    EXPECT_THROW(loadProcessorDefinition(identityOf("Unknown", 6, 4, 2), &file, d),
                 DefinitionError);
    EXPECT_EQ(d.processorName, "before");
}

}  // namespace
}  // namespace veltrane::ident

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

ProcessorDefinition load(const ProcessorIdentity& identity, const std::string& text) {
    std::istringstream file(text);
    ProcessorDefinition definition;
    loadProcessorDefinition(identity, &file, definition);
    return definition;
}

const char* const kAthlonFile =
    "[1,0x63]\nAMD\nDuron\nSpitfire\n600 - 950 MHz\n1.60 V\nSocket A\n200 MHz EV6\n"
    "[1,0x64]\r\nAMD\r\nAthlon\r\nThunderbird\r\n650 - 1400 MHz\r\n1.75 V\r\nSocket A\r\n"
    "200/266 MHz EV6\r\n1,0x641=A2\r\n1,0x642=A4\r\n1,0x642=wrong\r\n1,0x64A\r\n";

TEST(DefinitionFile, ReadsTheRecordAfterTheSectionKeyAndTheStepMask) {
    const auto d = load(identityOf("AuthenticAMD", 6, 4, 2), kAthlonFile);
    EXPECT_EQ(d.manufacturer, "AMD");
    EXPECT_EQ(d.processorName, "Athlon");
    EXPECT_EQ(d.codename, "Thunderbird");
    EXPECT_EQ(d.frequencyRange, "650 - 1400 MHz");
    EXPECT_EQ(d.defaultVcore, "1.75 V");
    EXPECT_EQ(d.platform, "Socket A");
    EXPECT_EQ(d.busType, "200/266 MHz EV6");
    EXPECT_EQ(d.stepMask, "A4");  // the first matching line wins
}

TEST(DefinitionFile, SteppingTenIsTheDigitAAndALineWithoutEqualsIsTheMask) {
    EXPECT_EQ(load(identityOf("AuthenticAMD", 6, 4, 10), kAthlonFile).stepMask, "1,0x64A");
    EXPECT_EQ(load(identityOf("AuthenticAMD", 6, 4, 9), kAthlonFile).stepMask, "Unknow");
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
    EXPECT_EQ(definitionKeys(5, 5, 0, 4, 0).section, "[5,0x50]");
}

TEST(DefinitionFile, KeysDoNotMatchLowerCaseHexDigits) {
    const auto d =
        load(identityOf("AuthenticAMD", 6, 10, 0), "[1,0x6a]\nAMD\nwrong\n\n\n\n\n\n1,0x6a0=x\n");
    EXPECT_EQ(d.processorName, "Unknow");
    EXPECT_EQ(d.stepMask, "Unknow");
}

const char* const kCoppermineFile =
    "[2,0x68]\n[128]\nIntel\nCeleron\nCoppermine-128\n\n\n\n\n"
    "[256]\nIntel\nPentium III\nCoppermine\n500 - 1133 MHz\n1.65 V\nFC-PGA\n133 MHz GTL+\n"
    "2,0x686=cC0\n";

TEST(DefinitionFile, IntelSectionsWithCacheSubKeysPickTheRecordBySize) {
    const auto celeron = load(identityOf("GenuineIntel", 6, 8, 6, 128), kCoppermineFile);
    EXPECT_EQ(celeron.processorName, "Celeron");
    EXPECT_EQ(celeron.frequencyRange, "");
    EXPECT_EQ(celeron.stepMask, "cC0");
    const auto p3 = load(identityOf("GenuineIntel", 6, 8, 6, 256), kCoppermineFile);
    EXPECT_EQ(p3.processorName, "Pentium III");
    EXPECT_EQ(p3.busType, "133 MHz GTL+");
    EXPECT_EQ(p3.stepMask, "cC0");
}

TEST(DefinitionFile, AMissingCacheSubKeyGivesDefaultsAndLeavesTheStepMask) {
    std::istringstream file(kCoppermineFile);
    ProcessorDefinition d;
    d.stepMask = "kept";
    loadProcessorDefinition(identityOf("GenuineIntel", 6, 8, 6, 512), &file, d);
    EXPECT_EQ(d.manufacturer, "unknow");
    EXPECT_EQ(d.processorName, "Unknow");
    EXPECT_EQ(d.busType, "Unknow");
    EXPECT_EQ(d.stepMask, "kept");
    EXPECT_EQ(load(identityOf("GenuineIntel", 6, 8, 6, 512), kCoppermineFile).stepMask, "");
}

TEST(DefinitionFile, AMissingSectionGivesTheNotFoundTexts) {
    const auto d = load(identityOf("CentaurHauls", 6, 9, 8), kAthlonFile);
    EXPECT_EQ(d.manufacturer, "unknow");
    for (const auto* field : {&d.processorName, &d.codename, &d.frequencyRange, &d.defaultVcore,
                              &d.platform, &d.busType, &d.stepMask}) {
        EXPECT_EQ(*field, "Unknow");
    }
}

TEST(DefinitionFile, AnUnopenableFileReadsAsEmpty) {
    ProcessorDefinition d;
    loadProcessorDefinition(identityOf("GenuineIntel", 6, 8, 6, 256), nullptr, d);
    EXPECT_EQ(d.manufacturer, "unknow");
    EXPECT_EQ(d.stepMask, "Unknow");
}

TEST(DefinitionFile, ARecordCutShortLeavesEmptyFields) {
    const auto d = load(identityOf("AuthenticAMD", 6, 6, 2), "[1,0x66]\nAMD\nAthlon XP\nPalomino");
    EXPECT_EQ(d.manufacturer, "AMD");
    EXPECT_EQ(d.codename, "Palomino");
    EXPECT_EQ(d.frequencyRange, "");
    EXPECT_EQ(d.defaultVcore, "");
    EXPECT_EQ(d.platform, "");
    EXPECT_EQ(d.busType, "");
    EXPECT_EQ(d.stepMask, "Unknow");
}

TEST(DefinitionFile, DamagedFilesNeverCrash) {
    const std::string longLine(10000, 'x');
    const auto d = load(identityOf("AuthenticAMD", 6, 6, 2),
                        "[1,0x66]\n" + longLine + "\n\n\x01\xff\n" + longLine + "\n\n\n\n" +
                            "1,0x6\n" + longLine + "\n1,0x662");
    EXPECT_EQ(d.manufacturer, longLine);
    EXPECT_EQ(d.codename, "\x01\xff");
    EXPECT_EQ(d.frequencyRange, longLine);
    EXPECT_EQ(d.stepMask, "1,0x662");
    const auto binary = load(identityOf("AuthenticAMD", 6, 6, 2), std::string("\0\0[1,0x66\0", 10));
    EXPECT_EQ(binary.processorName, "Unknow");
    EXPECT_EQ(load(identityOf("AuthenticAMD", 6, 6, 2), "").stepMask, "Unknow");
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

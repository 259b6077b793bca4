#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ident/PciNames.h"
#include "pcidef/PciIdsConversion.h"
#include "platform/Format.h"
#include "platform/TextFile.h"

namespace veltrane::ident {
namespace {

const std::string kDataDir = std::string(VELTRANE_TEST_DATA_DIR) + "/pci/";

PciNamePair lookUp(const std::string& text, std::uint32_t vendorId, std::uint32_t deviceId) {
    return PciNames::parse(text).lookup(vendorId, deviceId);
}

TEST(PciNames, AVendorLineThenADeviceLineGiveBothNamesWithOneLeadingBlank) {
    const auto names = lookUp("V\t8086 Intel\nD\t7190 440BX\n", 0x8086, 0x7190);
    EXPECT_EQ(names.vendorName, " Intel");
    EXPECT_EQ(names.deviceName, " 440BX");
}

TEST(PciNames, TheSeparatorAfterTheKeyIsReplacedByOneBlankWhateverItIs) {
    const auto names = lookUp("V\t8086\tIntel\nD\t7190-440BX  \n", 0x8086, 0x7190);
    EXPECT_EQ(names.vendorName, " Intel");
    EXPECT_EQ(names.deviceName, " 440BX  ");
    EXPECT_EQ(lookUp("V\t8086\n", 0x8086, 0).vendorName, " ");
}

TEST(PciNames, KeysAreUpperCaseAndALowerCaseLineDoesNotMatch) {
    EXPECT_EQ(lookUp("V\t10de nvidia\nD\t0020 tnt\n", 0x10DE, 0x0020).vendorName, "Unknow");
    const auto names =
        lookUp("V\t10de lower\nV\t10DE NVIDIA\nD\t00aa x\nD\t00AA NV\n", 0x10de, 0xaa);
    EXPECT_EQ(names.vendorName, " NVIDIA");
    EXPECT_EQ(names.deviceName, " NV");
}

TEST(PciNames, ADeviceLineBeforeItsVendorLineIsNotTaken) {
    const auto names = lookUp("D\t7190 Early\nV\t8086 Intel\nD\t7110 PIIX4\n", 0x8086, 0x7190);
    EXPECT_EQ(names.vendorName, " Intel");
    EXPECT_EQ(names.deviceName, "Unknow");
}

TEST(PciNames, ADeviceOfAnotherVendorsBlockIsNotTaken) {
    const std::string file = "V\t8086 Intel\nD\t7110 PIIX4\nV\t10B9 ALi\nD\t7190 Not Intel\n";
    EXPECT_EQ(lookUp(file, 0x8086, 0x7190).vendorName, " Intel");
    EXPECT_EQ(lookUp(file, 0x8086, 0x7190).deviceName, "Unknow");
    EXPECT_EQ(lookUp(file, 0x10B9, 0x7190).deviceName, " Not Intel");
}

TEST(PciNames, TheFirstVendorBlockAndItsFirstMatchingDeviceLineDecide) {
    const std::string file =
        "V\t8086 Intel\nD\t7190 First\nD\t7190 Second\nV\t8086 Again\nD\t7110 Later\n";
    EXPECT_EQ(lookUp(file, 0x8086, 0x7190).vendorName, " Intel");
    EXPECT_EQ(lookUp(file, 0x8086, 0x7190).deviceName, " First");
    EXPECT_EQ(lookUp(file, 0x8086, 0x7110).deviceName, "Unknow");
}

TEST(PciNames, OtherLinesAreSkippedWithoutEndingAVendorBlock) {
    const std::string file = "V\t8086 Intel\n# note\nV 8087 no tab\nV\t80ZZ bad\n\nD\t7190 440BX\n";
    EXPECT_EQ(lookUp(file, 0x8086, 0x7190).deviceName, " 440BX");
    EXPECT_EQ(lookUp(file, 0x8087, 0).vendorName, "Unknow");
}

TEST(PciNames, CrLfLineEndsAreRemoved) {
    const auto names = loadPciNamesFrom(kDataDir + "names-crlf.dat");
    const auto intel = names.lookup(0x8086, 0x7190);
    EXPECT_EQ(intel.vendorName, " Intel Corporation");
    EXPECT_EQ(intel.deviceName, " 440BX/ZX/DX - 82443BX/ZX/DX Host bridge");
    EXPECT_EQ(names.lookup(0x10DE, 0x0020).deviceName, " NV4 [Riva TNT]");
}

TEST(PciNames, AnUnknownVendorOrDeviceReadsUnknow) {
    const std::string file = "V\t8086 Intel\nD\t7190 440BX\n";
    EXPECT_EQ(lookUp(file, 0x1234, 0x7190).vendorName, "Unknow");
    EXPECT_EQ(lookUp(file, 0x1234, 0x7190).deviceName, "Unknow");
    EXPECT_EQ(lookUp(file, 0x8086, 0x1234).vendorName, " Intel");
    EXPECT_EQ(lookUp(file, 0x8086, 0x1234).deviceName, "Unknow");
    EXPECT_EQ(lookUp(file, 0x18086, 0x7190).vendorName, "Unknow");
}

TEST(PciNames, AMissingEmptyOrBinaryFileGivesUnknowNames) {
    for (const char* file : {"no-such-file.dat", "empty.dat", "binary.dat"}) {
        const auto names = loadPciNamesFrom(kDataDir + file);
        EXPECT_TRUE(names.empty()) << file;
        EXPECT_EQ(names.lookup(0x8086, 0x7190).vendorName, "Unknow") << file;
        EXPECT_EQ(names.lookup(0x8086, 0x7190).deviceName, "Unknow") << file;
    }
    EXPECT_TRUE(loadPciNamesFrom(kDataDir).empty());  // a folder
}

// The lookup as the rule reads, line by line over the whole file: the vendor
// line, then its first matching device line before the next vendor line.
bool isVendorLine(std::string_view line) {
    return line.size() >= 6 && line.substr(0, 2) == "V\t" &&
           line.substr(2, 4).find_first_not_of("0123456789ABCDEF") == std::string_view::npos;
}

std::string nameAfterKey(std::string_view line) {
    return " " + std::string(line.size() > 6 ? line.substr(7) : std::string_view());
}

PciNamePair lineByLine(const std::string& text, std::uint32_t vendorId, std::uint32_t deviceId) {
    const std::string vendorKey = strprintf("V\t%04X", vendorId);
    const std::string deviceKey = strprintf("D\t%04X", deviceId);
    PciNamePair pair{"Unknow", "Unknow"};
    bool vendorFound = false;
    for (const std::string_view line : platform::splitLines(text)) {
        if (vendorFound && isVendorLine(line)) {
            break;
        }
        if (!vendorFound && line.substr(0, 6) == vendorKey) {
            pair.vendorName = nameAfterKey(line);
            vendorFound = true;
        } else if (vendorFound && line.substr(0, 6) == deviceKey) {
            pair.deviceName = nameAfterKey(line);
            break;
        }
    }
    return pair;
}

// Lines of keys that often collide: vendors and devices 7777, 7A7A, 1A17...
std::string randomNamesFile(std::mt19937& random) {
    const char* const prefixes[] = {"V\t", "V\t", "D\t", "D\t", "D\t", "v\t", "V ", "D"};
    const char* const endings[] = {"\n", "\n", "\r\n", "\r", ""};
    const char* const ids[] = {"7777", "7777", "7A7A", "1A17", "7a7a", "777", "77777", ""};
    std::string text;
    for (std::size_t line = random() % 12; line > 0; --line) {
        text += prefixes[random() % 8];
        text += ids[random() % 8];
        text += random() % 2 != 0 ? " name" + std::to_string(line) : "";
        text += endings[random() % 5];
    }
    return text;
}

TEST(PciNames, RandomFilesGiveTheNamesOfTheLineByLineRule) {
    std::mt19937 random(1234);
    int vendorsFound = 0;
    int devicesFound = 0;
    for (int round = 0; round < 5000; ++round) {
        const std::string text = randomNamesFile(random);
        const auto names = PciNames::parse(text);
        for (const std::uint32_t vendor : {0x7777u, 0x7A7Au, 0x1A17u, 0x0000u}) {
            for (const std::uint32_t device : {0x7777u, 0x7A7Au, 0x1A17u}) {
                const auto expected = lineByLine(text, vendor, device);
                const auto got = names.lookup(vendor, device);
                ASSERT_EQ(got.vendorName, expected.vendorName) << testing::PrintToString(text);
                ASSERT_EQ(got.deviceName, expected.deviceName) << testing::PrintToString(text);
                vendorsFound += expected.vendorName != "Unknow";
                devicesFound += expected.deviceName != "Unknow";
            }
        }
    }
    // The files must exercise the rule, not just miss.
    EXPECT_GT(vendorsFound, 1000);
    EXPECT_GT(devicesFound, 300);
}

TEST(PciDefGenerator, WritesVendorsAndTheirDevicesInUpperCaseAndSkipsTheRest) {
    const auto pciIds = platform::readTextFile(kDataDir + "sample.pci.ids");
    const auto expected = platform::readTextFile(kDataDir + "sample-PCIDef.dat");
    ASSERT_TRUE(pciIds.ok() && expected.ok());
    EXPECT_EQ(tools::pciDefFromPciIds(pciIds.content), expected.content);
}

TEST(PciDefGenerator, ClassListsAfterTheVendorsGiveNoDeviceLines) {
    const std::string out =
        tools::pciDefFromPciIds("8086  Intel\nC 06  Bridge\n\t00  Host bridge\n");
    EXPECT_EQ(out, "V\t8086 Intel\n");
}

TEST(PciDefGenerator, CrLfInputAndMalformedLinesAreHandled) {
    EXPECT_EQ(tools::pciDefFromPciIds("10de  NVIDIA\r\n\t0020  TNT\r\n"),
              "V\t10DE NVIDIA\nD\t0020 TNT\n");
    EXPECT_EQ(tools::pciDefFromPciIds("10d  short\n\t0020  orphan\nzzzz  bad\n"), "");
    EXPECT_EQ(tools::pciDefFromPciIds(""), "");
}

TEST(PciDefGenerator, ItsOutputReadsBackWithTheProgramsRules) {
    const auto pciIds = platform::readTextFile(kDataDir + "sample.pci.ids");
    ASSERT_TRUE(pciIds.ok());
    const auto names = PciNames::parse(tools::pciDefFromPciIds(pciIds.content));
    EXPECT_EQ(names.vendorCount(), 3u);
    EXPECT_EQ(names.lookup(0x10DE, 0x0020).vendorName, " NVIDIA Corporation");
    EXPECT_EQ(names.lookup(0x10DE, 0x0020).deviceName, " NV4 [Riva TNT]");
    EXPECT_EQ(names.lookup(0x0E11, 0x4030).deviceName, "Unknow");  // a subsystem, not a device
}

}  // namespace
}  // namespace veltrane::ident

#include <gtest/gtest.h>

#include <string>

#include "ident/PciNames.h"
#include "pcidef/PciIdsConversion.h"
#include "platform/TextFile.h"

namespace veltrane::ident {
namespace {

const std::string kDataDir = std::string(VELTRANE_TEST_DATA_DIR) + "/pci/";

TEST(PciNames, LookupFollowsTheRulesOfTheNamesFile) {
    const struct {
        const char* why;
        const char* file;
        std::uint32_t vendorId, deviceId;
        const char *vendorName, *deviceName;
    } cases[] = {
        {"any separator becomes the blank", "V\t8086\tIntel\nD\t7190-440BX  \n", 0x8086, 0x7190,
         " Intel", " 440BX  "},
        {"a key without a name", "V\t8086\n", 0x8086, 0, " ", "Unknow"},
        {"CR LF", "V\t10DE NVIDIA\r\nD\t0020 TNT\r\n", 0x10DE, 0x0020, " NVIDIA", " TNT"},
        {"lower-case keys do not match", "V\t10de nvidia\nD\t0020 tnt\n", 0x10DE, 0x0020, "Unknow",
         "Unknow"},
        {"upper-case keys do", "V\t10de lower\nV\t10DE NVIDIA\nD\t00aa x\nD\t00AA NV\n", 0x10de,
         0xaa, " NVIDIA", " NV"},
        {"a device line before its vendor line", "D\t7190 Early\nV\t8086 Intel\nD\t7110 PIIX4\n",
         0x8086, 0x7190, " Intel", "Unknow"},
        {"another vendor's block", "V\t8086 Intel\nD\t7110 PIIX4\nV\t10B9 ALi\nD\t7190 Not Intel\n",
         0x8086, 0x7190, " Intel", "Unknow"},
        {"the first block and device line decide",
         "V\t8086 Intel\nD\t7190 First\nD\t7190 Second\nV\t8086 Again\nD\t7110 Later\n", 0x8086,
         0x7190, " Intel", " First"},
        {"a repeated vendor line opens no block", "V\t8086 Intel\nV\t8086 Again\nD\t7110 Later\n",
         0x8086, 0x7110, " Intel", "Unknow"},
        {"other lines do not end a block",
         "V\t8086 Intel\n# note\nV 8087 no tab\nV\t80ZZ bad\n"
         "V\t80ab low\nv\t8088 low\n\nD\t7190 440BX\n",
         0x8086, 0x7190, " Intel", " 440BX"},
        {"nor are they vendors", "V\t8086 Intel\nV 8087 no tab\n", 0x8087, 0, "Unknow", "Unknow"},
        {"an unknown vendor", "V\t8086 Intel\nD\t7190 440BX", 0x1234, 0x7190, "Unknow", "Unknow"},
        {"an unknown device", "V\t8086 Intel\nD\t7190 440BX", 0x8086, 0x1234, " Intel", "Unknow"},
        {"an id beyond 16 bits", "V\t8086 Intel\nD\t7190 440BX", 0x18086, 0x7190, "Unknow",
         "Unknow"},
    };
    for (const auto& c : cases) {
        const auto names = PciNames::parse(c.file).lookup(c.vendorId, c.deviceId);
        EXPECT_EQ(names.vendorName, c.vendorName) << c.why;
        EXPECT_EQ(names.deviceName, c.deviceName) << c.why;
    }
}

TEST(PciNames, ReadsAFileWithCrLfLineEndsAndAMissingEmptyOrBinaryOneGivesUnknowNames) {
    const auto names = loadPciNamesFrom(kDataDir + "names-crlf.dat");
    EXPECT_EQ(names.lookup(0x8086, 0x7190).vendorName, " Intel Corporation");
    EXPECT_EQ(names.lookup(0x10DE, 0x0020).deviceName, " NV4 [Riva TNT]");
    for (const char* file : {"no-such-file.dat", "empty.dat", "binary.dat"}) {
        const auto none = loadPciNamesFrom(kDataDir + file).lookup(0x8086, 0x7190);
        EXPECT_EQ(none.vendorName + none.deviceName, "UnknowUnknow") << file;
    }
    EXPECT_TRUE(loadPciNamesFrom(kDataDir).empty());  // a folder
}

TEST(PciDefGenerator, WritesVendorsAndTheirDevicesInUpperCaseAndSkipsTheRest) {
    const auto pciIds = platform::readTextFile(kDataDir + "sample.pci.ids");
    const auto expected = platform::readTextFile(kDataDir + "sample-PCIDef.dat");
    ASSERT_TRUE(pciIds.ok() && expected.ok());
    const auto output = tools::pciDefFromPciIds(pciIds.content);
    EXPECT_EQ(output, expected.content);
    // It reads back with the program's rules.
    const auto names = PciNames::parse(output);
    EXPECT_EQ(names.vendorCount(), 3u);
    EXPECT_EQ(names.lookup(0x10DE, 0x0020).deviceName, " NV4 [Riva TNT]");
    EXPECT_EQ(names.lookup(0x0E11, 0x4030).deviceName, "Unknow");  // a subsystem, not a device
}

TEST(PciDefGenerator, ClassListsCrLfAndMalformedLines) {
    EXPECT_EQ(tools::pciDefFromPciIds("8086  Intel\nC 06  Bridge\n\t00  Host bridge\n"),
              "V\t8086 Intel\n");
    EXPECT_EQ(tools::pciDefFromPciIds("10de  NVIDIA\r\n\t0020  TNT\r\n"),
              "V\t10DE NVIDIA\nD\t0020 TNT\n");
    EXPECT_EQ(tools::pciDefFromPciIds("10d  short\n\t0020  orphan\nzzzz  bad\n"), "");
    EXPECT_EQ(tools::pciDefFromPciIds(""), "");
}

}  // namespace
}  // namespace veltrane::ident

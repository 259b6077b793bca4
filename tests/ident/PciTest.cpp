// The driver service stand-in, PCI device list, motherboard page, PCI names and their generator.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "ident/MotherboardPage.h"
#include "ident/PciDeviceList.h"
#include "ident/PciNames.h"
#include "ident/ServiceInstaller.h"
#include "pcidef/PciIdsConversion.h"
#include "platform/TextFile.h"

namespace veltrane::ident {
namespace {

namespace fs = std::filesystem;
using PciRequest = std::pair<std::uint32_t, std::uint32_t>;  // bus, slot
using Functions = std::map<PciRequest, platform::PciConfigSpace>;

// Answers from a table of functions and logs every request it was asked.
struct FakePciReader : platform::PciConfigReader {
    FakePciReader(Functions answers, std::shared_ptr<std::vector<PciRequest>> log)
        : functions(std::move(answers)), requests(std::move(log)) {}
    std::optional<platform::PciConfigSpace> read(std::uint32_t bus, std::uint32_t slot) override {
        requests->emplace_back(bus, slot);
        const auto found = functions.find({bus, slot});
        return found == functions.end() ? std::nullopt : std::make_optional(found->second);
    }
    Functions functions;
    std::shared_ptr<std::vector<PciRequest>> requests;
};

// A configuration header with the fields the program reads.
platform::PciConfigSpace pciConfig(std::uint16_t vendorId, std::uint16_t deviceId,
                                   std::uint8_t revisionId = 0, std::uint8_t latencyTimer = 0) {
    platform::PciConfigSpace config{};
    config[0] = static_cast<std::uint8_t>(vendorId);
    config[1] = static_cast<std::uint8_t>(vendorId >> 8);
    config[2] = static_cast<std::uint8_t>(deviceId);
    config[3] = static_cast<std::uint8_t>(deviceId >> 8);
    config[8] = revisionId;
    config[13] = latencyTimer;
    return config;
}

const char* const kKey = "System\\CurrentControlSet\\Services\\pciinfo";
const char* const kNames =
    "V\t8086 Intel\nD\t7190 440BX Host bridge\nD\t7110 PIIX4 ISA\n"
    "V\t10DE NVIDIA\nD\t0020 Riva TNT\n";

class PciServiceInstaller : public ::testing::Test {
protected:
    // An installer set up for the driver as the device list sets it up.
    std::unique_ptr<ServiceInstaller> installer(std::uint32_t startType = 2) {
        auto made = std::make_unique<ServiceInstaller>(services_);
        made->setup("pciinfo", "PCIINFO", startType, "", false);
        return made;
    }

    platform::InProcessServiceManager services_;
};

TEST_F(PciServiceInstaller, WritesTheSixValuesAndStartsAndStopsTheDriverEvenWhenStopped) {
    EXPECT_TRUE(installer(3)->installInRegistry());
    // Name, type and data of each value, a byte below 32 as its digit.
    std::string values;
    for (const char* name :
         {"Start", "Type", "ErrorControl", "Group", "ImagePath", "DisplayName"}) {
        const auto value = services_.queryValue(kKey, name).value_or(platform::RegistryValue{});
        values += std::string(name) + " " + std::to_string(value.type) + " ";
        for (const std::uint8_t byte : value.data) {
            values += static_cast<char>(byte < 32 ? '0' + byte : byte);
        }
        values += "|";
    }
    EXPECT_EQ(
        values,
        "Start 4 3000|Type 4 1000|ErrorControl 4 1000|Group 1 Extended Base0|"
        "ImagePath 1 \\SystemRoot\\System32\\drivers\\PCIINFO.SYS0|DisplayName 1 pciinfo000|");
    EXPECT_TRUE(installer(2)->installInRegistry());
    EXPECT_EQ(services_.queryValue(kKey, "Start")->data, (std::vector<std::uint8_t>{2, 0, 0, 0}));
    {
        const auto driver = installer();
        EXPECT_TRUE(driver->start());
        EXPECT_FALSE(driver->start());  // already running
        EXPECT_TRUE(driver->stop());
        EXPECT_FALSE(services_.isRunning("pciinfo"));
        EXPECT_TRUE(driver->stop());                 // 1062, not active, counts as stopped
        EXPECT_EQ(services_.openHandleCount(), 1u);  // the manager
    }
    EXPECT_EQ(services_.openHandleCount(), 0u);
}

// Description, names, revision and latency of each device, one line each.
std::vector<std::string> summaries(const std::vector<PciDevice>& devices) {
    std::vector<std::string> lines;
    for (const auto& d : devices) {
        lines.push_back(d.description + "|" + d.vendorName + "|" + d.deviceName + "|" +
                        std::to_string(d.revisionId) + "|" + std::to_string(d.latencyTimer));
    }
    return lines;
}

class PciDeviceListTest : public PciServiceInstaller {
protected:
    // A driver answering from `functions`, or one that cannot be opened, or what `open` gives.
    PciEnvironment environment(
        std::optional<Functions> functions,
        std::function<std::unique_ptr<platform::PciConfigReader>()> open = nullptr) {
        PciEnvironment env;
        env.services = services_;
        env.state = state_;
        env.loadNames = [] { return PciNames::parse(kNames); };
        env.openDriver = open ? open : [functions, requests = requests_] {
            return functions ? std::make_unique<FakePciReader>(*functions, requests) : nullptr;
        };
        return env;
    }

    PciProcessState state_;
    std::shared_ptr<std::vector<PciRequest>> requests_ =
        std::make_shared<std::vector<PciRequest>>();
};

TEST_F(PciDeviceListTest, AsksBusesZeroAndOneFunctionZeroFirstAndListsWhatAnswers) {
    PciDeviceList list(environment(Functions{
        {{1, 0}, pciConfig(0x10DE, 0x0020, 0x15, 0x40)},
        {{0, platform::pciSlot(5, 1)}, pciConfig(0x8086, 0x7110, 2, 0)},
        {{0, platform::pciSlot(7, 0)}, pciConfig(0x1234, 0x5678, 0xAB, 0xF8)},
        {{0, 0}, pciConfig(0x8086, 0x7190, 3, 64)},
    }));
    EXPECT_EQ(summaries(list.devices()),
              (std::vector<std::string>{
                  "Bus 0 Device 0 Func 0 VendorID 0x8086 DeviceID 0x7190| Intel| 440BX Host "
                  "bridge|3|64",
                  "Bus 0 Device 7 Func 0 VendorID 0x1234 DeviceID 0x5678|Unknow|Unknow|171|248",
                  "Bus 0 Device 5 Func 1 VendorID 0x8086 DeviceID 0x7110| Intel| PIIX4 ISA|2|0",
                  "Bus 1 Device 0 Func 0 VendorID 0x10DE DeviceID 0x0020| NVIDIA| Riva TNT|21|64",
              }));
    EXPECT_EQ(requests_->size(), 512u);
}

TEST_F(PciDeviceListTest, RegistersAndStopsTheDriverAndEnumeratesOnlyOnce) {
    const Functions functions{{{0, 0}, pciConfig(0x8086, 0x7190)}};
    PciDeviceList first(environment(functions));
    EXPECT_TRUE(services_.queryValue(kKey, "ImagePath"));
    EXPECT_FALSE(services_.isRunning("pciinfo"));
    EXPECT_EQ(services_.openHandleCount(), 0u);
    // Once per process state: the next list does nothing at all.
    requests_->clear();
    PciDeviceList second(environment(functions));
    EXPECT_TRUE(second.devices().empty() && !second.error() && requests_->empty());
}

TEST_F(PciDeviceListTest, ADriverThatCannotBeOpenedGivesTheMessageAndAnEmptyList) {
    PciDeviceList list(environment(std::nullopt));
    EXPECT_FALSE(services_.isRunning("pciinfo"));
    EXPECT_EQ(services_.openHandleCount(), 0u);
    ASSERT_TRUE(list.error().has_value());
    EXPECT_EQ(list.error()->title + ": " + list.error()->text,
              "Veltrane Error: Unable to access to the device driver: Motherboard informations "
              "unavailable. If this is the first time that you run Veltrane, please try to "
              "restart your PC.");
    EXPECT_TRUE(list.devices().empty());
    // Not enumerated, so the next list tries again.
    PciDeviceList retry(environment(Functions{{{0, 0}, pciConfig(0x8086, 0x7190)}}));
    EXPECT_EQ(retry.devices().size(), 1u);
}

TEST_F(PciDeviceListTest, SysfsListsTheReadableFunctionsOfBusesZeroAndOne) {
    std::string pattern = (fs::temp_directory_path() / "veltrane-pci-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path root = pattern;
    // A function whose config file holds the first `size` bytes of a header.
    const auto addFunction = [&](const std::string& name, std::size_t size) {
        const auto config = pciConfig(0x8086, 0x7110, 7, 32);
        fs::create_directories(root / name);
        std::ofstream(root / name / "config", std::ios::binary)
            .write(reinterpret_cast<const char*>(config.data()),
                   static_cast<std::streamsize>(size));
    };
    addFunction("0000:00:00.0", 256);
    addFunction("0000:01:1f.7", 16);  // a short file
    addFunction("0000:00:02.0", 0);
    fs::create_directories(root / "0000:00:03.0");  // no config file
    fs::create_directories(root / "0000:00:04.0" / "config");
    addFunction("0000:02:00.0", 256);  // bus 2 is not asked by the list
    EXPECT_EQ(platform::openSysfsPciConfig((root / "absent").string()), nullptr);
    const PciDeviceList list(
        environment(std::nullopt, [&] { return platform::openSysfsPciConfig(root.string()); }));
    EXPECT_EQ(summaries(list.devices()),
              (std::vector<std::string>{
                  "Bus 0 Device 0 Func 0 VendorID 0x8086 DeviceID 0x7110| Intel| PIIX4 ISA|7|32",
                  "Bus 1 Device 31 Func 7 VendorID 0x8086 DeviceID 0x7110| Intel| PIIX4 ISA|7|32",
              }));
    fs::remove_all(root);
}

PciDevice device(std::uint16_t vendorId, std::uint16_t deviceId, std::uint8_t revision,
                 std::uint8_t latency, std::uint32_t slot = 0) {
    return pciDeviceFromConfig(0, slot, pciConfig(vendorId, deviceId, revision, latency),
                               PciNames::parse(kNames));
}

// Label, '=', value, '|' after each row, '~' marking a disabled one.
std::string rowsText(const std::vector<LabelledValue>& rows) {
    std::string text;
    for (const auto& row : rows) {
        text += row.label + "=" + row.value + (row.enabled ? "|" : "~|");
    }
    return text;
}

TEST(PciMotherboardPage, TheFirstDeviceFillsTheChipsetAndEachFurtherOneSevenRows) {
    const auto page =
        motherboardPage({device(0x8086, 0x7190, 3, 64), device(0x10DE, 0x0020, 0x15, 0, 37),
                         device(0x1234, 0x5678, 0, 0, 2)});
    EXPECT_EQ(rowsText(page.chipset),
              "NorthBridge installed:= 440BX Host bridge|Manufacturer:= Intel|VendorID:=0x8086|"
              "DeviceID:=0x7190|RevisionID:=0x0003|"
              "HW Definition:=Bus 0 Device 0 Func 0 VendorID 0x8086 DeviceID 0x7190|"
              "PCI Latency:=64 Cycles|");
    std::string others;
    for (const auto& row : page.otherDevices) {
        others += row.item + "=" + row.description + "|";
    }
    EXPECT_EQ(others.substr(0, 180),
              "PCI Device List=|=|HW Definition=Bus 0 Device 5 Func 1 VendorID 0x10DE DeviceID "
              "0x0020|Device Name= Riva TNT|Manufacturer= NVIDIA|VendorID=0x10DE|"
              "DeviceID=0x0020|RevisionID=0x0015|");
    EXPECT_EQ(page.otherDevices.size(), 15u);

    const auto empty = motherboardPage({});
    EXPECT_EQ(rowsText(empty.chipset) + std::to_string(empty.otherDevices.size()),
              "NorthBridge installed:=|Manufacturer:=|VendorID:=|DeviceID:=|RevisionID:=|"
              "HW Definition:=|PCI Latency:=|0");
}

// This machine: without a PCI bus in sysfs the message comes instead; with one,
// every function of buses 0 and 1 is listed.
TEST_F(PciDeviceListTest, EnumeratesThisMachinesBusesZeroAndOne) {
    PciDeviceList list(environment(std::nullopt, [] { return platform::openSysfsPciConfig(); }));
    std::size_t expected = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(platform::kSysfsPciDevices, error)) {
        const auto name = entry.path().filename().string();
        expected += name.starts_with("0000:00:") || name.starts_with("0000:01:") ? 1u : 0u;
    }
    EXPECT_EQ(list.devices().size(), expected);
    EXPECT_EQ(list.error().has_value(), !fs::is_directory(platform::kSysfsPciDevices));
}

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
        {"an id beyond 16 bits", "V\t8086 Intel\nD\t7190 440BX", 0x18086, 0x7190, "Unknow",
         "Unknow"},
    };
    for (const auto& c : cases) {
        const auto names = PciNames::parse(c.file).lookup(c.vendorId, c.deviceId);
        EXPECT_EQ(names.vendorName, c.vendorName) << c.why;
        EXPECT_EQ(names.deviceName, c.deviceName) << c.why;
    }
}

TEST(PciNames, FilesWithCrLfOrDamagedAndTheGeneratorKeepingVendorsAndDevicesOnly) {
    EXPECT_EQ(loadPciNamesFrom(kDataDir + "names-crlf.dat").lookup(0x10DE, 0x0020).deviceName,
              " NV4 [Riva TNT]");
    for (const char* file : {"no-such-file.dat", "empty.dat", "binary.dat"}) {
        const auto none = loadPciNamesFrom(kDataDir + file).lookup(0x8086, 0x7190);
        EXPECT_EQ(none.vendorName + none.deviceName, "UnknowUnknow") << file;
    }
    EXPECT_TRUE(loadPciNamesFrom(kDataDir).empty());  // a folder
    const auto pciIds = platform::readTextFile(kDataDir + "sample.pci.ids");
    const auto expected = platform::readTextFile(kDataDir + "sample-PCIDef.dat");
    ASSERT_TRUE(pciIds.ok() && expected.ok());
    EXPECT_EQ(tools::pciDefFromPciIds(pciIds.content), expected.content);
    EXPECT_EQ(tools::pciDefFromPciIds("10de  NVIDIA\r\n\t0020  TNT\r\n"),
              "V\t10DE NVIDIA\nD\t0020 TNT\n");
    EXPECT_EQ(tools::pciDefFromPciIds("10d  short\n\t0020  orphan\nzzzz  bad\n"), "");
}

}  // namespace
}  // namespace veltrane::ident

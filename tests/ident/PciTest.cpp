#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "PciFakes.h"
#include "ident/MotherboardPage.h"
#include "ident/PciDeviceList.h"

namespace veltrane::ident {
namespace {

namespace fs = std::filesystem;
using test::pciConfig;
using test::PciRequest;
using Functions = std::map<PciRequest, platform::PciConfigSpace>;

const char* const kNames =
    "V\t8086 Intel\nD\t7190 440BX Host bridge\nD\t7110 PIIX4 ISA\n"
    "V\t10DE NVIDIA\nD\t0020 Riva TNT\n";

// Description, names, revision and latency of each device, one line each.
std::vector<std::string> summaries(const std::vector<PciDevice>& devices) {
    std::vector<std::string> lines;
    for (const auto& d : devices) {
        lines.push_back(d.description + "|" + d.vendorName + "|" + d.deviceName + "|" +
                        std::to_string(d.revisionId) + "|" + std::to_string(d.latencyTimer));
    }
    return lines;
}

PciEnvironment pciEnvironment(platform::ServiceManager& services, PciProcessState& state,
                              std::function<std::unique_ptr<platform::PciConfigReader>()> open) {
    PciEnvironment env;
    env.services = services;
    env.state = state;
    env.loadNames = [] { return PciNames::parse(kNames); };
    env.openDriver = std::move(open);
    return env;
}

class PciDeviceListTest : public ::testing::Test {
protected:
    // An environment whose driver answers from `functions`, or cannot be opened.
    PciEnvironment environment(std::optional<Functions> functions) {
        return pciEnvironment(services_, state_, [functions, requests = requests_] {
            return functions ? std::make_unique<test::FakePciReader>(*functions, requests)
                             : nullptr;
        });
    }

    test::RecordingServiceManager services_;
    PciProcessState state_;
    std::shared_ptr<std::vector<PciRequest>> requests_ =
        std::make_shared<std::vector<PciRequest>>();
};

TEST_F(PciDeviceListTest, AsksBusZeroThenOneWithAllDevicesOfFunctionZeroFirst) {
    PciDeviceList list(environment(Functions{}));
    ASSERT_EQ(requests_->size(), 512u);
    EXPECT_EQ((*requests_)[31], PciRequest(0, platform::pciSlot(31, 0)));
    EXPECT_EQ((*requests_)[32], PciRequest(0, platform::pciSlot(0, 1)));
    EXPECT_EQ((*requests_)[256], PciRequest(1, 0));
    EXPECT_TRUE(list.devices().empty());
}

TEST_F(PciDeviceListTest, ListsAnsweringFunctionsInEnumerationOrderWithTheirFields) {
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
}

TEST_F(PciDeviceListTest, RegistersStartsAndStopsTheDriverAroundTheEnumerationOnlyOnce) {
    const Functions functions{{{0, 0}, pciConfig(0x8086, 0x7190)}};
    PciDeviceList first(environment(functions));
    ASSERT_EQ(first.devices().size(), 1u);
    EXPECT_EQ(services_.calls,
              (std::vector<std::string>{"openManager", "startService", "stopService"}));
    EXPECT_TRUE(services_.queryValue("System\\CurrentControlSet\\Services\\pciinfo", "ImagePath"));
    EXPECT_FALSE(services_.isRunning("pciinfo"));
    EXPECT_EQ(services_.openHandleCount(), 0u);
    // Once per process state: the next list does nothing at all.
    services_.calls.clear();
    requests_->clear();
    PciDeviceList second(environment(functions));
    EXPECT_TRUE(second.devices().empty());
    EXPECT_FALSE(second.error().has_value());
    EXPECT_TRUE(services_.calls.empty() && requests_->empty());
}

TEST_F(PciDeviceListTest, ADriverThatCannotBeOpenedGivesTheMessageAndAnEmptyList) {
    PciDeviceList list(environment(std::nullopt));
    EXPECT_FALSE(services_.isRunning("pciinfo"));
    ASSERT_TRUE(list.error().has_value());
    EXPECT_EQ(list.error()->title, "Veltrane Error");
    EXPECT_EQ(list.error()->text,
              "Unable to access to the device driver: Motherboard informations unavailable. If "
              "this is the first time that you run Veltrane, please try to restart your PC.");
    EXPECT_TRUE(list.devices().empty());
    EXPECT_EQ(services_.openHandleCount(), 0u);  // the installer closed its manager
    // Not enumerated, so the next list tries again.
    PciDeviceList retry(environment(Functions{{{0, 0}, pciConfig(0x8086, 0x7190)}}));
    EXPECT_EQ(retry.devices().size(), 1u);
}

TEST(PciSysfsReader, ReadsTheFirst256BytesZerosWhatTheUserMayNotReadAndFailsTheRest) {
    std::string pattern = (fs::temp_directory_path() / "veltrane-pci-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path root = pattern;
    // A function whose config file holds `size` bytes: a header, then 0x5A.
    const auto addFunction = [&](const std::string& name, std::size_t size,
                                 std::uint16_t deviceId = 0x7190) {
        const auto config = pciConfig(0x8086, deviceId, 7, 32);
        std::string bytes(size, '\x5A');
        std::copy_n(config.begin(), std::min<std::size_t>(16, size), bytes.begin());
        fs::create_directories(root / name);
        std::ofstream(root / name / "config", std::ios::binary) << bytes;
    };
    addFunction("0000:00:00.0", 4096);
    addFunction("0000:01:1f.7", 64, 0x7110);  // a short file
    addFunction("0000:00:02.0", 0);
    fs::create_directories(root / "0000:00:03.0");  // no config file
    fs::create_directories(root / "0000:00:04.0" / "config");
    addFunction("0000:02:00.0", 256);  // bus 2 is not asked by the list
    platform::SysfsPciConfigReader reader(root.string());
    const auto full = reader.read(0, 0).value();
    EXPECT_EQ((std::vector<int>{full[0], full[1], full[8], full[255]}),
              (std::vector<int>{0x86, 0x80, 7, 0x5A}));
    const auto shortFile = reader.read(1, platform::pciSlot(31, 7)).value();
    EXPECT_EQ((std::vector<int>{shortFile[63], shortFile[64], shortFile[255]}),
              (std::vector<int>{0x5A, 0, 0}));
    for (const std::uint32_t slot : {1u, 2u, 3u, 4u, 256u}) {  // 256: the higher bits must be 0
        EXPECT_FALSE(reader.read(0, slot).has_value()) << slot;
    }
    EXPECT_FALSE(reader.read(256, 0).has_value());
    EXPECT_EQ(platform::openSysfsPciConfig((root / "absent").string()), nullptr);

    test::RecordingServiceManager services;
    PciProcessState state;
    const PciDeviceList list(pciEnvironment(
        services, state, [&] { return platform::openSysfsPciConfig(root.string()); }));
    EXPECT_EQ(platform::sysfsPciName(1, platform::pciSlot(31, 7)), "0000:01:1f.7");
    EXPECT_EQ(summaries(list.devices()).back(),
              "Bus 1 Device 31 Func 7 VendorID 0x8086 DeviceID 0x7110| Intel| PIIX4 ISA|7|32");
    fs::remove_all(root);
}

PciDevice device(std::uint16_t vendorId, std::uint16_t deviceId, std::uint8_t revision,
                 std::uint8_t latency, std::uint32_t slot = 0) {
    return pciDeviceFromConfig(0, slot, pciConfig(vendorId, deviceId, revision, latency),
                               PciNames::parse(kNames));
}

// Label or item, '=', value or description, '|' after each row.
template <typename Row>
std::string rowsText(const std::vector<Row>& rows, std::size_t first = 0,
                     std::size_t end = ~std::size_t{0}) {
    std::string text;
    for (std::size_t i = first; i < rows.size() && i < end; ++i) {
        if constexpr (std::is_same_v<Row, LabelledValue>) {
            text += rows[i].label + "=" + rows[i].value + (rows[i].enabled ? "|" : " (off)|");
        } else {
            text += rows[i].item + "=" + rows[i].description + "|";
        }
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
    ASSERT_EQ(page.otherDevices.size(), 15u);
    EXPECT_EQ(rowsText(page.otherDevices, 0, 8),
              "PCI Device List=|=|HW Definition=Bus 0 Device 5 Func 1 VendorID 0x10DE DeviceID "
              "0x0020|Device Name= Riva TNT|Manufacturer= NVIDIA|VendorID=0x10DE|"
              "DeviceID=0x0020|RevisionID=0x0015|");
    EXPECT_EQ(page.otherDevices[10].description, "Unknow");
    EXPECT_EQ(motherboardPage({device(1, 2, 3, 4)}).otherDevices.size(), 1u);  // the title row
}

TEST(PciMotherboardPage, AnEmptyListFillsNothingAndTheMotherboardGroupIsDisabled) {
    const auto page = motherboardPage({});
    EXPECT_TRUE(page.otherDevices.empty());
    EXPECT_EQ(rowsText(page.chipset),
              "NorthBridge installed:=|Manufacturer:=|VendorID:=|DeviceID:=|RevisionID:=|"
              "HW Definition:=|PCI Latency:=|");
    EXPECT_EQ(rowsText(page.motherboardSpecific),
              "Model:= (off)|Manufacturer:= (off)|Serial Number:= (off)|BIOS:= (off)|"
              "EEPROM:= (off)|PLL:= (off)|");
}

// This machine: what any Linux machine gives. Without a PCI bus in sysfs the
// message comes instead; with one, every function of buses 0 and 1 is listed.
TEST(PciMachine, EnumeratesThisMachinesBusesZeroAndOne) {
    platform::InProcessServiceManager services;
    PciProcessState state;
    PciEnvironment env;
    env.services = services;
    env.state = state;
    PciDeviceList list(env);
    if (!fs::is_directory(platform::kSysfsPciDevices)) {
        EXPECT_TRUE(list.error().has_value());
        return;
    }
    std::size_t expected = 0;
    for (const auto& entry : fs::directory_iterator(platform::kSysfsPciDevices)) {
        const auto name = entry.path().filename().string();
        expected += name.rfind("0000:00:", 0) == 0 || name.rfind("0000:01:", 0) == 0 ? 1u : 0u;
    }
    EXPECT_EQ(list.devices().size(), expected);
}

// The generated file beside the programs, when the build found pci.ids.
TEST(PciMachine, TheBuiltNamesFileKnowsIntelWhenItIsNotEmpty) {
    const auto names = loadPciNames();
    if (names.empty()) {
        GTEST_SKIP() << "PCIDef.dat is empty or missing (no pci.ids at build time)";
    }
    EXPECT_EQ(names.lookup(0x8086, 0x7190).vendorName, " Intel Corporation");
    EXPECT_EQ(names.lookup(0x8086, 0x7190).deviceName, " 440BX/ZX/DX - 82443BX/ZX/DX Host bridge");
}

}  // namespace
}  // namespace veltrane::ident

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
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
using Opener = std::function<std::unique_ptr<platform::PciConfigReader>()>;

const char* const kNames =
    "V\t8086 Intel\nD\t7190 440BX Host bridge\nD\t7110 PIIX4 ISA\n"
    "V\t10DE NVIDIA\nD\t0020 Riva TNT\n";

PciEnvironment pciEnvironment(platform::ServiceManager& services, PciProcessState& state,
                              Opener openDriver) {
    PciEnvironment env;
    env.services = services;
    env.state = state;
    env.loadNames = [] { return PciNames::parse(kNames); };
    env.openDriver = std::move(openDriver);
    return env;
}

TEST(PciSlots, SlotIndexThirtySevenIsDeviceFiveFunctionOne) {
    EXPECT_EQ(pciSlotIndex(37).device, 5u);
    EXPECT_EQ(pciSlotIndex(37).function, 1u);
    EXPECT_EQ(platform::pciSlot(5, 1), 37u);
    EXPECT_EQ(platform::sysfsPciName(0, 37), "0000:00:05.1");
    EXPECT_EQ(platform::sysfsPciName(1, platform::pciSlot(31, 7)), "0000:01:1f.7");
}

class PciDeviceListTest : public ::testing::Test {
protected:
    // An environment whose driver answers from `functions`.
    PciEnvironment environment(std::map<PciRequest, platform::PciConfigSpace> functions) {
        return pciEnvironment(services_, state_, [functions, requests = requests_] {
            return std::make_unique<test::FakePciReader>(functions, requests);
        });
    }

    test::RecordingServiceManager services_;
    PciProcessState state_;
    std::shared_ptr<std::vector<PciRequest>> requests_ =
        std::make_shared<std::vector<PciRequest>>();
};

TEST_F(PciDeviceListTest, AsksBusZeroThenOneWithAllDevicesOfFunctionZeroFirst) {
    PciDeviceList list(environment({}));
    ASSERT_EQ(requests_->size(), 512u);
    EXPECT_EQ((*requests_)[31], PciRequest(0, platform::pciSlot(31, 0)));
    EXPECT_EQ((*requests_)[32], PciRequest(0, platform::pciSlot(0, 1)));
    EXPECT_EQ((*requests_)[256], PciRequest(1, 0));
    EXPECT_TRUE(list.devices().empty());
    EXPECT_TRUE(state_.pciEnumerated);
}

TEST_F(PciDeviceListTest, ListsAnsweringFunctionsInEnumerationOrderWithTheirFields) {
    PciDeviceList list(environment({
        {{1, 0}, pciConfig(0x10DE, 0x0020, 0x15, 0x40)},
        {{0, platform::pciSlot(5, 1)}, pciConfig(0x8086, 0x7110, 2, 0)},
        {{0, platform::pciSlot(7, 0)}, pciConfig(0x1234, 0x5678, 0xAB, 0xF8)},
        {{0, 0}, pciConfig(0x8086, 0x7190, 3, 64)},
    }));
    const auto& devices = list.devices();
    ASSERT_EQ(devices.size(), 4u);
    EXPECT_EQ(devices[0].description, "Bus 0 Device 0 Func 0 VendorID 0x8086 DeviceID 0x7190");
    EXPECT_EQ(devices[0].vendorName, " Intel");
    EXPECT_EQ(devices[1].description, "Bus 0 Device 7 Func 0 VendorID 0x1234 DeviceID 0x5678");
    EXPECT_EQ(devices[1].vendorName, "Unknow");
    EXPECT_EQ(devices[1].revisionId, 0xABu);
    EXPECT_EQ(devices[1].latencyTimer, 0xF8u);
    EXPECT_EQ(devices[2].description, "Bus 0 Device 5 Func 1 VendorID 0x8086 DeviceID 0x7110");
    EXPECT_EQ(devices[3].description, "Bus 1 Device 0 Func 0 VendorID 0x10DE DeviceID 0x0020");
    EXPECT_EQ(devices[3].deviceName, " Riva TNT");
}

TEST_F(PciDeviceListTest, RegistersStartsAndStopsTheDriverAroundTheEnumerationOnlyOnce) {
    const auto functions =
        std::map<PciRequest, platform::PciConfigSpace>{{{0, 0}, pciConfig(0x8086, 0x7190)}};
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
    EXPECT_TRUE(services_.calls.empty());
    EXPECT_TRUE(requests_->empty());
}

TEST_F(PciDeviceListTest, ADriverThatCannotBeOpenedGivesTheMessageAndAnEmptyList) {
    PciDeviceList list(pciEnvironment(services_, state_, [] { return nullptr; }));
    ASSERT_TRUE(list.error().has_value());
    EXPECT_EQ(list.error()->title, "Veltrane Error");
    EXPECT_EQ(list.error()->text,
              "Unable to access to the device driver: Motherboard informations unavailable. If "
              "this is the first time that you run Veltrane, please try to restart your PC.");
    EXPECT_TRUE(list.devices().empty());
    EXPECT_FALSE(state_.pciEnumerated);
    EXPECT_EQ(services_.openHandleCount(), 0u);  // the installer closed its manager

    // Not enumerated, so the next list tries again.
    PciDeviceList retry(environment({{{0, 0}, pciConfig(0x8086, 0x7190)}}));
    EXPECT_EQ(retry.devices().size(), 1u);
    EXPECT_TRUE(state_.pciEnumerated);
}

// A sysfs devices folder made of plain files.
class PciSysfsReader : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "veltrane-pci-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override {
        std::error_code error;
        fs::remove_all(root_, error);
    }

    // A function whose config file holds `size` bytes: a header, then 0x5A.
    void addFunction(const std::string& name, std::size_t size, std::uint16_t vendorId = 0x8086,
                     std::uint16_t deviceId = 0x7190) {
        const auto config = pciConfig(vendorId, deviceId, 7, 32);
        std::string bytes(size, '\x5A');
        for (std::size_t i = 0; i < 16 && i < size; ++i) {
            bytes[i] = static_cast<char>(config[i]);
        }
        fs::create_directories(root_ / name);
        std::ofstream(root_ / name / "config", std::ios::binary) << bytes;
    }

    fs::path root_;
};

TEST_F(PciSysfsReader, ReadsTheFirst256BytesZerosWhatTheUserMayNotReadAndFailsTheRest) {
    addFunction("0000:00:00.0", 4096);
    addFunction("0000:01:1f.7", 64, 0x8086, 0x7110);  // a short file
    addFunction("0000:00:02.0", 0);
    fs::create_directories(root_ / "0000:00:03.0");  // no config file
    fs::create_directories(root_ / "0000:00:04.0" / "config");
    addFunction("0000:02:00.0", 256);  // bus 2 is not asked by the list
    platform::SysfsPciConfigReader reader(root_.string());
    const auto full = reader.read(0, 0);
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ((*full)[0], 0x86);
    EXPECT_EQ((*full)[1], 0x80);
    EXPECT_EQ((*full)[8], 7);
    EXPECT_EQ((*full)[255], 0x5A);
    const auto shortFile = reader.read(1, platform::pciSlot(31, 7));
    ASSERT_TRUE(shortFile.has_value());
    EXPECT_EQ((*shortFile)[63], 0x5A);
    EXPECT_EQ((*shortFile)[64], 0);
    EXPECT_EQ((*shortFile)[255], 0);
    for (const std::uint32_t slot : {1u, 2u, 3u, 4u, 256u}) {  // 256: the higher bits must be 0
        EXPECT_FALSE(reader.read(0, slot).has_value()) << slot;
    }
    EXPECT_FALSE(reader.read(256, 0).has_value());
    EXPECT_EQ(platform::openSysfsPciConfig((root_ / "absent").string()), nullptr);

    // The device list over the same folder.
    test::RecordingServiceManager services;
    PciProcessState state;
    PciDeviceList list(pciEnvironment(
        services, state, [this] { return platform::openSysfsPciConfig(root_.string()); }));
    ASSERT_EQ(list.devices().size(), 2u);
    EXPECT_EQ(list.devices()[1].description,
              "Bus 1 Device 31 Func 7 VendorID 0x8086 DeviceID 0x7110");
    EXPECT_EQ(list.devices()[1].latencyTimer, 32u);
}

PciDevice device(std::uint16_t vendorId, std::uint16_t deviceId, std::uint8_t revision,
                 std::uint8_t latency, std::uint32_t slot = 0) {
    return pciDeviceFromConfig(0, slot, pciConfig(vendorId, deviceId, revision, latency),
                               PciNames::parse(kNames));
}

std::vector<std::string> valuesOf(const std::vector<LabelledValue>& rows) {
    std::vector<std::string> values;
    for (const auto& row : rows) {
        values.push_back(row.value);
    }
    return values;
}

TEST(PciMotherboardPage, OneDeviceFillsTheChipsetAndTheListHoldsOnlyItsTitleRow) {
    const auto page = motherboardPage({device(0x8086, 0x7190, 3, 64)});
    EXPECT_EQ(valuesOf(page.chipset),
              (std::vector<std::string>{
                  " 440BX Host bridge", " Intel", "0x8086", "0x7190", "0x0003",
                  "Bus 0 Device 0 Func 0 VendorID 0x8086 DeviceID 0x7190", "64 Cycles"}));
    ASSERT_EQ(page.otherDevices.size(), 1u);
    EXPECT_EQ(page.otherDevices[0].item, "PCI Device List");
    EXPECT_EQ(page.otherDevices[0].description, "");
}

TEST(PciMotherboardPage, EachFurtherDeviceGetsSevenRows) {
    const auto page =
        motherboardPage({device(0x8086, 0x7190, 3, 64), device(0x10DE, 0x0020, 0x15, 0, 37),
                         device(0x1234, 0x5678, 0, 0, 2)});
    ASSERT_EQ(page.otherDevices.size(), 15u);
    EXPECT_EQ(page.otherDevices[1].item, "");
    EXPECT_EQ(page.otherDevices[2].description,
              "Bus 0 Device 5 Func 1 VendorID 0x10DE DeviceID 0x0020");
    EXPECT_EQ(page.otherDevices[3].description, " Riva TNT");
    EXPECT_EQ(page.otherDevices[4].description, " NVIDIA");
    EXPECT_EQ(page.otherDevices[7].item, "RevisionID");
    EXPECT_EQ(page.otherDevices[7].description, "0x0015");
    EXPECT_EQ(page.otherDevices[10].description, "Unknow");
}

TEST(PciMotherboardPage, AnEmptyListFillsNothingAndTheMotherboardGroupIsDisabled) {
    const auto page = motherboardPage({});
    EXPECT_TRUE(page.otherDevices.empty());
    EXPECT_EQ(valuesOf(page.chipset), std::vector<std::string>(7));
    ASSERT_FALSE(page.motherboardSpecific.empty());
    for (const auto& row : page.motherboardSpecific) {
        EXPECT_FALSE(row.enabled) << row.label;
        EXPECT_EQ(row.value, "") << row.label;
    }
}

// This machine: what any Linux machine gives. Without a PCI bus in sysfs the
// message comes instead; with one, every function of buses 0 and 1 is listed.
TEST(PciMachine, EnumeratesThisMachinesBusesZeroAndOneQuickly) {
    platform::InProcessServiceManager services;
    PciProcessState state;
    PciEnvironment env;
    env.services = services;
    env.state = state;
    const auto started = std::chrono::steady_clock::now();
    PciDeviceList list(env);
    const auto elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    std::printf("enumerated %zu PCI functions with names in %.1f ms\n", list.devices().size(),
                elapsed);
    RecordProperty("elapsed_ms", static_cast<int>(elapsed));
    EXPECT_LT(elapsed, 2000.0);  // loose: sanitizer builds run several times slower
    if (!fs::is_directory(platform::kSysfsPciDevices)) {
        EXPECT_TRUE(list.error().has_value());
        return;
    }
    std::size_t expected = 0;
    for (const auto& entry : fs::directory_iterator(platform::kSysfsPciDevices)) {
        const auto name = entry.path().filename().string();
        if (name.rfind("0000:00:", 0) == 0 || name.rfind("0000:01:", 0) == 0) {
            ++expected;
        }
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

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
#include "platform/DataFiles.h"

namespace veltrane::ident {
namespace {

namespace fs = std::filesystem;
using test::pciConfig;
using test::PciRequest;

const char* const kNames =
    "V\t8086 Intel\nD\t7190 440BX Host bridge\nD\t7110 PIIX4 ISA\n"
    "V\t10DE NVIDIA\nD\t0020 Riva TNT\n";

const char* const kDriverMessage =
    "Unable to access to the device driver: Motherboard informations unavailable. If this is "
    "the first time that you run Veltrane, please try to restart your PC.";

TEST(PciSlots, SlotIndexThirtySevenIsDeviceFiveFunctionOne) {
    EXPECT_EQ(pciSlotIndex(37).device, 5u);
    EXPECT_EQ(pciSlotIndex(37).function, 1u);
    EXPECT_EQ(platform::pciSlot(5, 1), 37u);
    EXPECT_EQ(platform::pciSlotDevice(37), 5u);
    EXPECT_EQ(platform::pciSlotFunction(37), 1u);
    EXPECT_EQ(platform::sysfsPciName(0, 37), "0000:00:05.1");
    EXPECT_EQ(platform::sysfsPciName(1, platform::pciSlot(31, 7)), "0000:01:1f.7");
}

class PciDeviceListTest : public ::testing::Test {
protected:
    // An environment whose driver answers from `functions`.
    PciEnvironment environment(std::map<PciRequest, platform::PciConfigSpace> functions) {
        PciEnvironment env;
        env.services = services_;
        env.state = state_;
        env.loadNames = [this] {
            ++namesLoads_;
            return PciNames::parse(kNames);
        };
        env.openDriver = [functions, requests = requests_] {
            return std::make_unique<test::FakePciReader>(functions, requests);
        };
        return env;
    }

    PciEnvironment failingEnvironment() {
        auto env = environment({});
        env.openDriver = [] { return std::unique_ptr<platform::PciConfigReader>(); };
        return env;
    }

    test::RecordingServiceManager services_;
    PciProcessState state_;
    std::shared_ptr<std::vector<PciRequest>> requests_ =
        std::make_shared<std::vector<PciRequest>>();
    int namesLoads_ = 0;
};

TEST_F(PciDeviceListTest, AsksBusZeroThenOneWithAllDevicesOfFunctionZeroFirst) {
    PciDeviceList list(environment({}));
    ASSERT_EQ(requests_->size(), 512u);
    EXPECT_EQ((*requests_)[0], PciRequest(0, 0));
    EXPECT_EQ((*requests_)[31], PciRequest(0, platform::pciSlot(31, 0)));
    EXPECT_EQ((*requests_)[32], PciRequest(0, platform::pciSlot(0, 1)));
    EXPECT_EQ((*requests_)[37], PciRequest(0, platform::pciSlot(5, 1)));
    EXPECT_EQ((*requests_)[255], PciRequest(0, platform::pciSlot(31, 7)));
    EXPECT_EQ((*requests_)[256], PciRequest(1, 0));
    EXPECT_TRUE(list.devices().empty());
    EXPECT_FALSE(list.error().has_value());
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
    EXPECT_EQ(devices[0].deviceName, " 440BX Host bridge");
    EXPECT_EQ(devices[0].vendorName, " Intel");
    EXPECT_EQ(devices[0].revisionId, 3u);
    EXPECT_EQ(devices[0].latencyTimer, 64u);
    EXPECT_EQ(devices[1].description, "Bus 0 Device 7 Func 0 VendorID 0x1234 DeviceID 0x5678");
    EXPECT_EQ(devices[1].vendorName, "Unknow");
    EXPECT_EQ(devices[1].deviceName, "Unknow");
    EXPECT_EQ(devices[1].revisionId, 0xABu);
    EXPECT_EQ(devices[1].latencyTimer, 0xF8u);
    EXPECT_EQ(devices[2].description, "Bus 0 Device 5 Func 1 VendorID 0x8086 DeviceID 0x7110");
    EXPECT_EQ(devices[2].deviceName, " PIIX4 ISA");
    EXPECT_EQ(devices[3].description, "Bus 1 Device 0 Func 0 VendorID 0x10DE DeviceID 0x0020");
    EXPECT_EQ(devices[3].vendorId, 0x10DEu);
    EXPECT_EQ(devices[3].deviceId, 0x0020u);
    EXPECT_EQ(devices[3].deviceName, " Riva TNT");
}

TEST_F(PciDeviceListTest, RegistersStartsAndStopsTheDriverAroundTheEnumeration) {
    PciDeviceList list(environment({{{0, 0}, pciConfig(0x8086, 0x7190)}}));
    const std::vector<std::string> expected{
        "openManager",
        "createKey System\\CurrentControlSet\\Services\\pciinfo",
        "setValue Start",
        "setValue Type",
        "setValue ErrorControl",
        "setValue Group",
        "setValue ImagePath",
        "setValue DisplayName",
        "closeKey",
        "openService pciinfo",
        "startService",
        "closeServiceHandle",
        "openService pciinfo",
        "stopService",
        "closeServiceHandle",
        "closeServiceHandle",
    };
    EXPECT_EQ(services_.calls, expected);
    EXPECT_FALSE(services_.isRunning("pciinfo"));
    EXPECT_EQ(services_.openHandleCount(), 0u);
    EXPECT_TRUE(services_.queryValue(expected[1].substr(10), "ImagePath").has_value());
}

TEST_F(PciDeviceListTest, RunsOncePerProcessState) {
    PciDeviceList first(environment({{{0, 0}, pciConfig(0x8086, 0x7190)}}));
    ASSERT_EQ(first.devices().size(), 1u);
    services_.calls.clear();
    requests_->clear();
    PciDeviceList second(environment({{{0, 0}, pciConfig(0x8086, 0x7190)}}));
    EXPECT_TRUE(second.devices().empty());
    EXPECT_FALSE(second.error().has_value());
    EXPECT_TRUE(services_.calls.empty());
    EXPECT_TRUE(requests_->empty());
    EXPECT_EQ(namesLoads_, 1);
}

TEST_F(PciDeviceListTest, ADriverThatCannotBeOpenedGivesTheMessageAndAnEmptyList) {
    PciDeviceList list(failingEnvironment());
    ASSERT_TRUE(list.error().has_value());
    EXPECT_EQ(list.error()->title, "Veltrane Error");
    EXPECT_EQ(list.error()->text, kDriverMessage);
    EXPECT_TRUE(list.devices().empty());
    EXPECT_FALSE(state_.pciEnumerated);
    EXPECT_EQ(services_.openHandleCount(), 0u);  // the installer closed its manager

    // Not enumerated, so the next list tries again.
    PciDeviceList retry(environment({{{0, 0}, pciConfig(0x8086, 0x7190)}}));
    EXPECT_FALSE(retry.error().has_value());
    EXPECT_EQ(retry.devices().size(), 1u);
    EXPECT_TRUE(state_.pciEnumerated);
}

TEST_F(PciDeviceListTest, AServiceManagerThatCannotBeOpenedDoesNotStopTheEnumeration) {
    services_.failOpenManager = true;
    PciDeviceList list(environment({{{0, 0}, pciConfig(0x8086, 0x7190)}}));
    EXPECT_EQ(list.devices().size(), 1u);
    EXPECT_TRUE(state_.pciEnumerated);
}

TEST_F(PciDeviceListTest, NamesThatCannotBeReadGiveUnknow) {
    auto env = environment({{{0, 0}, pciConfig(0x8086, 0x7190)}});
    env.loadNames = [] { return PciNames::parse(std::string("V\t8086 Intel\n\0", 14)); };
    PciDeviceList list(env);
    ASSERT_EQ(list.devices().size(), 1u);
    EXPECT_EQ(list.devices()[0].vendorName, "Unknow");
    EXPECT_EQ(list.devices()[0].deviceName, "Unknow");
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

    void addFunction(const std::string& name, const std::string& bytes) {
        fs::create_directories(root_ / name);
        std::ofstream(root_ / name / "config", std::ios::binary) << bytes;
    }

    static std::string header(std::size_t size, std::uint16_t vendorId, std::uint16_t deviceId) {
        const auto config = pciConfig(vendorId, deviceId, 7, 32);
        std::string bytes(size, '\x5A');
        for (std::size_t i = 0; i < 16 && i < size; ++i) {
            bytes[i] = static_cast<char>(config[i]);
        }
        return bytes;
    }

    fs::path root_;
};

TEST_F(PciSysfsReader, ReadsTheFirst256BytesOfAFunctionsConfigFile) {
    addFunction("0000:01:1f.7", header(4096, 0x8086, 0x7190));
    platform::SysfsPciConfigReader reader(root_.string());
    const auto config = reader.read(1, platform::pciSlot(31, 7));
    ASSERT_TRUE(config.has_value());
    EXPECT_EQ((*config)[0], 0x86);
    EXPECT_EQ((*config)[1], 0x80);
    EXPECT_EQ((*config)[8], 7);
    EXPECT_EQ((*config)[255], 0x5A);
}

TEST_F(PciSysfsReader, BytesTheUserMayNotReadAreZero) {
    addFunction("0000:00:05.1", header(64, 0x10DE, 0x0020));
    platform::SysfsPciConfigReader reader(root_.string());
    const auto config = reader.read(0, 37);
    ASSERT_TRUE(config.has_value());
    EXPECT_EQ((*config)[63], 0x5A);
    EXPECT_EQ((*config)[64], 0);
    EXPECT_EQ((*config)[255], 0);
}

TEST_F(PciSysfsReader, AnAbsentOrUnreadableFunctionIsAFailedRequest) {
    addFunction("0000:00:00.0", header(256, 0x8086, 0x7190));
    addFunction("0000:00:02.0", "");
    fs::create_directories(root_ / "0000:00:03.0");  // no config file
    fs::create_directories(root_ / "0000:00:04.0" / "config");
    platform::SysfsPciConfigReader reader(root_.string());
    EXPECT_TRUE(reader.read(0, 0).has_value());
    EXPECT_FALSE(reader.read(0, 1).has_value());
    EXPECT_FALSE(reader.read(0, 2).has_value());
    EXPECT_FALSE(reader.read(0, 3).has_value());
    EXPECT_FALSE(reader.read(0, 4).has_value());
    EXPECT_FALSE(reader.read(256, 0).has_value());
    EXPECT_FALSE(reader.read(0, 256).has_value());  // the slot's higher bits must be 0
}

TEST_F(PciSysfsReader, AMissingDevicesFolderCannotBeOpened) {
    EXPECT_EQ(platform::openSysfsPciConfig((root_ / "absent").string()), nullptr);
    EXPECT_NE(platform::openSysfsPciConfig(root_.string()), nullptr);
}

TEST_F(PciSysfsReader, TheDeviceListReadsTheFolderTree) {
    addFunction("0000:00:00.0", header(256, 0x8086, 0x7190));
    addFunction("0000:00:07.1", header(64, 0x8086, 0x7110));
    addFunction("0000:02:00.0", header(256, 0x10DE, 0x0020));  // bus 2 is not asked
    test::RecordingServiceManager services;
    PciProcessState state;
    PciEnvironment env;
    env.services = services;
    env.state = state;
    env.loadNames = [] { return PciNames::parse(kNames); };
    env.openDriver = [this] { return platform::openSysfsPciConfig(root_.string()); };
    PciDeviceList list(env);
    ASSERT_EQ(list.devices().size(), 2u);
    EXPECT_EQ(list.devices()[1].description,
              "Bus 0 Device 7 Func 1 VendorID 0x8086 DeviceID 0x7110");
    EXPECT_EQ(list.devices()[1].deviceName, " PIIX4 ISA");
    EXPECT_EQ(list.devices()[1].latencyTimer, 32u);
}

PciDevice device(std::uint16_t vendorId, std::uint16_t deviceId, std::uint8_t revision,
                 std::uint8_t latency, std::uint32_t slot = 0) {
    return pciDeviceFromConfig(0, slot, pciConfig(vendorId, deviceId, revision, latency),
                               PciNames::parse(kNames));
}

std::vector<std::pair<std::string, std::string>> labelsAndValues(
    const std::vector<LabelledValue>& rows) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto& row : rows) {
        pairs.emplace_back(row.label, row.value);
    }
    return pairs;
}

TEST(PciMotherboardPage, OneDeviceFillsTheChipsetAndTheListHoldsOnlyItsTitleRow) {
    const auto page = motherboardPage({device(0x8086, 0x7190, 3, 64)});
    const std::vector<std::pair<std::string, std::string>> chipset{
        {"NorthBridge installed:", " 440BX Host bridge"},
        {"Manufacturer:", " Intel"},
        {"VendorID:", "0x8086"},
        {"DeviceID:", "0x7190"},
        {"RevisionID:", "0x0003"},
        {"HW Definition:", "Bus 0 Device 0 Func 0 VendorID 0x8086 DeviceID 0x7190"},
        {"PCI Latency:", "64 Cycles"},
    };
    EXPECT_EQ(labelsAndValues(page.chipset), chipset);
    ASSERT_EQ(page.otherDevices.size(), 1u);
    EXPECT_EQ(page.otherDevices[0].item, "PCI Device List");
    EXPECT_EQ(page.otherDevices[0].description, "");
    EXPECT_EQ(page.heading, "Motherboard and BIOS Informations");
    EXPECT_EQ(page.otherDevicesTitle, "Other PCI Devices");
    ASSERT_EQ(page.otherDevicesColumns.size(), 2u);
    EXPECT_EQ(page.otherDevicesColumns[0].title, "Item");
    EXPECT_EQ(page.otherDevicesColumns[0].widthPixels, 150);
    EXPECT_EQ(page.otherDevicesColumns[1].title, "Description");
    EXPECT_EQ(page.otherDevicesColumns[1].widthPixels, 350);
}

TEST(PciMotherboardPage, EachFurtherDeviceGetsSevenRows) {
    const auto page =
        motherboardPage({device(0x8086, 0x7190, 3, 64), device(0x10DE, 0x0020, 0x15, 0, 37),
                         device(0x1234, 0x5678, 0, 0, 2)});
    ASSERT_EQ(page.otherDevices.size(), 15u);
    const std::vector<std::pair<std::string, std::string>> second{
        {"", ""},
        {"HW Definition", "Bus 0 Device 5 Func 1 VendorID 0x10DE DeviceID 0x0020"},
        {"Device Name", " Riva TNT"},
        {"Manufacturer", " NVIDIA"},
        {"VendorID", "0x10DE"},
        {"DeviceID", "0x0020"},
        {"RevisionID", "0x0015"},
    };
    for (std::size_t i = 0; i < second.size(); ++i) {
        EXPECT_EQ(page.otherDevices[1 + i].item, second[i].first);
        EXPECT_EQ(page.otherDevices[1 + i].description, second[i].second);
    }
    EXPECT_EQ(page.otherDevices[10].description, "Unknow");
    EXPECT_EQ(page.otherDevices[11].description, "Unknow");
}

TEST(PciMotherboardPage, AnEmptyListFillsNothing) {
    const auto page = motherboardPage({});
    EXPECT_TRUE(page.otherDevices.empty());
    ASSERT_EQ(page.chipset.size(), 7u);
    for (const auto& row : page.chipset) {
        EXPECT_EQ(row.value, "") << row.label;
    }
}

TEST(PciMotherboardPage, TheMotherboardSpecificGroupIsDisabledAndEmpty) {
    for (const auto& page :
         {motherboardPage({}), motherboardPage({device(0x8086, 0x7190, 0, 0)})}) {
        EXPECT_EQ(page.motherboardSpecificTitle, "Motherboard Specific");
        ASSERT_FALSE(page.motherboardSpecific.empty());
        for (const auto& row : page.motherboardSpecific) {
            EXPECT_FALSE(row.enabled) << row.label;
            EXPECT_EQ(row.value, "") << row.label;
        }
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

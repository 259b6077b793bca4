// Operating-system and memory facts from file texts, a fake system and this machine; the OS page.
// The driver service stand-in, PCI device list, motherboard page, PCI names and their generator.
// The conditions a run starts in.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>

#include "ident/MemoryInfo.h"
#include "ident/MotherboardPage.h"
#include "ident/OsInfo.h"
#include "ident/OsPage.h"
#include "ident/PageBlocks.h"
#include "ident/PciDeviceList.h"
#include "ident/PciNames.h"
#include "ident/RunConditions.h"
#include "ident/ServiceInstaller.h"
#include "pcidef/PciIdsConversion.h"
#include "platform/Format.h"
#include "platform/OsFacts.h"
#include "platform/TextFile.h"
#include "support/FakeCpu.h"
#include "support/FakeOsFactsSource.h"
#include "support/Joined.h"
#include "support/ScratchFolder.h"

namespace veltrane::ident {
namespace {

using test::joined;

// The values of the rows in order, each followed by '|'.
std::string values(const std::vector<LabelledValue>& rows) {
    return joined(rows, [](auto& row) { return row.value + "|"; });
}

using test::FakeOsFactsSource;

TEST(OsTexts, KernelReleaseTakesUpToThreeNumbersAndOsReleaseUnquotesOrFallsBackToName) {
    std::string seen;
    for (const char* text : {"6.18.44-fc-v1272", "5.4", "", ".1.2", "99999999999999999999.1"}) {
        const auto v = platform::parseKernelRelease(text);
        seen += strprintf("%d.%d.%d ", v.major, v.minor, v.patch);
    }
    EXPECT_EQ(seen, "6.18.44 5.4.0 0.0.0 0.0.0 0.0.0 ");
    EXPECT_EQ(platform::osReleaseName("PRETTY_NAME=\"Say \\\"hi\\\" \\\\ OS\"\n"),
              "Say \"hi\" \\ OS");
    EXPECT_EQ(platform::osReleaseName("PRETTY_NAME=Plain\r\n"), "Plain");
    EXPECT_EQ(platform::osReleaseName("PRETTY_NAME=\"\"\nNAME=Arch\n"), "Arch");
    EXPECT_EQ(platform::osReleaseName("ID=x\nPRETTY_NAME_EXTRA=no\n"), "");
}

// Total, available, swap total and free in kB, then the load in percent.
std::string meminfo(const char* text) {
    const auto s = platform::parseMeminfo(text);
    return s ? strprintf("%lu %lu %lu %lu %u", s->totalPhys / 1024, s->availPhys / 1024,
                         s->totalPageFile / 1024, s->availPageFile / 1024, s->memoryLoad)
             : "refused";
}

TEST(Meminfo, TotalsTheLoadAnEstimateNeverAboveTheTotalAndWholeKeysOnly) {
    EXPECT_EQ(meminfo("MemTotal:       24683748 kB\nMemFree:        22354120 kB\n"
                      "MemAvailable:   23056576 kB\nSwapTotal:       2097148 kB\n"
                      "SwapFree:        1048574 kB\nHugePages_Total:       0\n"),
              "24683748 23056576 2097148 1048574 6");  // 6.59 % in use, truncated
    // Without an estimate: free, buffers and cache.
    EXPECT_EQ(meminfo("MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 250 kB\n"),
              "1000 400 0 0 60");
    EXPECT_EQ(
        meminfo("MemTotal: 100 kB\nMemAvailable: 500 kB\nSwapTotal: 10 kB\nSwapFree: 20 kB\n"),
        "100 100 10 10 0");
    for (const char* text : {"", "MemFree: 100 kB\n", "MemTotal: lots kB\n", "MemTotal: 0 kB\n",
                             "MemTotal: 99999999999999999999 kB\n",
                             "MemTotal: 18014398509481985 kB\n"}) {  // bytes overflow 64 bits
        EXPECT_EQ(meminfo(text), "refused") << text;
    }
    const char* text = "VmSizeMax: 1 kB\nVmSize:\t    3892 kB\n";
    EXPECT_EQ(platform::kilobyteField(text, "VmSize"), 3892u * 1024);
    EXPECT_FALSE(platform::kilobyteField(text, "VmRSS"));
    EXPECT_EQ(platform::parseSysfsHex("8086"), 0x8086u);  // the adapter tests give more
    EXPECT_FALSE(platform::parseSysfsHex("0x") || platform::parseSysfsHex("0x10de junk"));
}

class LinuxOsInfoTest : public ::testing::Test {
protected:
    void addCard(const std::string& card, const std::string& vendor, const std::string& device,
                 const std::string& driver) {
        const std::string base = "/sys/class/drm/" + card + "/device/";
        source_.file(base + "vendor", vendor + "\n").file(base + "device", device + "\n");
        source_.file(base + "subsystem_vendor", "0x1043\n");
        source_.file(base + "subsystem_device", "0x8694\n");
        source_.links[base + "driver"] = "../../../bus/pci/drivers/" + driver;
    }
    // Vendor, device and subsystem ids, driver, description.
    std::string adapter() {
        const OsInfo info(source_);
        return strprintf("%X %X %X ", info.adapterVendorId, info.adapterDeviceId,
                         info.adapterSubSysId) +
               info.adapterDriver + "|" + info.adapterDescription;
    }

    FakeOsFactsSource source_;
};

// Kernel, host, passwd user and no os-release: the OS page's rows.
TEST_F(LinuxOsInfoTest, UserDistributionAndNetworkOtherThanLoopback) {
    // Without a passwd entry the user comes from the environment.
    source_.passwdUser.clear();
    source_.variables["USER"] = "grace";
    EXPECT_EQ(OsInfo(source_).userName, "grace");
    source_.file("/usr/lib/os-release", "PRETTY_NAME=\"Fedora Linux 40\"\n");
    EXPECT_EQ(OsInfo(source_).osName, "Fedora Linux 40");
    source_.file("/etc/os-release", "# minimal\nNAME='Tiny Linux'\nVERSION_ID=1\n");
    EXPECT_EQ(OsInfo(source_).osName, "Tiny Linux");  // the first of the two files
    source_.file("/sys/class/net/lo/operstate", "up\n").file("/sys/class/net/lo/type", "772\n");
    source_.file("/sys/class/net/loop1/operstate", "up\n");
    source_.file("/sys/class/net/loop1/type", "772\n");  // loopback by type, whatever its name
    source_.file("/sys/class/net/eth0/operstate", "down\n");
    EXPECT_EQ(OsInfo(source_).networkStatus, "Not Detected");
    source_.file("/sys/class/net/wlan0/operstate", "up\n");
    EXPECT_EQ(OsInfo(source_).networkStatus, "Detected");
}

TEST_F(LinuxOsInfoTest, FirstCardByNumberGivesIdsDriverAndOnlyItsVendorsPciName) {
    EXPECT_EQ(adapter(), "0 0 0 |");
    addCard("card10", "0x1002", "0x73bf", "amdgpu");  // before card2 as text, not as number
    addCard("card2", "0x10de", "0x2206", "nouveau");
    source_.file("/sys/class/drm/card2-HDMI-A-1/status", "connected\n");
    source_.file("/sys/class/drm/renderD128/dev", "226:128\n");
    source_.dataFiles["PCIDef.dat"] =
        "V\t1002 Advanced Micro Devices, Inc. [AMD/ATI]\nD\t1237 Some AMD part\n"
        "V\t10DE NVIDIA Corporation\nD\t2206 GA102 [GeForce RTX 3080]\n";
    EXPECT_EQ(adapter(), "10DE 2206 86941043 nouveau|NVIDIA Corporation GA102 [GeForce RTX 3080]");
    // Another vendor's device name is never borrowed; damaged ids read as zero.
    source_.file("/sys/class/drm/card2/device/device", "0x1237\n");
    EXPECT_EQ(adapter(), "10DE 1237 86941043 nouveau|nouveau");
    source_.file("/sys/class/drm/card2/device/vendor", "garbage\n");
    source_.file("/sys/class/drm/card2/device/device", "0x123456789\n");
    EXPECT_EQ(adapter().substr(0, 4), "0 0 ");
}

// This machine: only what any Linux machine gives.
TEST(NativeOsFacts, KernelHostAVersionAndPhysicalMemoryWithinOnePercentOfMeminfo) {
    const OsInfo info;
    EXPECT_FALSE(info.computerName.empty() || info.osName.empty());
    EXPECT_GE(info.majorVersion, 2);
    const auto meminfo = platform::readTextFile("/proc/meminfo");
    const auto total = platform::kilobyteField(meminfo.content, "MemTotal");
    ASSERT_TRUE(total) << meminfo.error;
    const double expectedMB = static_cast<double>(*total) / 1048576.0;
    const MemoryInfo memory;
    EXPECT_NEAR(memory.totalPhysMB(), expectedMB, expectedMB / 100);
    EXPECT_TRUE(memory.availPhysMB() <= memory.totalPhysMB() && memory.memoryLoad() <= 100);
    EXPECT_TRUE(memory.availVirtualMB() > 0 && memory.availVirtualMB() < memory.totalVirtualMB());
}

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

// Physical MB total and available, load; lowest and highest address; user MB total, available.
std::string memoryOf(const FakeOsFactsSource& source) {
    const MemoryInfo m(source);
    return strprintf("%u %u %u; %lX %lX; %u %u", m.totalPhysMB(), m.availPhysMB(), m.memoryLoad(),
                     m.minAppAddress(), m.maxAppAddress(), m.totalVirtualMB(), m.availVirtualMB());
}

TEST_F(LinuxOsInfoTest, MemoryFromMeminfoOrTheSystemCallAndTheUserHalfOfTheAddressSpace) {
    source_.fallbackMemory = {25, 8 * kGiB, 6 * kGiB, 0, 0};
    source_.file("/proc/meminfo", "MemTotal: damaged\n");
    source_.file("/proc/sys/vm/mmap_min_addr", "lots\n");
    // Shown one megabyte above what the system counts.
    EXPECT_EQ(memoryOf(source_), "8193 6144 25; 1000 7FFFFFFFEFFF; 134217727 134217727");
    source_.file("/proc/meminfo", "MemTotal: 67108864 kB\nMemAvailable: 41943040 kB\n");
    source_.file("/proc/sys/vm/mmap_min_addr", "65536\n");
    source_.file("/proc/self/status", "Name:\tcli\nVmSize:\t 1048576 kB\n");
    // 128 TB less the 64 kB below the lowest address and the top page, then what is mapped.
    EXPECT_EQ(memoryOf(source_), "65537 40960 37; 10000 7FFFFFFFEFFF; 134217727 134216703");
    source_.system.maximumApplicationAddress = 0;  // below the lowest address: nothing, not a wrap
    EXPECT_EQ(memoryOf(source_), "65537 40960 37; 1000 0; 0 0");
}

// Maximum, position and percent of each bar: memory load, page file, user resources.
std::string bars(const platform::MemoryFacts& facts) {
    const auto all = memoryBars(MemoryInfo(facts));
    return joined(std::array{all.memoryLoad, all.pageFile, all.userResources}, [](auto& bar) {
        return std::to_string(bar.maximum) + " " + std::to_string(bar.position) + " " +
               std::to_string(bar.percent) + "|";
    });
}

TEST(MemoryBars, NoSwapIsEmptyAndHugeOrOverfullSizesNeitherWrapNorOverflow) {
    platform::MemoryFacts facts;
    facts.status = {10, kGiB, kGiB / 2, 0, 0};
    // 128 TB in MB no longer fits a 16-bit range, its use times 100 not 32 bits.
    facts.totalVirtual = std::uint64_t{1} << 47;
    facts.availVirtual = facts.totalVirtual / 4;
    EXPECT_EQ(bars(facts), "100 10 10|0 0 0|134217728 100663296 75|");
    // More available than in total, as the fallback's figures may say: an empty bar.
    facts.status = {0, kGiB, kGiB, 100 * 1048576, 200 * 1048576};
    facts.availVirtual = facts.totalVirtual * 2;
    EXPECT_EQ(bars(facts), "100 0 0|100 0 0|134217728 0 0|");
}

class OsPageTest : public ::testing::Test {
protected:
    OsPageTest() {
        os_.standbyTimeout = 959;
        os_.screenWidth = 1024;
        os_.screenHeight = 768;
        os_.monitorCount = 2;
    }

    // The values of the page's rows in page order, joined by '|'.
    std::string page() { return values(osPageRows(os_, MemoryInfo(memory_))); }

    // A version of the original platform: no kernel name; version 5.1.2600 and adapter ids.
    OsInfo os_{platform::OsFacts{
        "", {5, 1, 2600}, "", "", "", "", "", false, {"", 0x10DE, 0x253, 0x1043807F}}};
    // The 267,780,096-byte machine: 255.4 MB as the system counts, 256 as shown.
    platform::MemoryFacts memory_{{31, 267780096, 100 << 20, 512 << 20, 384 << 20},
                                  {1, 4096, 65536, 0x10000, 0x7FFEFFFF},
                                  2047ull << 20,
                                  1023ull << 20};
};

TEST_F(OsPageTest, SystemDisplayAndMemoryTextsLargeMachinesWhole) {
    const std::string memory =
        "262144 KByte (256 MByte)|100 MByte|512 MByte|384 MByte|2047 MByte|1023 MByte|0x10000|"
        "0x7FFEFFFF|65536 Byte|31 %|25 %|50 %|";
    EXPECT_EQ(page(),
              "|Microsoft Windows version 5.1.2600|||||None|Normal Boot|Not Detected|Disabled|"
              "15 minute(s)|||10DE|253|1043807F|1024x768  pixels|2 Monitor(s)|" +
                  memory);
    os_ = OsInfo(FakeOsFactsSource{});  // Linux, no window system
    EXPECT_EQ(page(),
              "Linux|Linux version 6.1.0|bench-box|ada|/usr/lib|/usr|None|Normal Boot|Not Detected|"
              "Disabled|Standby Disabled|||0|0|0|0x0  pixels|0 Monitor(s)|" +
                  memory);
    // Large machines print whole: 4 TB in KB is beyond 32 bits.
    memory_.status.totalPhys = std::uint64_t{4} << 40;
    memory_.system.maximumApplicationAddress = 0x7FFFFFFFEFFF;
    EXPECT_NE(page().find("|4294968320 KByte (4194305 MByte)|100 MByte|512 MByte|384 MByte|"
                          "2047 MByte|1023 MByte|0x10000|0x7FFFFFFFEFFF|"),
              std::string::npos);
}

// The window lays the rows out in three blocks; together they are the page.
TEST_F(OsPageTest, BlocksHoldEveryRowInOrderTheNamesAboveAndTheGaugesBelow) {
    const auto blocks = osPageBlocks(os_, MemoryInfo(memory_));
    const auto labels = [](const auto& rows) {
        return joined(rows, [](auto& row) { return row.label + "|"; });
    };
    EXPECT_EQ(labels(blocks.upper), "OS Name:|OS Revision :|Coumputer Name:|User Name:|");
    EXPECT_EQ(labels(blocks.gauges), "Mem Loaded:|Page File Load:|User Resources:|");
    EXPECT_EQ(values(blocks.upper) + values(blocks.fields) + values(blocks.gauges), page());
}

TEST(PageBlocks, AShortPageFillsTheUpperBlockFirstThenTheGauges) {
    struct Case {
        std::size_t rows, upper, fields, gauges;
    };
    for (const Case c : {Case{0, 0, 0, 0}, {3, 3, 0, 0}, {6, 4, 0, 2}, {9, 4, 2, 3}}) {
        const auto blocks = pageBlocks(std::vector<LabelledValue>(c.rows), 4, 3);
        EXPECT_EQ(blocks.upper.size(), c.upper) << c.rows;
        EXPECT_EQ(blocks.fields.size(), c.fields) << c.rows;
        EXPECT_EQ(blocks.gauges.size(), c.gauges) << c.rows;
    }
}

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
    std::memcpy(&config[0], &vendorId, 2);  // little-endian, as the bus gives them
    std::memcpy(&config[2], &deviceId, 2);
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
std::string summaries(const std::vector<PciDevice>& devices) {
    return joined(devices, [](auto& d) {
        return d.description + "|" + d.vendorName + "|" + d.deviceName + "|" +
               std::to_string(d.revisionId) + "|" + std::to_string(d.latencyTimer) + "\n";
    });
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

TEST_F(PciDeviceListTest, AsksBusesZeroAndOneFunctionZeroFirstOnceAndStopsTheDriver) {
    PciDeviceList list(environment(Functions{
        {{1, 0}, pciConfig(0x10DE, 0x0020, 0x15, 0x40)},
        {{0, platform::pciSlot(5, 1)}, pciConfig(0x8086, 0x7110, 2, 0)},
        {{0, platform::pciSlot(7, 0)}, pciConfig(0x1234, 0x5678, 0xAB, 0xF8)},
        {{0, 0}, pciConfig(0x8086, 0x7190, 3, 64)},
    }));
    EXPECT_EQ(
        summaries(list.devices()),
        "Bus 0 Device 0 Func 0 VendorID 0x8086 DeviceID 0x7190| Intel| 440BX Host bridge|3|64\n"
        "Bus 0 Device 7 Func 0 VendorID 0x1234 DeviceID 0x5678|Unknow|Unknow|171|248\n"
        "Bus 0 Device 5 Func 1 VendorID 0x8086 DeviceID 0x7110| Intel| PIIX4 ISA|2|0\n"
        "Bus 1 Device 0 Func 0 VendorID 0x10DE DeviceID 0x0020| NVIDIA| Riva TNT|21|64\n");
    EXPECT_EQ(requests_->size(), 512u);
    EXPECT_TRUE(services_.queryValue(kKey, "ImagePath"));
    EXPECT_FALSE(services_.isRunning("pciinfo"));
    EXPECT_EQ(services_.openHandleCount(), 0u);
    // Once per process state: the next list does nothing at all.
    requests_->clear();
    PciDeviceList second(environment(Functions{{{0, 0}, pciConfig(0x8086, 0x7190)}}));
    EXPECT_TRUE(second.devices().empty() && !second.error() && requests_->empty());
}

// A driver that cannot be opened gives the message and an empty list, and the next list tries
// again; sysfs lists the readable functions of buses 0 and 1.
TEST_F(PciDeviceListTest, AnUnopenedDriverGivesTheMessageSysfsListsReadableFunctions) {
    const veltrane::test::ScratchFolder scratch;
    const fs::path root = scratch.path;
    const PciDeviceList missing(environment(
        std::nullopt, [&] { return platform::openSysfsPciConfig((root / "absent").string()); }));
    EXPECT_FALSE(services_.isRunning("pciinfo"));
    EXPECT_EQ(services_.openHandleCount(), 0u);
    ASSERT_TRUE(missing.error().has_value());
    EXPECT_EQ(missing.error()->title + ": " + missing.error()->text,
              "Veltrane Error: Unable to access to the device driver: Motherboard informations "
              "unavailable. If this is the first time that you run Veltrane, please try to "
              "restart your PC.");
    EXPECT_TRUE(missing.devices().empty());
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
    const PciDeviceList list(
        environment(std::nullopt, [&] { return platform::openSysfsPciConfig(root.string()); }));
    EXPECT_EQ(summaries(list.devices()),
              "Bus 0 Device 0 Func 0 VendorID 0x8086 DeviceID 0x7110| Intel| PIIX4 ISA|7|32\n"
              "Bus 1 Device 31 Func 7 VendorID 0x8086 DeviceID 0x7110| Intel| PIIX4 ISA|7|32\n");
}

PciDevice device(std::uint16_t vendorId, std::uint16_t deviceId, std::uint8_t revision,
                 std::uint8_t latency, std::uint32_t slot = 0) {
    return pciDeviceFromConfig(0, slot, pciConfig(vendorId, deviceId, revision, latency),
                               PciNames::parse(kNames));
}

// Label, '=', value, '|' after each row, '~' marking a disabled one.
std::string rowsText(const std::vector<LabelledValue>& rows) {
    return joined(
        rows, [](auto& row) { return row.label + "=" + row.value + (row.enabled ? "|" : "~|"); });
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
    const auto others =
        joined(page.otherDevices, [](auto& row) { return row.item + "=" + row.description + "|"; });
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

const std::string kDataDir = std::string(VELTRANE_TEST_DATA_DIR) + "/pci/";

TEST(PciNames, LookupFollowsTheRulesOfTheNamesFile) {
    // The names file, the vendor and device asked; the vendor and device names found.
    const struct {
        const char* file;
        std::uint32_t vendorId, deviceId;
        const char* expected;
    } cases[] = {
        {"V\t8086\tIntel\nD\t7190-440BX  \n", 0x8086, 0x7190, " Intel| 440BX  "},  // any separator
        {"V\t8086\n", 0x8086, 0, " |Unknow"},  // a key without a name
        {"V\t10DE NVIDIA\r\nD\t0020 TNT\r\n", 0x10DE, 0x0020, " NVIDIA| TNT"},
        {"V\t10de nvidia\nD\t0020 tnt\n", 0x10DE, 0x0020, "Unknow|Unknow"},  // lower-case keys
        {"V\t10de lower\nV\t10DE NVIDIA\nD\t00aa x\nD\t00AA NV\n", 0x10de, 0xaa, " NVIDIA| NV"},
        {"D\t7190 Early\nV\t8086 Intel\nD\t7110 PIIX4\n", 0x8086, 0x7190, " Intel|Unknow"},
        {"V\t8086 Intel\nD\t7110 PIIX4\nV\t10B9 ALi\nD\t7190 Not Intel\n", 0x8086, 0x7190,
         " Intel|Unknow"},  // another vendor's block
        // The first block and device line decide; a repeated vendor line opens no block.
        {"V\t8086 Intel\nD\t7190 First\nD\t7190 Second\nV\t8086 Again\nD\t7110 Later\n", 0x8086,
         0x7190, " Intel| First"},
        {"V\t8086 Intel\nV\t8086 Again\nD\t7110 Later\n", 0x8086, 0x7110, " Intel|Unknow"},
        // Other lines do not end a block.
        {"V\t8086 Intel\n# note\nV 8087 no tab\nV\t80ZZ bad\nV\t80ab low\nv\t8088 low\n\n"
         "D\t7190 440BX\n",
         0x8086, 0x7190, " Intel| 440BX"},
        {"V\t8086 Intel\nD\t7190 440BX", 0x18086, 0x7190, "Unknow|Unknow"},  // beyond 16 bits
    };
    for (const auto& c : cases) {
        const auto names = PciNames::parse(c.file).lookup(c.vendorId, c.deviceId);
        EXPECT_EQ(names.vendorName + "|" + names.deviceName, c.expected) << c.file;
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
    EXPECT_EQ(loadPciNamesFrom(kDataDir + "no-such-file.dat").problem(), "");
    const auto tooLarge = loadPciNamesFrom(kDataDir + "names-crlf.dat", 10);
    EXPECT_TRUE(tooLarge.empty());
    EXPECT_NE(tooLarge.problem().find("names-crlf.dat: the file is larger than 10 bytes; devices "
                                      "are listed without names"),
              std::string::npos);
    const auto pciIds = platform::readTextFile(kDataDir + "sample.pci.ids");
    const auto expected = platform::readTextFile(kDataDir + "sample-PCIDef.dat");
    ASSERT_TRUE(pciIds.ok() && expected.ok());
    EXPECT_EQ(tools::pciDefFromPciIds(pciIds.content), expected.content);
    EXPECT_EQ(tools::pciDefFromPciIds("10de  NVIDIA\r\n\t0020  TNT\r\n"),
              "V\t10DE NVIDIA\nD\t0020 TNT\n");
    EXPECT_EQ(tools::pciDefFromPciIds("10d  short\n\t0020  orphan\nzzzz  bad\n"), "");
}

// What the machine is doing when a run starts.
using Strings = std::vector<std::string>;

const std::string kCpu = "/sys/devices/system/cpu/";
const std::string kPower = "/sys/class/power_supply/";

// Two processors with `governor` under `driver`; boost told by `boostFile`.
FakeOsFactsSource scaledMachine(const std::string& governor, const std::string& driver,
                                const std::string& boostFile, const std::string& boost) {
    FakeOsFactsSource source;
    for (const char* cpu : {"cpu0", "cpu1"}) {
        source.file(kCpu + cpu + "/cpufreq/scaling_governor", governor + "\n");
    }
    source.file(kCpu + "cpu0/cpufreq/scaling_driver", driver + "\n")
        .file(kCpu + "cpuidle/current_driver", "none")  // not a processor
        .file(kCpu + boostFile, boost + "\n")
        .file("/proc/loadavg", "0.52 0.58 0.59 1/467 4242\n");
    return source;
}

// Governors, [scaling driver], boost, load average and power source; then each warning on a line.
std::string conditions(const FakeOsFactsSource& source, bool virtualMachine) {
    const RunConditions read = readRunConditions(source, virtualMachine);
    const auto& load = read.loadAverage;
    return joined(read.governors, [](auto& governor) { return governor + ","; }) + " [" +
           read.scalingDriver +
           (!read.boost   ? "] boost?"
            : *read.boost ? "] boost"
                          : "] no boost") +
           (load ? strprintf(" %g %g %g ", (*load)[0], (*load)[1], (*load)[2]) : " no load ") +
           powerSourceName(read.power) +
           joined(conditionWarnings(read), [](auto& warning) { return "\n" + warning; });
}

TEST(RunConditions, ReadsGovernorBoostLoadAndPowerAndWarnsOfWhatSpoilsFigures) {
    auto laptop = scaledMachine("powersave", "acpi-cpufreq", "cpufreq/boost", "1")
                      .file(kPower + "AC/type", "Mains\n")
                      .file(kPower + "AC/online", "0\n")
                      .file(kPower + "BAT0/type", "Battery\n")
                      .file(kPower + "BAT0/status", "Discharging\n");
    auto desktop = scaledMachine("powersave", "intel_pstate", "intel_pstate/no_turbo", "1")
                       .file(kPower + "AC/type", "Mains\n")
                       .file(kPower + "AC/online", "1\n")
                       .file(kPower + "BAT0/type", "Battery\n")
                       .file(kPower + "BAT0/status", "Charging\n");
    auto guest = scaledMachine("", "", "none", "").file("/proc/loadavg", "2.5 x");
    guest.files.erase(kCpu + "cpu0/cpufreq/scaling_governor");
    guest.files.erase(kCpu + "cpu1/cpufreq/scaling_governor");
    guest.file(kCpu + "cpu0/online", "1").file(kCpu + "cpu1/online", "1");
    auto server = scaledMachine("performance", "acpi-cpufreq", "cpufreq/boost", "0")
                      .file(kPower + "BAT0/type", "Battery\n")
                      .file(kPower + "BAT0/status", "Full\n");
    const std::tuple<const char*, const FakeOsFactsSource&, bool, std::string> cases[] = {
        {"laptop on battery", laptop, false,
         "powersave,powersave, [acpi-cpufreq] boost 0.52 0.58 0.59 battery\n"
         "the frequency governor is powersave: figures will be low\n"
         "boost (turbo) is on: the clock follows temperature and load, so figures vary between "
         "runs\nthe machine runs on battery: the processor may be held back"},
        // intel_pstate's powersave still raises the clock under load.
        {"desktop", desktop, false,
         "powersave,powersave, [intel_pstate] no boost 0.52 0.58 0.59 ac"},
        {"guest", guest, true,
         ",, [] boost? no load unknown\n"
         "this is a virtual machine: figures depend on what the host runs beside it"},
        // A battery that is not discharging, with no mains listed, is still the source.
        {"server", server, false,
         "performance,performance, [acpi-cpufreq] no boost 0.52 0.58 0.59 battery\n"
         "the machine runs on battery: the processor may be held back"},
    };
    for (const auto& [name, source, virtualMachine, expected] : cases) {
        EXPECT_EQ(conditions(source, virtualMachine), expected) << name;
    }
}

TEST(RunConditions, BusiestProcessesAreOthersAboveFivePercentBusiestFirst) {
    FakeOsFactsSource proc;
    // Names may hold blanks and parentheses; user and system ticks are fields 14 and 15.
    proc.file("/proc/7/stat", "7 (make (sub) x) R 1 7 7 0 -1 4194560 10 0 0 0 120 30 0 0 20 0\n")
        .file("/proc/8/stat", "8 (short) S 1")
        .file("/proc/9/stat", "9 (cc1plus) R 1 9 9 0 -1 0 0 0 0 0 x 1 0 0\n")
        .file("/proc/self/stat", "1 (self) R 1 1 1 0 -1 0 0 0 0 0 5 5 0 0\n")
        .file("/proc/meminfo", "MemTotal: 1 kB\n");
    const ProcessTimes read = readProcessTimes(proc);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read.at(7).name, "make (sub) x");
    EXPECT_EQ(read.at(7).ticks, 150u);

    const ProcessTimes before{{10, {"idle", 100}},   {11, {"spin", 100}}, {12, {"half", 0}},
                              {13, {"reused", 500}}, {14, {"self", 0}},   {15, {"tenth", 0}},
                              {16, {"quarter", 0}},  {17, {"edge", 0}}};
    const ProcessTimes after{{10, {"idle", 101}},   {11, {"spin", 200}}, {12, {"half", 50}},
                             {13, {"reused", 20}},  {14, {"self", 100}}, {15, {"tenth", 10}},
                             {16, {"quarter", 25}}, {17, {"edge", 5}},   {18, {"new", 90}}};
    const auto busy = busiestProcesses(before, after, 1.0, 100.0, 14);
    Strings names;
    for (const ProcessLoad& p : busy) {
        names.push_back(p.name + " " + std::to_string(static_cast<int>(p.cpuPercent)));
    }
    EXPECT_EQ(names, (Strings{"spin 100", "half 50", "quarter 25"}));
    EXPECT_EQ(busiestProcesses(before, after, 10.0, 100.0, 14).size(), 2u);  // spin 10, half 5
    EXPECT_TRUE(busiestProcesses(before, after, 0.0, 100.0, 14).empty());
}

TEST(RunConditions, BusyProcessesAreNamedInTheWarning) {
    RunConditions conditions;
    conditions.busiest = {{3, "cc1plus", 67.5}, {4, "ld", 31.7}};
    EXPECT_EQ(conditionWarnings(conditions),
              Strings{"other programs are busy (cc1plus 68 %, ld 32 %): figures will be low"});
    // The processor's hypervisor bit (leaf 1 ECX bit 31) says what runs it.
    EXPECT_TRUE(test::machineOfDump("zen5-virtual").virtualMachine);
    EXPECT_FALSE(test::machineOfDump("pentium4-northwood").virtualMachine);
}

}  // namespace
}  // namespace veltrane::ident

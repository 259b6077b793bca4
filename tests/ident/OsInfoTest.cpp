// Operating-system and memory facts from file texts, a fake system and this machine; the page.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>

#include "ident/MemoryInfo.h"
#include "ident/OsInfo.h"
#include "ident/OsPage.h"
#include "platform/Format.h"
#include "platform/OsFacts.h"
#include "platform/TextFile.h"

namespace veltrane::ident {
namespace {

// A system answered from the files, folders and links a test sets; others read as missing.
class FakeOsFactsSource : public platform::OsFactsSource {
public:
    using Texts = std::map<std::string, std::string>;
    Texts files, dataFiles, links, variables;
    std::string passwdUser = "ada";
    platform::MemoryStatus fallbackMemory;
    platform::SystemInfo system{4, 4096, 4096, 4096, (std::uint64_t{1} << 47) - 4096 - 1};

    // Adds a file; the folders on its path list it.
    FakeOsFactsSource& file(const std::string& path, const std::string& text) {
        files[path] = text;
        return *this;
    }

    static std::optional<std::string> find(const Texts& texts, const std::string& key) {
        const auto found = texts.find(key);
        return found != texts.end() ? std::optional<std::string>(found->second) : std::nullopt;
    }

    std::optional<std::string> readFile(const std::string& path) const override {
        return find(files, path);
    }

    // The next name below `path` of every file and link under it.
    std::vector<std::string> listFolder(const std::string& path) const override {
        std::set<std::string> names;
        const std::string prefix = path + "/";
        for (const auto* texts : {&files, &links}) {
            for (const auto& [entry, text] : *texts) {
                if (entry.starts_with(prefix)) {
                    const auto rest = entry.substr(prefix.size());
                    names.insert(rest.substr(0, rest.find('/')));
                }
            }
        }
        return {names.begin(), names.end()};
    }

    std::string linkTargetName(const std::string& path) const override {
        const auto target = find(links, path).value_or("");
        return target.substr(target.rfind('/') + 1);
    }
    std::optional<std::string> readDataFile(const std::string& name) const override {
        return find(dataFiles, name);
    }
    std::string kernelName() const override { return "Linux"; }
    std::string kernelRelease() const override { return "6.1.0-18-amd64"; }
    std::string hostName() const override { return "bench-box"; }
    std::string passwdUserName() const override { return passwdUser; }
    std::optional<std::string> environment(const std::string& name) const override {
        return find(variables, name);
    }
    platform::MemoryStatus memoryStatus() const override { return fallbackMemory; }
    platform::SystemInfo systemInfo() const override { return system; }
};

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

TEST_F(LinuxOsInfoTest, KernelHostUserDistributionAndNetworkOtherThanLoopback) {
    const OsInfo info(source_);
    EXPECT_EQ(osRevisionText(info) + "|" + info.computerName + "|" + info.userName + "|" +
                  info.standbyMode + "|" + info.osName,
              "Linux version 6.1.0|bench-box|ada|Disabled|Linux");  // no os-release: the kernel
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

TEST_F(LinuxOsInfoTest, FirstCardByNumberGivesIdsDriverAndPciName) {
    addCard("card10", "0x1002", "0x73bf", "amdgpu");  // before card2 as text, not as number
    addCard("card2", "0x10de", "0x2206", "nouveau");
    source_.file("/sys/class/drm/card2-HDMI-A-1/status", "connected\n");
    source_.file("/sys/class/drm/renderD128/dev", "226:128\n");
    source_.dataFiles["PCIDef.dat"] =
        "V\t1002 Advanced Micro Devices, Inc. [AMD/ATI]\nD\t2206 Some AMD part\n"
        "V\t10DE NVIDIA Corporation\nD\t2206 GA102 [GeForce RTX 3080]\n";
    EXPECT_EQ(adapter(), "10DE 2206 86941043 nouveau|NVIDIA Corporation GA102 [GeForce RTX 3080]");
}

TEST_F(LinuxOsInfoTest, AdapterNeverBorrowsAnotherVendorsDeviceNameAndDamagedIdsReadAsZero) {
    source_.file("/sys/class/drm/version", "drm 1.1.0 20060810\n");
    EXPECT_EQ(adapter(), "0 0 0 |");
    addCard("card0", "0x10de", "0x1237", "nouveau");
    source_.dataFiles["PCIDef.dat"] =
        "V\t8086 Intel Corporation\nD\t1237 440FX - 82441FX PMC [Natoma]\n"
        "V\t10DE NVIDIA Corporation\nD\t2206 GA102\n";
    EXPECT_EQ(adapter(), "10DE 1237 86941043 nouveau|nouveau");
    source_.file("/sys/class/drm/card0/device/vendor", "garbage\n");
    source_.file("/sys/class/drm/card0/device/device", "0x123456789\n");
    EXPECT_EQ(adapter().substr(0, 4), "0 0 ");
}

// This machine: only what any Linux machine gives.
TEST(NativeOsFacts, KernelHostAVersionAndPhysicalMemoryWithinOnePercentOfMeminfo) {
    const OsInfo info;
    EXPECT_EQ(osRevisionText(info).rfind("Linux version ", 0), 0u);
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
    std::string text;
    const auto all = memoryBars(MemoryInfo(facts));
    for (const auto& bar : {all.memoryLoad, all.pageFile, all.userResources}) {
        text += std::to_string(bar.maximum) + " " + std::to_string(bar.position) + " " +
                std::to_string(bar.percent) + "|";
    }
    return text;
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
        os_.majorVersion = 5;
        os_.minorVersion = 1;
        os_.buildNumber = 2600;
        os_.standbyTimeout = 959;
        os_.screenWidth = 1024;
        os_.screenHeight = 768;
        os_.monitorCount = 2;
        os_.adapterVendorId = 0x10DE;
        os_.adapterDeviceId = 0x253;
        os_.adapterSubSysId = 0x1043807F;
        // The 267,780,096-byte machine: 255.4 MB as the system counts, 256 as shown.
        memory_.status = {31, 267780096, 100 * 1048576, 512 * 1048576, 384 * 1048576};
        memory_.system = {1, 4096, 65536, 0x10000, 0x7FFEFFFF};
        memory_.totalVirtual = 2047ull * 1048576;
        memory_.availVirtual = 1023ull * 1048576;
    }

    // The values of the page's rows in page order, joined by '|'.
    std::string page() {
        std::string text;
        for (const auto& row : osPageRows(os_, MemoryInfo(memory_))) {
            text += row.value + "|";
        }
        return text;
    }

    OsInfo os_{platform::OsFacts{}};
    platform::MemoryFacts memory_;
};

TEST_F(OsPageTest, SystemDisplayAndMemoryTexts) {
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
}

TEST_F(OsPageTest, LargeMachinesPrintWhole) {
    memory_.status.totalPhys = std::uint64_t{4} << 40;  // 4 TB: KB beyond 32 bits
    memory_.system.maximumApplicationAddress = 0x7FFFFFFFEFFF;
    const auto text = page();
    EXPECT_NE(text.find("|4294968320 KByte (4194305 MByte)|"), std::string::npos) << text;
    EXPECT_NE(text.find("|0x7FFFFFFFEFFF|"), std::string::npos) << text;
}

}  // namespace
}  // namespace veltrane::ident

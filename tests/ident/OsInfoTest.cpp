#include <gtest/gtest.h>

#include "FakeOsFactsSource.h"
#include "ident/OsInfo.h"
#include "platform/Format.h"

namespace veltrane::ident {
namespace {

std::string windowsTexts(std::int32_t major, std::int32_t minor, std::int32_t build) {
    return windowsName(major, minor) + "|" + windowsRevisionText(major, minor, build);
}

TEST(WindowsVersionNames, NamesAndRevisionTextsWithTheBuildFromMajorVersionFive) {
    EXPECT_EQ(windowsTexts(4, 10, 1998), "Microsoft Windows 98|Microsoft Windows version 4.10");
    EXPECT_EQ(windowsTexts(4, 0, 1381), "Microsoft Windows NT 4.0|Microsoft Windows version 4.0");
    EXPECT_EQ(windowsTexts(4, 3, 0), "MS Windows 4.0|Microsoft Windows version 4.3");
    EXPECT_EQ(windowsTexts(5, 1, 2600), "Microsoft Windows XP|Microsoft Windows version 5.1.2600");
    EXPECT_EQ(windowsTexts(5, 2, 3790), "|Microsoft Windows version 5.2.3790");
    EXPECT_EQ(windowsTexts(6, 0, 6000),
              "Next Generation Windows|Microsoft Windows version 6.0.6000");
    EXPECT_EQ(windowsTexts(2, 0, 0), "Next Generation Windows|Microsoft Windows version 2.0");
}

class LinuxOsInfoTest : public ::testing::Test {
protected:
    test::FakeOsFactsSource source_;
};

TEST_F(LinuxOsInfoTest, KernelHostUserAndDistribution) {
    const OsInfo info(source_);
    EXPECT_EQ(osRevisionText(info), "Linux version 6.1.0");
    EXPECT_EQ(info.computerName, "bench-box");
    EXPECT_EQ(info.userName, "ada");
    EXPECT_EQ(info.standbyMode, "Disabled");  // no stand-by setting is readable
    // Without a passwd entry the user comes from the environment.
    source_.passwdUser.clear();
    source_.variables["USER"] = "grace";
    EXPECT_EQ(OsInfo(source_).userName, "grace");
    source_.variables.clear();
    EXPECT_EQ(OsInfo(source_).userName, "");
    EXPECT_EQ(info.osName, "Linux");  // no os-release: the kernel's name
    source_.file("/usr/lib/os-release", "PRETTY_NAME=\"Fedora Linux 40\"\n");
    EXPECT_EQ(OsInfo(source_).osName, "Fedora Linux 40");
    source_.file("/etc/os-release", "# minimal\nNAME='Tiny Linux'\nVERSION_ID=1\n");
    EXPECT_EQ(OsInfo(source_).osName, "Tiny Linux");  // the first of the two files
}

TEST_F(LinuxOsInfoTest, NetworkDetectedOnlyForAnInterfaceOtherThanLoopbackThatIsUp) {
    EXPECT_EQ(OsInfo(source_).networkStatus, "Not Detected");
    source_.file("/sys/class/net/lo/operstate", "up\n").file("/sys/class/net/lo/type", "772\n");
    source_.file("/sys/class/net/loop1/operstate", "up\n");
    source_.file("/sys/class/net/loop1/type", "772\n");  // loopback by type, whatever its name
    source_.file("/sys/class/net/eth0/operstate", "down\n");
    EXPECT_EQ(OsInfo(source_).networkStatus, "Not Detected");
    source_.file("/sys/class/net/wlan0/operstate", "up\n");
    EXPECT_EQ(OsInfo(source_).networkStatus, "Detected");
}

class DisplayAdapterTest : public LinuxOsInfoTest {
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
};

TEST_F(DisplayAdapterTest, FirstCardByNumberGivesIdsDriverAndPciName) {
    addCard("card10", "0x1002", "0x73bf", "amdgpu");  // before card2 as text, not as number
    addCard("card2", "0x10de", "0x2206", "nouveau");
    source_.file("/sys/class/drm/card2-HDMI-A-1/status", "connected\n");
    source_.file("/sys/class/drm/renderD128/dev", "226:128\n");
    source_.dataFiles["PCIDef.dat"] =
        "V\t1002 Advanced Micro Devices, Inc. [AMD/ATI]\nD\t2206 Some AMD part\n"
        "V\t10DE NVIDIA Corporation\nD\t2206 GA102 [GeForce RTX 3080]\n";
    EXPECT_EQ(adapter(), "10DE 2206 86941043 nouveau|NVIDIA Corporation GA102 [GeForce RTX 3080]");
}

TEST_F(DisplayAdapterTest, NeverBorrowsAnotherVendorsDeviceName) {
    addCard("card0", "0x10de", "0x1237", "nouveau");
    source_.dataFiles["PCIDef.dat"] =
        "V\t8086 Intel Corporation\nD\t1237 440FX - 82441FX PMC [Natoma]\n"
        "V\t10DE NVIDIA Corporation\nD\t2206 GA102\n";
    EXPECT_EQ(adapter(), "10DE 1237 86941043 nouveau|nouveau");
    source_.dataFiles.clear();  // no names file at all
    EXPECT_EQ(adapter(), "10DE 1237 86941043 nouveau|nouveau");
}

TEST_F(DisplayAdapterTest, NoDisplayDeviceLeavesTheAdapterEmptyAndDamagedIdsReadAsZero) {
    source_.file("/sys/class/drm/version", "drm 1.1.0 20060810\n");
    EXPECT_EQ(adapter(), "0 0 0 |");
    source_.file("/sys/class/drm/card0/device/vendor", "garbage\n");
    source_.file("/sys/class/drm/card0/device/device", "0x123456789\n");
    source_.links["/sys/class/drm/card0/device/driver"] = "../simpledrm";
    EXPECT_EQ(adapter(), "0 0 0 simpledrm|simpledrm");
}

}  // namespace
}  // namespace veltrane::ident

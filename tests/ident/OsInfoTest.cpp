#include <gtest/gtest.h>

#include "FakeOsFactsSource.h"
#include "ident/OsInfo.h"

namespace veltrane::ident {
namespace {

TEST(WindowsVersionNames, FollowTheNameTable) {
    EXPECT_EQ(windowsName(3, 51), "Microsoft Windows 95");
    EXPECT_EQ(windowsName(4, 0), "Microsoft Windows NT 4.0");
    EXPECT_EQ(windowsName(4, 10), "Microsoft Windows 98");
    EXPECT_EQ(windowsName(4, 90), "Microsoft Windows ME");
    EXPECT_EQ(windowsName(4, 3), "MS Windows 4.0");
    EXPECT_EQ(windowsName(5, 0), "Microsoft Windows 2000");
    EXPECT_EQ(windowsName(5, 1), "Microsoft Windows XP");
}

TEST(WindowsVersionNames, LeaveAnUnlistedFiveEmptyAndCallLaterOnesNextGeneration) {
    EXPECT_EQ(windowsName(5, 2), "");
    EXPECT_EQ(windowsName(6, 0), "Next Generation Windows");
    EXPECT_EQ(windowsName(10, 0), "Next Generation Windows");
    EXPECT_EQ(windowsName(2, 0), "Next Generation Windows");
}

TEST(WindowsRevisionText, AddsTheBuildFromMajorVersionFive) {
    EXPECT_EQ(windowsRevisionText(4, 10, 1998), "Microsoft Windows version 4.10");
    EXPECT_EQ(windowsRevisionText(5, 1, 2600), "Microsoft Windows version 5.1.2600");
    EXPECT_EQ(windowsRevisionText(4, 0, 1381), "Microsoft Windows version 4.0");
    EXPECT_EQ(windowsRevisionText(6, 0, 6000), "Microsoft Windows version 6.0.6000");
}

TEST(WindowsRevisionText, ShowsBuildZeroWhenNoBuildWasRead) {
    // The build is read only for major version 5; a later version shows a
    // defined 0 rather than whatever the field happened to hold.
    OsInfo info{platform::OsFacts{}};
    info.majorVersion = 6;
    info.kernelName.clear();
    EXPECT_EQ(osRevisionText(info), "Microsoft Windows version 6.0.0");
}

TEST(SettingTexts, StandbyTimeoutInWholeMinutesOrDisabled) {
    EXPECT_EQ(standbyTimeoutText(900), "15 minute(s)");
    EXPECT_EQ(standbyTimeoutText(959), "15 minute(s)");
    EXPECT_EQ(standbyTimeoutText(0), "Standby Disabled");
    EXPECT_EQ(standbyModeText(true), "Enabled");
    EXPECT_EQ(standbyModeText(false), "Disabled");
}

TEST(SettingTexts, ServicePackNoneWhenEmpty) {
    EXPECT_EQ(servicePackText(""), "None");
    EXPECT_EQ(servicePackText("Service Pack 2"), "Service Pack 2");
}

TEST(SettingTexts, BootModesAndNetwork) {
    EXPECT_EQ(bootModeText(0), "Normal Boot");
    EXPECT_EQ(bootModeText(1), "Fail Safe boot");
    EXPECT_EQ(bootModeText(2), "Fail Safe with Network");
    EXPECT_EQ(bootModeText(3), "");
    EXPECT_EQ(networkStatusText(true), "Detected");
    EXPECT_EQ(networkStatusText(false), "Not Detected");
}

class LinuxOsInfoTest : public ::testing::Test {
protected:
    test::FakeOsFactsSource source_;
};

TEST_F(LinuxOsInfoTest, KernelVersionInTheRevisionFormat) {
    source_.release = "6.1.0-18-amd64";
    const OsInfo info(source_);
    EXPECT_EQ(info.majorVersion, 6);
    EXPECT_EQ(info.minorVersion, 1);
    EXPECT_EQ(info.buildNumber, 0);
    EXPECT_EQ(osRevisionText(info), "Linux version 6.1.0");
}

TEST_F(LinuxOsInfoTest, NamesTheDistributionFromPrettyName) {
    source_.file("/etc/os-release",
                 "NAME=\"Debian GNU/Linux\"\n"
                 "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
                 "ID=debian\n");
    EXPECT_EQ(OsInfo(source_).osName, "Debian GNU/Linux 12 (bookworm)");
}

TEST_F(LinuxOsInfoTest, FallsBackToNameWithoutPrettyName) {
    source_.file("/etc/os-release", "# minimal\nNAME='Tiny Linux'\nVERSION_ID=1\n");
    EXPECT_EQ(OsInfo(source_).osName, "Tiny Linux");
}

TEST_F(LinuxOsInfoTest, ReadsTheVendorCopyWhenEtcHasNone) {
    source_.file("/usr/lib/os-release", "PRETTY_NAME=\"Fedora Linux 40\"\n");
    EXPECT_EQ(OsInfo(source_).osName, "Fedora Linux 40");
}

TEST_F(LinuxOsInfoTest, UnreadableOsReleaseGivesTheKernelName) {
    EXPECT_EQ(OsInfo(source_).osName, "Linux");
}

TEST_F(LinuxOsInfoTest, HostUserAndFixedSettings) {
    const OsInfo info(source_);
    EXPECT_EQ(info.computerName, "bench-box");
    EXPECT_EQ(info.userName, "ada");
    EXPECT_EQ(info.systemDirectory, "/usr/lib");
    EXPECT_EQ(info.windowsDirectory, "/usr");
    EXPECT_EQ(info.bootMode, "Normal Boot");
    EXPECT_EQ(info.servicePack, "");
    EXPECT_EQ(info.standbyMode, "Disabled");
    EXPECT_EQ(info.standbyTimeout, 0);
    EXPECT_EQ(info.screenWidth, 0);
    EXPECT_EQ(info.screenHeight, 0);
    EXPECT_EQ(info.monitorCount, 0);
}

TEST_F(LinuxOsInfoTest, UserFromTheEnvironmentWithoutAPasswdEntry) {
    source_.passwdUser.clear();
    source_.variables["USER"] = "grace";
    EXPECT_EQ(OsInfo(source_).userName, "grace");
    source_.variables.clear();
    EXPECT_EQ(OsInfo(source_).userName, "");
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
};

TEST_F(DisplayAdapterTest, FirstCardGivesIdsDriverAndPciName) {
    addCard("card1", "0x1002", "0x73bf", "amdgpu");
    addCard("card0", "0x10de", "0x2206", "nouveau");
    source_.file("/sys/class/drm/card0-HDMI-A-1/status", "connected\n");
    source_.file("/sys/class/drm/renderD128/dev", "226:128\n");
    source_.dataFiles["PCIDef.dat"] =
        "V\t1002 Advanced Micro Devices, Inc. [AMD/ATI]\n"
        "D\t2206 Some AMD part\n"
        "V\t10DE NVIDIA Corporation\n"
        "D\t2206 GA102 [GeForce RTX 3080]\n";
    const OsInfo info(source_);
    EXPECT_EQ(info.adapterVendorId, 0x10DEu);
    EXPECT_EQ(info.adapterDeviceId, 0x2206u);
    EXPECT_EQ(info.adapterSubSysId, 0x86941043u);
    EXPECT_EQ(info.adapterDriver, "nouveau");
    EXPECT_EQ(info.adapterDescription, "NVIDIA Corporation GA102 [GeForce RTX 3080]");
}

TEST_F(DisplayAdapterTest, NeverBorrowsAnotherVendorsDeviceName) {
    addCard("card0", "0x10de", "0x1237", "nouveau");
    source_.dataFiles["PCIDef.dat"] =
        "V\t8086 Intel Corporation\nD\t1237 440FX - 82441FX PMC [Natoma]\n"
        "V\t10DE NVIDIA Corporation\nD\t2206 GA102\n";
    EXPECT_EQ(OsInfo(source_).adapterDescription, "nouveau");
}

TEST_F(DisplayAdapterTest, CardsAreOrderedByNumberNotByText) {
    addCard("card10", "0x1002", "0x73bf", "amdgpu");
    addCard("card2", "0x8086", "0x46a6", "i915");
    EXPECT_EQ(OsInfo(source_).adapterDriver, "i915");
}

TEST_F(DisplayAdapterTest, DescriptionIsTheDriverWhenThePciNamesDoNotKnowTheDevice) {
    addCard("card0", "0x8086", "0x46a6", "i915");
    EXPECT_EQ(OsInfo(source_).adapterDescription, "i915");
    source_.dataFiles["PCIDef.dat"] = "V\t8086 Intel Corporation\nD\t1234 Other\n";
    EXPECT_EQ(OsInfo(source_).adapterDescription, "i915");
}

TEST_F(DisplayAdapterTest, NoDisplayDeviceLeavesTheAdapterEmpty) {
    source_.file("/sys/class/drm/version", "drm 1.1.0 20060810\n");
    const OsInfo info(source_);
    EXPECT_EQ(info.adapterDescription, "");
    EXPECT_EQ(info.adapterDriver, "");
    EXPECT_EQ(info.adapterVendorId, 0u);
    EXPECT_EQ(info.adapterDeviceId, 0u);
    EXPECT_EQ(info.adapterSubSysId, 0u);
}

TEST_F(DisplayAdapterTest, UnreadableOrDamagedIdsReadAsZero) {
    source_.file("/sys/class/drm/card0/device/vendor", "garbage\n");
    source_.file("/sys/class/drm/card0/device/device", "0x123456789\n");
    source_.links["/sys/class/drm/card0/device/driver"] = "../simpledrm";
    const OsInfo info(source_);
    EXPECT_EQ(info.adapterVendorId, 0u);
    EXPECT_EQ(info.adapterDeviceId, 0u);
    EXPECT_EQ(info.adapterSubSysId, 0u);
    EXPECT_EQ(info.adapterDriver, "simpledrm");
    EXPECT_EQ(info.adapterDescription, "simpledrm");
}

}  // namespace
}  // namespace veltrane::ident

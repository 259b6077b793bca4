#include <gtest/gtest.h>

#include "FakeOsFactsSource.h"
#include "ident/OsInfo.h"

namespace veltrane::ident {
namespace {

TEST(WindowsVersionNames, NamesAndRevisionTextsWithTheBuildFromMajorVersionFive) {
    const struct {
        std::int32_t major, minor, build;
        const char *name, *revision;
    } cases[] = {
        {4, 10, 1998, "Microsoft Windows 98", "Microsoft Windows version 4.10"},
        {5, 1, 2600, "Microsoft Windows XP", "Microsoft Windows version 5.1.2600"},
        {4, 0, 1381, "Microsoft Windows NT 4.0", "Microsoft Windows version 4.0"},
        {6, 0, 6000, "Next Generation Windows", "Microsoft Windows version 6.0.6000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(windowsName(c.major, c.minor), c.name);
        EXPECT_EQ(windowsRevisionText(c.major, c.minor, c.build), c.revision);
    }
    EXPECT_EQ(windowsName(4, 3), "MS Windows 4.0");
    EXPECT_EQ(windowsName(5, 2), "");
    EXPECT_EQ(windowsName(2, 0), "Next Generation Windows");
}

TEST(WindowsVersionNames, RevisionShowsBuildZeroWhenNoBuildWasRead) {
    // The build is read only for major version 5; a later version shows a
    // defined 0 rather than whatever the field happened to hold.
    OsInfo info{platform::OsFacts{}};
    info.majorVersion = 6;
    info.kernelName.clear();
    EXPECT_EQ(osRevisionText(info), "Microsoft Windows version 6.0.0");
}

TEST(SettingTexts, StandbyAndServicePack) {
    EXPECT_EQ(standbyTimeoutText(900), "15 minute(s)");
    EXPECT_EQ(standbyTimeoutText(959), "15 minute(s)");
    EXPECT_EQ(standbyTimeoutText(0), "Standby Disabled");
    EXPECT_EQ(standbyModeText(true), "Enabled");
    EXPECT_EQ(servicePackText(""), "None");
    EXPECT_EQ(servicePackText("Service Pack 2"), "Service Pack 2");
    EXPECT_EQ(bootModeText(3), "");
}

class LinuxOsInfoTest : public ::testing::Test {
protected:
    test::FakeOsFactsSource source_;
};

TEST_F(LinuxOsInfoTest, KernelVersionHostAndUser) {
    const OsInfo info(source_);
    EXPECT_EQ(info.majorVersion, 6);
    EXPECT_EQ(info.minorVersion, 1);
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
}

TEST_F(LinuxOsInfoTest, NamesTheDistributionFromOsRelease) {
    EXPECT_EQ(OsInfo(source_).osName, "Linux");  // unreadable: the kernel's name
    source_.file("/usr/lib/os-release", "PRETTY_NAME=\"Fedora Linux 40\"\n");
    EXPECT_EQ(OsInfo(source_).osName, "Fedora Linux 40");
    source_.file("/etc/os-release", "# minimal\nNAME='Tiny Linux'\nVERSION_ID=1\n");
    EXPECT_EQ(OsInfo(source_).osName, "Tiny Linux");
    source_.file("/etc/os-release",
                 "NAME=\"Debian GNU/Linux\"\n"
                 "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n");
    EXPECT_EQ(OsInfo(source_).osName, "Debian GNU/Linux 12 (bookworm)");
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

TEST_F(DisplayAdapterTest, FirstCardByNumberGivesIdsDriverAndPciName) {
    addCard("card10", "0x1002", "0x73bf", "amdgpu");  // before card2 as text, not as number
    addCard("card2", "0x10de", "0x2206", "nouveau");
    source_.file("/sys/class/drm/card2-HDMI-A-1/status", "connected\n");
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
    source_.dataFiles.clear();  // no names file at all
    EXPECT_EQ(OsInfo(source_).adapterDescription, "nouveau");
}

TEST_F(DisplayAdapterTest, NoDisplayDeviceLeavesTheAdapterEmptyAndDamagedIdsReadAsZero) {
    source_.file("/sys/class/drm/version", "drm 1.1.0 20060810\n");
    const OsInfo none(source_);
    EXPECT_EQ(none.adapterDescription, "");
    EXPECT_EQ(none.adapterDriver, "");
    EXPECT_EQ(none.adapterVendorId, 0u);
    EXPECT_EQ(none.adapterSubSysId, 0u);
    source_.file("/sys/class/drm/card0/device/vendor", "garbage\n");
    source_.file("/sys/class/drm/card0/device/device", "0x123456789\n");
    source_.links["/sys/class/drm/card0/device/driver"] = "../simpledrm";
    const OsInfo damaged(source_);
    EXPECT_EQ(damaged.adapterVendorId, 0u);
    EXPECT_EQ(damaged.adapterDeviceId, 0u);
    EXPECT_EQ(damaged.adapterSubSysId, 0u);
    EXPECT_EQ(damaged.adapterDescription, "simpledrm");
}

}  // namespace
}  // namespace veltrane::ident

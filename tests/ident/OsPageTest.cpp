#include <gtest/gtest.h>

#include <map>

#include "FakeOsFactsSource.h"
#include "ident/OsPage.h"

namespace veltrane::ident {
namespace {

class OsPageTest : public ::testing::Test {
protected:
    OsPageTest() {
        os_.majorVersion = 5;
        os_.minorVersion = 1;
        os_.buildNumber = 2600;
        os_.standbyTimeout = 900;
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

    // The page's values by label.
    std::map<std::string, std::string> page() {
        std::map<std::string, std::string> values;
        for (const auto& row : osPageRows(os_, MemoryInfo(memory_))) {
            values[row.label] = row.value;
        }
        return values;
    }

    OsInfo os_{platform::OsFacts{}};
    platform::MemoryFacts memory_;
};

TEST_F(OsPageTest, RevisionOfTheOriginalPlatformAndOfLinux) {
    os_.kernelName.clear();
    EXPECT_EQ(page()["OS Revision :"], "Microsoft Windows version 5.1.2600");
    os_.kernelName = "Linux";
    os_.majorVersion = 6;
    os_.buildNumber = 0;
    EXPECT_EQ(page()["OS Revision :"], "Linux version 6.1.0");
}

TEST_F(OsPageTest, SystemAndDisplayTexts) {
    auto values = page();
    EXPECT_EQ(values["Service Pack :"], "None");
    EXPECT_EQ(values["Standby Timeout:"], "15 minute(s)");
    EXPECT_EQ(values["Vendor ID(D3D):"], "10DE");
    EXPECT_EQ(values["Device ID(D3D) :"], "253");
    EXPECT_EQ(values["Subsystem ID:"], "1043807F");
    EXPECT_EQ(values["Current resolution:"], "1024x768  pixels");
    EXPECT_EQ(values["N\u00B0 of monitors:"], "2 Monitor(s)");
    os_ = OsInfo(test::FakeOsFactsSource{});  // no window system
    values = page();
    EXPECT_EQ(values["Current resolution:"], "0x0  pixels");
    EXPECT_EQ(values["Vendor ID(D3D):"], "0");
}

TEST_F(OsPageTest, MemoryTexts) {
    auto values = page();
    EXPECT_EQ(values["Physical Memory:"], "262144 KByte (256 MByte)");
    EXPECT_EQ(values["Available Memory:"], "100 MByte");
    EXPECT_EQ(values["Page File Size:"], "512 MByte");
    EXPECT_EQ(values["Page File Avail.:"], "384 MByte");
    EXPECT_EQ(values["User Size:"], "2047 MByte");
    EXPECT_EQ(values["User Available:"], "1023 MByte");
    EXPECT_EQ(values["Min. App Address :"], "0x10000");
    EXPECT_EQ(values["Max App. Address:"], "0x7FFEFFFF");
    EXPECT_EQ(values["Alloc. Granularity:"], "65536 Byte");
    EXPECT_EQ(values["Mem Loaded:"], "31 %");
    EXPECT_EQ(values["Page File Load:"], "25 %");
    EXPECT_EQ(values["User Resources:"], "50 %");
}

TEST_F(OsPageTest, LargeMachinesPrintWhole) {
    memory_.status.totalPhys = std::uint64_t{4} << 40;  // 4 TB: KB beyond 32 bits
    memory_.system.maximumApplicationAddress = 0x7FFFFFFFEFFF;
    auto values = page();
    EXPECT_EQ(values["Physical Memory:"], "4294968320 KByte (4194305 MByte)");
    EXPECT_EQ(values["Max App. Address:"], "0x7FFFFFFFEFFF");
}

}  // namespace
}  // namespace veltrane::ident

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

    // The values of the given labels, joined by '|'.
    std::string values(std::initializer_list<const char*> labels) {
        std::map<std::string, std::string> byLabel;
        for (const auto& row : osPageRows(os_, MemoryInfo(memory_))) {
            byLabel[row.label] = row.value;
        }
        std::string text;
        for (const char* label : labels) {
            text += "|" + byLabel.at(label);
        }
        return text.substr(1);
    }

    OsInfo os_{platform::OsFacts{}};
    platform::MemoryFacts memory_;
};

TEST_F(OsPageTest, RevisionOfTheOriginalPlatformAndOfLinux) {
    os_.kernelName.clear();
    EXPECT_EQ(values({"OS Revision :"}), "Microsoft Windows version 5.1.2600");
    os_.kernelName = "Linux";
    os_.majorVersion = 6;
    os_.buildNumber = 0;
    EXPECT_EQ(values({"OS Revision :"}), "Linux version 6.1.0");
}

TEST_F(OsPageTest, SystemDisplayAndMemoryTexts) {
    EXPECT_EQ(values({"Service Pack :", "Standby Timeout:", "Vendor ID(D3D):", "Device ID(D3D) :",
                      "Subsystem ID:", "Current resolution:", "N\u00B0 of monitors:"}),
              "None|15 minute(s)|10DE|253|1043807F|1024x768  pixels|2 Monitor(s)");
    EXPECT_EQ(values({"Physical Memory:", "Available Memory:", "Page File Size:",
                      "Page File Avail.:", "User Size:", "User Available:"}),
              "262144 KByte (256 MByte)|100 MByte|512 MByte|384 MByte|2047 MByte|1023 MByte");
    EXPECT_EQ(values({"Min. App Address :", "Max App. Address:", "Alloc. Granularity:",
                      "Mem Loaded:", "Page File Load:", "User Resources:"}),
              "0x10000|0x7FFEFFFF|65536 Byte|31 %|25 %|50 %");
    os_ = OsInfo(test::FakeOsFactsSource{});  // no window system
    EXPECT_EQ(values({"Current resolution:", "Vendor ID(D3D):", "Standby Timeout:"}),
              "0x0  pixels|0|Standby Disabled");
}

TEST_F(OsPageTest, LargeMachinesPrintWhole) {
    memory_.status.totalPhys = std::uint64_t{4} << 40;  // 4 TB: KB beyond 32 bits
    memory_.system.maximumApplicationAddress = 0x7FFFFFFFEFFF;
    EXPECT_EQ(values({"Physical Memory:", "Max App. Address:"}),
              "4294968320 KByte (4194305 MByte)|0x7FFFFFFFEFFF");
}

}  // namespace
}  // namespace veltrane::ident

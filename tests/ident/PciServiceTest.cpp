#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PciFakes.h"
#include "ident/ServiceInstaller.h"

namespace veltrane::ident {
namespace {

const char* const kKey = "System\\CurrentControlSet\\Services\\pciinfo";

class PciServiceInstaller : public ::testing::Test {
protected:
    void setUpDriver(ServiceInstaller& installer, std::uint32_t startType = 2) {
        installer.setup("pciinfo", "PCIINFO", startType, "", false);
    }

    test::RecordingServiceManager services_;
};

TEST_F(PciServiceInstaller, FirstInstallationWritesTheSixValuesTheSecondWarnsAndRewrites) {
    {
        ServiceInstaller first(services_);
        setUpDriver(first, 3);
        EXPECT_TRUE(first.installInRegistry());
        EXPECT_FALSE(first.hasMessage());
        EXPECT_EQ(first.messages, "");
    }
    const struct {
        const char* name;
        std::uint32_t type;
        std::string data;
    } expected[] = {
        {"Start", platform::kRegDword, std::string("\3\0\0\0", 4)},
        {"Type", platform::kRegDword, std::string("\1\0\0\0", 4)},
        {"ErrorControl", platform::kRegDword, std::string("\1\0\0\0", 4)},
        {"Group", platform::kRegSz, std::string("Extended Base\0", 14)},
        {"ImagePath", platform::kRegSz,
         std::string("\\SystemRoot\\System32\\drivers\\PCIINFO.SYS\0", 41)},
        {"DisplayName", platform::kRegSz, std::string("pciinfo\0\0\0", 10)},
    };
    for (const auto& value : expected) {
        const auto found = services_.queryValue(kKey, value.name);
        ASSERT_TRUE(found.has_value()) << value.name;
        EXPECT_EQ(found->type, value.type) << value.name;
        EXPECT_EQ(std::string(found->data.begin(), found->data.end()), value.data) << value.name;
    }
    ServiceInstaller second(services_);
    setUpDriver(second, 2);
    EXPECT_TRUE(second.installInRegistry());
    EXPECT_EQ(second.messages, "pciinfo already exists in Win-NT registry\n");
    EXPECT_TRUE(second.hasWarning());
    EXPECT_FALSE(second.hasError());
    EXPECT_EQ(services_.queryValue(kKey, "Start")->data, (std::vector<std::uint8_t>{2, 0, 0, 0}));
}

TEST_F(PciServiceInstaller, AKeyOrValueThatCannotBeWrittenIsAnError) {
    services_.failCreateKey = true;
    ServiceInstaller installer(services_);
    setUpDriver(installer);
    EXPECT_FALSE(installer.installInRegistry());
    EXPECT_EQ(installer.messages, "Cannot open registry key\n");
    EXPECT_TRUE(installer.hasError());
    services_.failCreateKey = false;
    services_.failSetValue = true;
    EXPECT_FALSE(installer.installInRegistry());
    EXPECT_EQ(installer.messages, "Cannot write registry value\n");
    EXPECT_TRUE(installer.hasError());
}

TEST_F(PciServiceInstaller, AManagerThatCannotBeOpenedIsLoggedAndItsStepsFailQuietly) {
    services_.failOpenManager = true;
    ServiceInstaller installer(services_);
    EXPECT_EQ(installer.messages, "Cannot open service control manager\n");
    EXPECT_TRUE(installer.hasError());
    setUpDriver(installer);
    EXPECT_FALSE(installer.start());
    EXPECT_FALSE(installer.stop());
    // The registry needs no manager; registering starts a fresh log.
    EXPECT_TRUE(installer.installInRegistry());
    EXPECT_FALSE(installer.hasMessage());
}

TEST_F(PciServiceInstaller, TheDriverStartsAndStopsAndStoppingAStoppedOneSucceeds) {
    {
        ServiceInstaller installer(services_);
        setUpDriver(installer);
        EXPECT_TRUE(installer.start());
        EXPECT_TRUE(services_.isRunning("pciinfo"));
        EXPECT_FALSE(installer.start());  // already running
        EXPECT_TRUE(installer.stop());
        EXPECT_FALSE(services_.isRunning("pciinfo"));
        EXPECT_TRUE(installer.stop());               // 1062, not active, counts as stopped
        EXPECT_EQ(services_.openHandleCount(), 1u);  // the manager
        services_.stopError = 1061;                  // cannot accept control
        EXPECT_FALSE(installer.stop());
        installer.setup("nosuch", "NOSUCH", 2, "", false);
        EXPECT_FALSE(installer.start());
        EXPECT_FALSE(installer.stop());
    }
    EXPECT_EQ(services_.openHandleCount(), 0u);
}

TEST_F(PciServiceInstaller,
       RemoveCountsMarkedForDeleteAsSuccessAndThroughTheRegistryDeletesTheKey) {
    ServiceInstaller installer(services_);
    setUpDriver(installer);
    EXPECT_TRUE(installer.remove());
    services_.deleteError = platform::kErrorServiceMarkedForDelete;
    EXPECT_TRUE(installer.remove());
    services_.deleteError = 5;  // access denied
    EXPECT_FALSE(installer.remove());
    // Through the registry: the key goes, and a missing one is reported.
    installer.setup("pciinfo", "PCIINFO", 2, "", true);
    ASSERT_TRUE(installer.install());
    EXPECT_TRUE(services_.keyExists(kKey));
    EXPECT_TRUE(installer.remove());
    EXPECT_FALSE(services_.keyExists(kKey));
    EXPECT_FALSE(installer.remove());
    EXPECT_EQ(installer.messages, "pciinfo does not exist in Win-NT registry\n");
}

TEST_F(PciServiceInstaller, InstallThroughTheManagerCreatesAKernelDriverService) {
    ServiceInstaller installer(services_);
    installer.setup("mydrv", "MYDRV", 3, "\\??\\C:\\mydrv.sys", false);
    EXPECT_TRUE(installer.install());
    ASSERT_TRUE(services_.lastCreated.has_value());
    EXPECT_EQ(services_.lastCreated->displayName, "mydrv");  // the service name doubles as it
    EXPECT_EQ(services_.lastCreated->serviceType, platform::kServiceKernelDriver);
    EXPECT_EQ(services_.lastCreated->startType, 3u);
    EXPECT_EQ(services_.lastCreated->binaryPath, "\\??\\C:\\mydrv.sys");
    EXPECT_EQ(services_.openHandleCount(), 1u);  // the created service's handle is closed
    EXPECT_FALSE(installer.install());           // it exists now
}

TEST_F(PciServiceInstaller, NamesAndTheMessageLogStopAtTheirCapacity) {
    ServiceInstaller installer(services_);
    installer.setNames(std::string(1500, 'n'), "D", "");
    EXPECT_EQ(installer.serviceName.size(), ServiceInstaller::kNameCapacity - 1);
    EXPECT_EQ(installer.imagePath, "\\SystemRoot\\System32\\drivers\\D.SYS");
    installer.setNames("s", std::string(1500, 'd'), "");
    EXPECT_EQ(installer.imagePath.size(), ServiceInstaller::kNameCapacity - 1);
    for (int i = 0; i < 100; ++i) {
        installer.addWarning(" already exists in Win-NT registry\n");
    }
    EXPECT_EQ(installer.messages.size(), ServiceInstaller::kMessagesCapacity - 1);
    installer.addError("Cannot open registry key\n");
    EXPECT_TRUE(installer.hasError());
    installer.clearMessages();
    EXPECT_EQ(installer.messages, "");
    EXPECT_FALSE(installer.hasMessage());
}

TEST(PciServiceManager, RegistryPathsAndServiceNamesIgnoreCase) {
    platform::InProcessServiceManager services;
    const auto key = services.createKey("SYSTEM\\CurrentControlSet\\Services\\PCIINFO");
    EXPECT_EQ(key.disposition, platform::kRegCreatedNewKey);
    services.closeKey(key.key);
    EXPECT_EQ(services.createKey(kKey).disposition, platform::kRegOpenedExistingKey);
    const auto manager = services.openManager();
    EXPECT_NE(services.openService(manager, "PciInfo"), 0u);
    EXPECT_EQ(services.openService(manager, "other"), 0u);
    EXPECT_EQ(services.lastError(), platform::kErrorServiceDoesNotExist);
}

TEST(PciServiceManager, TheProcessWideManagerKeepsWhatAnEarlierInstallerWrote) {
    {
        ServiceInstaller first(platform::processServiceManager());
        first.setup("veltrane-test", "VTEST", 2, "", false);
        ASSERT_TRUE(first.installInRegistry());
    }
    ServiceInstaller second(platform::processServiceManager());
    second.setup("veltrane-test", "VTEST", 2, "", false);
    second.installInRegistry();
    EXPECT_TRUE(second.hasWarning());
    EXPECT_TRUE(second.removeFromRegistry());
}

}  // namespace
}  // namespace veltrane::ident

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
    // An installer set up for the driver, through the manager or the registry.
    std::unique_ptr<ServiceInstaller> installer(std::uint32_t startType = 2,
                                                bool useRegistry = false) {
        auto made = std::make_unique<ServiceInstaller>(services_);
        made->setup("pciinfo", "PCIINFO", startType, "", useRegistry);
        return made;
    }

    test::RecordingServiceManager services_;
};

TEST_F(PciServiceInstaller, FirstInstallationWritesTheSixValuesTheSecondWarnsAndRewrites) {
    const auto first = installer(3);
    EXPECT_TRUE(first->installInRegistry());
    EXPECT_FALSE(first->hasMessage());
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
    const auto second = installer(2);
    EXPECT_TRUE(second->installInRegistry());
    EXPECT_EQ(second->messages, "pciinfo already exists in Win-NT registry\n");
    EXPECT_TRUE(second->hasWarning() && !second->hasError());
    EXPECT_EQ(services_.queryValue(kKey, "Start")->data, (std::vector<std::uint8_t>{2, 0, 0, 0}));
}

TEST_F(PciServiceInstaller, FailuresOfTheRegistryAndTheManagerAreLoggedAsErrors) {
    const auto driver = installer();
    services_.failCreateKey = true;
    EXPECT_FALSE(driver->installInRegistry());
    EXPECT_EQ(driver->messages, "Cannot open registry key\n");
    EXPECT_TRUE(driver->hasError());
    services_.failCreateKey = false;
    services_.failSetValue = true;
    EXPECT_FALSE(driver->installInRegistry());
    EXPECT_EQ(driver->messages, "Cannot write registry value\n");  // a fresh log each time
    EXPECT_TRUE(driver->hasError());

    services_.failSetValue = false;
    services_.failOpenManager = true;
    const auto noManager = installer();
    EXPECT_EQ(noManager->messages, "Cannot open service control manager\n");
    EXPECT_TRUE(noManager->hasError());
    EXPECT_FALSE(noManager->start() || noManager->stop());
    EXPECT_TRUE(noManager->installInRegistry());  // the registry needs no manager
}

TEST_F(PciServiceInstaller, TheDriverStartsAndStopsAndStoppingAStoppedOneSucceeds) {
    {
        const auto driver = installer();
        EXPECT_TRUE(driver->start());
        EXPECT_TRUE(services_.isRunning("pciinfo"));
        EXPECT_FALSE(driver->start());  // already running
        EXPECT_TRUE(driver->stop());
        EXPECT_FALSE(services_.isRunning("pciinfo"));
        EXPECT_TRUE(driver->stop());                 // 1062, not active, counts as stopped
        EXPECT_EQ(services_.openHandleCount(), 1u);  // the manager
        services_.stopError = 1061;                  // cannot accept control
        EXPECT_FALSE(driver->stop());
        driver->setup("nosuch", "NOSUCH", 2, "", false);
        EXPECT_FALSE(driver->start() || driver->stop());
    }
    EXPECT_EQ(services_.openHandleCount(), 0u);
}

TEST_F(PciServiceInstaller, InstallAndRemoveThroughTheManagerOrTheRegistry) {
    ServiceInstaller other(services_);
    other.setup("mydrv", "MYDRV", 3, "\\??\\C:\\mydrv.sys", false);
    EXPECT_TRUE(other.install());
    ASSERT_TRUE(services_.lastCreated.has_value());
    EXPECT_EQ(services_.lastCreated->displayName, "mydrv");  // the service name doubles as it
    EXPECT_EQ(services_.lastCreated->serviceType, platform::kServiceKernelDriver);
    EXPECT_EQ(services_.lastCreated->startType, 3u);
    EXPECT_EQ(services_.lastCreated->binaryPath, "\\??\\C:\\mydrv.sys");
    EXPECT_EQ(services_.openHandleCount(), 1u);  // the created service's handle is closed
    EXPECT_FALSE(other.install());               // it exists now

    const auto driver = installer();
    EXPECT_TRUE(driver->remove());
    services_.deleteError = platform::kErrorServiceMarkedForDelete;
    EXPECT_TRUE(driver->remove());
    services_.deleteError = 5;  // access denied
    EXPECT_FALSE(driver->remove());
    const auto registry = installer(2, true);
    ASSERT_TRUE(registry->install());
    EXPECT_TRUE(services_.keyExists(kKey));
    EXPECT_TRUE(registry->remove());
    EXPECT_FALSE(services_.keyExists(kKey));
    EXPECT_FALSE(registry->remove());
    EXPECT_EQ(registry->messages, "pciinfo does not exist in Win-NT registry\n");
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
}

TEST(PciServiceManager, NamesIgnoreCaseAndTheProcessWideManagerKeepsItsKeys) {
    platform::InProcessServiceManager services;
    const auto key = services.createKey("SYSTEM\\CurrentControlSet\\Services\\PCIINFO");
    EXPECT_EQ(key.disposition, platform::kRegCreatedNewKey);
    services.closeKey(key.key);
    EXPECT_EQ(services.createKey(kKey).disposition, platform::kRegOpenedExistingKey);
    const auto manager = services.openManager();
    EXPECT_NE(services.openService(manager, "PciInfo"), 0u);
    EXPECT_EQ(services.openService(manager, "other"), 0u);
    EXPECT_EQ(services.lastError(), platform::kErrorServiceDoesNotExist);

    ServiceInstaller first(platform::processServiceManager());
    first.setup("veltrane-test", "VTEST", 2, "", false);
    ASSERT_TRUE(first.installInRegistry());
    ServiceInstaller second(platform::processServiceManager());
    second.setup("veltrane-test", "VTEST", 2, "", false);
    second.installInRegistry();
    EXPECT_TRUE(second.hasWarning());
    EXPECT_TRUE(second.removeFromRegistry());
}

}  // namespace
}  // namespace veltrane::ident

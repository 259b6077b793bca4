#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PciFakes.h"
#include "ident/ServiceInstaller.h"

namespace veltrane::ident {
namespace {

using platform::RegistryValue;

const char* const kKey = "System\\CurrentControlSet\\Services\\pciinfo";

std::vector<std::uint8_t> bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> bytes(std::initializer_list<std::uint8_t> list) {
    return list;
}

class PciServiceInstaller : public ::testing::Test {
protected:
    void setUpDriver(ServiceInstaller& installer, std::uint32_t startType = 2) {
        installer.setup("pciinfo", "PCIINFO", startType, "", false);
    }

    RegistryValue value(const std::string& name) {
        const auto found = services_.queryValue(kKey, name);
        EXPECT_TRUE(found.has_value()) << name;
        return found.value_or(RegistryValue{});
    }

    test::RecordingServiceManager services_;
};

TEST_F(PciServiceInstaller, FirstInstallationWritesTheSixValuesWithoutMessages) {
    ServiceInstaller installer(services_);
    setUpDriver(installer);
    EXPECT_TRUE(installer.installInRegistry());
    EXPECT_FALSE(installer.hasMessage());
    EXPECT_EQ(installer.messages, "");

    EXPECT_EQ(value("Start").type, platform::kRegDword);
    EXPECT_EQ(value("Start").data, bytes({2, 0, 0, 0}));
    EXPECT_EQ(value("Type").type, platform::kRegDword);
    EXPECT_EQ(value("Type").data, bytes({1, 0, 0, 0}));
    EXPECT_EQ(value("ErrorControl").type, platform::kRegDword);
    EXPECT_EQ(value("ErrorControl").data, bytes({1, 0, 0, 0}));
    EXPECT_EQ(value("Group").type, platform::kRegSz);
    EXPECT_EQ(value("Group").data, bytes(std::string("Extended Base\0", 14)));
    EXPECT_EQ(value("ImagePath").type, platform::kRegSz);
    EXPECT_EQ(value("ImagePath").data,
              bytes(std::string("\\SystemRoot\\System32\\drivers\\PCIINFO.SYS\0", 41)));
    EXPECT_EQ(value("DisplayName").type, platform::kRegSz);
    EXPECT_EQ(value("DisplayName").data, bytes(std::string("pciinfo\0\0\0", 10)));
}

TEST_F(PciServiceInstaller, SecondInstallationWarnsThatTheKeyExistsAndRewritesTheValues) {
    {
        ServiceInstaller first(services_);
        setUpDriver(first, 3);
        ASSERT_TRUE(first.installInRegistry());
    }
    ServiceInstaller second(services_);
    setUpDriver(second, 2);
    EXPECT_TRUE(second.installInRegistry());
    EXPECT_EQ(second.messages, "pciinfo already exists in Win-NT registry\n");
    EXPECT_TRUE(second.hasWarning());
    EXPECT_FALSE(second.hasError());
    EXPECT_TRUE(second.hasMessage());
    EXPECT_EQ(value("Start").data, bytes({2, 0, 0, 0}));
}

TEST_F(PciServiceInstaller, AKeyThatCannotBeCreatedIsAnErrorAndNoValueIsWritten) {
    services_.failCreateKey = true;
    ServiceInstaller installer(services_);
    setUpDriver(installer);
    EXPECT_FALSE(installer.installInRegistry());
    EXPECT_EQ(installer.messages, "Cannot open registry key\n");
    EXPECT_TRUE(installer.hasError());
    for (const auto& call : services_.calls) {
        EXPECT_NE(call.rfind("setValue", 0), 0u) << call;
    }
}

TEST_F(PciServiceInstaller, AFailedValueWriteIsNotReportedAsSuccess) {
    services_.failSetValue = true;
    ServiceInstaller installer(services_);
    setUpDriver(installer);
    EXPECT_FALSE(installer.installInRegistry());
    EXPECT_TRUE(installer.hasError());
    EXPECT_EQ(installer.messages, "Cannot write registry value\n");
}

TEST_F(PciServiceInstaller, AManagerThatCannotBeOpenedIsLoggedAndItsStepsFailQuietly) {
    services_.failOpenManager = true;
    ServiceInstaller installer(services_);
    EXPECT_EQ(installer.manager, 0u);
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
    ServiceInstaller installer(services_);
    setUpDriver(installer);
    EXPECT_TRUE(installer.start());
    EXPECT_TRUE(services_.isRunning("pciinfo"));
    EXPECT_FALSE(installer.start());  // already running
    EXPECT_TRUE(installer.stop());
    EXPECT_FALSE(services_.isRunning("pciinfo"));
    EXPECT_TRUE(installer.stop());  // not active counts as stopped
}

TEST_F(PciServiceInstaller, StopFailsOnAnyOtherErrorAndForAnUnknownService) {
    ServiceInstaller installer(services_);
    setUpDriver(installer);
    services_.stopError = 1061;  // cannot accept control
    EXPECT_FALSE(installer.stop());
    installer.setup("nosuch", "NOSUCH", 2, "", false);
    EXPECT_FALSE(installer.start());
    EXPECT_FALSE(installer.stop());
}

TEST_F(PciServiceInstaller, StartAndStopCloseTheServiceHandleTheyOpen) {
    {
        ServiceInstaller installer(services_);
        setUpDriver(installer);
        installer.start();
        installer.stop();
        EXPECT_EQ(services_.openHandleCount(), 1u);  // the manager
    }
    EXPECT_EQ(services_.openHandleCount(), 0u);
}

TEST_F(PciServiceInstaller, RemoveCountsMarkedForDeleteAsSuccess) {
    ServiceInstaller installer(services_);
    setUpDriver(installer);
    EXPECT_TRUE(installer.remove());
    services_.deleteError = platform::kErrorServiceMarkedForDelete;
    EXPECT_TRUE(installer.remove());
    services_.deleteError = 5;  // access denied
    EXPECT_FALSE(installer.remove());
}

TEST_F(PciServiceInstaller, RemoveThroughTheRegistryDeletesTheKeyAndReportsAMissingOne) {
    ServiceInstaller installer(services_);
    installer.setup("pciinfo", "PCIINFO", 2, "", true);
    ASSERT_TRUE(installer.install());
    EXPECT_TRUE(services_.keyExists(kKey));
    EXPECT_TRUE(installer.remove());
    EXPECT_FALSE(services_.keyExists(kKey));
    EXPECT_FALSE(installer.remove());
    EXPECT_EQ(installer.messages, "pciinfo does not exist in Win-NT registry\n");
    EXPECT_TRUE(installer.hasError());
}

TEST_F(PciServiceInstaller, InstallThroughTheManagerCreatesAKernelDriverService) {
    ServiceInstaller installer(services_);
    installer.setup("mydrv", "MYDRV", 3, "\\??\\C:\\mydrv.sys", false);
    EXPECT_TRUE(installer.install());
    ASSERT_TRUE(services_.lastCreated.has_value());
    const auto& created = *services_.lastCreated;
    EXPECT_EQ(created.name, "mydrv");
    EXPECT_EQ(created.displayName, "mydrv");  // the service name doubles as display name
    EXPECT_EQ(created.desiredAccess, platform::kServiceAllAccess);
    EXPECT_EQ(created.serviceType, platform::kServiceKernelDriver);
    EXPECT_EQ(created.startType, 3u);
    EXPECT_EQ(created.errorControl, platform::kServiceErrorNormal);
    EXPECT_EQ(created.binaryPath, "\\??\\C:\\mydrv.sys");
    EXPECT_EQ(services_.openHandleCount(), 1u);  // the created service's handle is closed
    EXPECT_FALSE(installer.install());           // it exists now
}

TEST_F(PciServiceInstaller, NamesLongerThanTheirFieldsAreCut) {
    ServiceInstaller installer(services_);
    installer.setNames(std::string(1500, 'n'), "D", "");
    EXPECT_EQ(installer.serviceName.size(), ServiceInstaller::kNameCapacity - 1);
    EXPECT_EQ(installer.imagePath, "\\SystemRoot\\System32\\drivers\\D.SYS");
    installer.setNames("s", std::string(1500, 'd'), "");
    EXPECT_EQ(installer.imagePath.size(), ServiceInstaller::kNameCapacity - 1);
}

TEST_F(PciServiceInstaller, TheMessageLogStopsAtItsCapacityAndClearResetsTheFlags) {
    ServiceInstaller installer(services_);
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

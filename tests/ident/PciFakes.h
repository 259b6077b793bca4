#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/PciConfig.h"
#include "platform/ServiceManager.h"

namespace veltrane::test {

// The in-memory service manager with a log of the calls that start and stop
// things, and switches that make single calls fail the way the original
// platform's could.
class RecordingServiceManager : public platform::InProcessServiceManager {
public:
    std::vector<std::string> calls;
    std::optional<platform::ServiceConfig> lastCreated;
    bool failOpenManager = false;
    bool failCreateKey = false;
    bool failSetValue = false;
    std::optional<std::uint32_t> stopError;
    std::optional<std::uint32_t> deleteError;

    platform::ServiceHandle openManager() override {
        calls.push_back("openManager");
        return failOpenManager ? 0 : InProcessServiceManager::openManager();
    }
    platform::ServiceHandle createService(platform::ServiceHandle manager,
                                          const platform::ServiceConfig& config) override {
        lastCreated = config;
        return InProcessServiceManager::createService(manager, config);
    }
    std::uint32_t startService(platform::ServiceHandle service) override {
        calls.push_back("startService");
        return InProcessServiceManager::startService(service);
    }
    std::uint32_t stopService(platform::ServiceHandle service) override {
        calls.push_back("stopService");
        return stopError ? *stopError : InProcessServiceManager::stopService(service);
    }
    std::uint32_t deleteService(platform::ServiceHandle service) override {
        return deleteError ? *deleteError : InProcessServiceManager::deleteService(service);
    }
    platform::RegistryKeyOpen createKey(const std::string& path) override {
        return failCreateKey ? platform::RegistryKeyOpen{platform::kErrorFileNotFound, 0, 0}
                             : InProcessServiceManager::createKey(path);
    }
    std::uint32_t setValue(platform::ServiceHandle key, const std::string& name,
                           const platform::RegistryValue& value) override {
        return failSetValue ? platform::kErrorInvalidHandle
                            : InProcessServiceManager::setValue(key, name, value);
    }
};

using PciRequest = std::pair<std::uint32_t, std::uint32_t>;  // bus, slot

// Answers from a table of functions and logs every request it was asked.
struct FakePciReader : platform::PciConfigReader {
    FakePciReader(std::map<PciRequest, platform::PciConfigSpace> answers,
                  std::shared_ptr<std::vector<PciRequest>> log)
        : functions(std::move(answers)), requests(std::move(log)) {}
    std::optional<platform::PciConfigSpace> read(std::uint32_t bus, std::uint32_t slot) override {
        requests->emplace_back(bus, slot);
        const auto found = functions.find({bus, slot});
        return found == functions.end() ? std::nullopt : std::make_optional(found->second);
    }
    std::map<PciRequest, platform::PciConfigSpace> functions;
    std::shared_ptr<std::vector<PciRequest>> requests;
};

// A configuration header with the fields the program reads.
inline platform::PciConfigSpace pciConfig(std::uint16_t vendorId, std::uint16_t deviceId,
                                          std::uint8_t revisionId = 0,
                                          std::uint8_t latencyTimer = 0) {
    platform::PciConfigSpace config{};
    config[0] = static_cast<std::uint8_t>(vendorId);
    config[1] = static_cast<std::uint8_t>(vendorId >> 8);
    config[2] = static_cast<std::uint8_t>(deviceId);
    config[3] = static_cast<std::uint8_t>(deviceId >> 8);
    config[8] = revisionId;
    config[13] = latencyTimer;
    return config;
}

}  // namespace veltrane::test

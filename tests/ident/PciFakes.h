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

// The in-memory service manager, with a log of every call and switches that
// make single calls fail the way the original platform's could.
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
        calls.push_back("createService " + config.name);
        lastCreated = config;
        return InProcessServiceManager::createService(manager, config);
    }
    platform::ServiceHandle openService(platform::ServiceHandle manager,
                                        const std::string& name) override {
        calls.push_back("openService " + name);
        return InProcessServiceManager::openService(manager, name);
    }
    std::uint32_t startService(platform::ServiceHandle service) override {
        calls.push_back("startService");
        return InProcessServiceManager::startService(service);
    }
    std::uint32_t stopService(platform::ServiceHandle service) override {
        calls.push_back("stopService");
        const std::uint32_t error = InProcessServiceManager::stopService(service);
        return stopError.value_or(error);
    }
    std::uint32_t deleteService(platform::ServiceHandle service) override {
        calls.push_back("deleteService");
        const std::uint32_t error = InProcessServiceManager::deleteService(service);
        return deleteError.value_or(error);
    }
    void closeServiceHandle(platform::ServiceHandle handle) override {
        calls.push_back("closeServiceHandle");
        InProcessServiceManager::closeServiceHandle(handle);
    }
    platform::RegistryKeyOpen createKey(const std::string& path) override {
        calls.push_back("createKey " + path);
        if (failCreateKey) {
            return {platform::kErrorFileNotFound, 0, 0};
        }
        return InProcessServiceManager::createKey(path);
    }
    std::uint32_t setValue(platform::ServiceHandle key, const std::string& name,
                           const platform::RegistryValue& value) override {
        calls.push_back("setValue " + name);
        if (failSetValue) {
            return platform::kErrorInvalidHandle;
        }
        return InProcessServiceManager::setValue(key, name, value);
    }
    void closeKey(platform::ServiceHandle key) override {
        calls.push_back("closeKey");
        InProcessServiceManager::closeKey(key);
    }
    std::uint32_t deleteKey(const std::string& path) override {
        calls.push_back("deleteKey " + path);
        return InProcessServiceManager::deleteKey(path);
    }
};

using PciRequest = std::pair<std::uint32_t, std::uint32_t>;  // bus, slot

// Answers from a table of functions and logs every request it was asked.
class FakePciReader : public platform::PciConfigReader {
public:
    FakePciReader(std::map<PciRequest, platform::PciConfigSpace> functions,
                  std::shared_ptr<std::vector<PciRequest>> requests)
        : functions_(std::move(functions)), requests_(std::move(requests)) {}

    std::optional<platform::PciConfigSpace> read(std::uint32_t bus, std::uint32_t slot) override {
        requests_->emplace_back(bus, slot);
        const auto found = functions_.find({bus, slot});
        if (found == functions_.end()) {
            return std::nullopt;
        }
        return found->second;
    }

private:
    std::map<PciRequest, platform::PciConfigSpace> functions_;
    std::shared_ptr<std::vector<PciRequest>> requests_;
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

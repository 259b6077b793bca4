#include "platform/ServiceManager.h"

#include <algorithm>
#include <cctype>

namespace veltrane::platform {

namespace {

// Service names and registry paths are case-insensitive on the original platform.
std::string folded(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

InProcessServiceManager::InProcessServiceManager() {
    ServiceConfig pciinfo;
    pciinfo.name = "pciinfo";
    pciinfo.displayName = "pciinfo";
    pciinfo.startType = 2;
    services_.emplace(folded(pciinfo.name), Service{pciinfo, false});
}

ServiceHandle InProcessServiceManager::newHandle(HandleKind kind, std::string target) {
    const ServiceHandle handle = nextHandle_++;
    handles_.emplace(handle, OpenHandle{kind, std::move(target)});
    return handle;
}

bool InProcessServiceManager::isHandle(ServiceHandle handle, HandleKind kind) const {
    const auto found = handles_.find(handle);
    return found != handles_.end() && found->second.kind == kind;
}

InProcessServiceManager::Service* InProcessServiceManager::serviceOf(ServiceHandle handle) {
    if (!isHandle(handle, HandleKind::service)) {
        return nullptr;
    }
    const auto found = services_.find(handles_.at(handle).target);
    return found == services_.end() ? nullptr : &found->second;
}

ServiceHandle InProcessServiceManager::fail(std::uint32_t error) {
    lastError_ = error;
    return 0;
}

ServiceHandle InProcessServiceManager::openManager() {
    const std::lock_guard lock(mutex_);
    return newHandle(HandleKind::manager, {});
}

ServiceHandle InProcessServiceManager::createService(ServiceHandle manager,
                                                     const ServiceConfig& config) {
    const std::lock_guard lock(mutex_);
    if (!isHandle(manager, HandleKind::manager)) {
        return fail(kErrorInvalidHandle);
    }
    const std::string key = folded(config.name);
    if (services_.count(key) != 0) {
        return fail(kErrorServiceExists);
    }
    services_.emplace(key, Service{config, false});
    return newHandle(HandleKind::service, key);
}

ServiceHandle InProcessServiceManager::openService(ServiceHandle manager, const std::string& name) {
    const std::lock_guard lock(mutex_);
    if (!isHandle(manager, HandleKind::manager)) {
        return fail(kErrorInvalidHandle);
    }
    const std::string key = folded(name);
    if (services_.count(key) == 0) {
        return fail(kErrorServiceDoesNotExist);
    }
    return newHandle(HandleKind::service, key);
}

std::uint32_t InProcessServiceManager::startService(ServiceHandle service) {
    const std::lock_guard lock(mutex_);
    Service* target = serviceOf(service);
    if (target == nullptr) {
        return kErrorInvalidHandle;
    }
    if (target->running) {
        return kErrorServiceAlreadyRunning;
    }
    target->running = true;
    return kErrorSuccess;
}

std::uint32_t InProcessServiceManager::stopService(ServiceHandle service) {
    const std::lock_guard lock(mutex_);
    Service* target = serviceOf(service);
    if (target == nullptr) {
        return kErrorInvalidHandle;
    }
    if (!target->running) {
        return kErrorServiceNotActive;
    }
    target->running = false;
    return kErrorSuccess;
}

std::uint32_t InProcessServiceManager::deleteService(ServiceHandle service) {
    const std::lock_guard lock(mutex_);
    Service* target = serviceOf(service);
    if (target == nullptr) {
        return kErrorInvalidHandle;
    }
    // The driver stays known whatever happens: it stands for a file on disk.
    const std::string& name = handles_.at(service).target;
    if (name != "pciinfo") {
        services_.erase(name);
    }
    return kErrorSuccess;
}

void InProcessServiceManager::closeServiceHandle(ServiceHandle handle) {
    const std::lock_guard lock(mutex_);
    if (!isHandle(handle, HandleKind::key)) {
        handles_.erase(handle);
    }
}

RegistryKeyOpen InProcessServiceManager::createKey(const std::string& path) {
    const std::lock_guard lock(mutex_);
    const std::string key = folded(path);
    const bool existed = keys_.count(key) != 0;
    keys_[key];
    return {kErrorSuccess, newHandle(HandleKind::key, key),
            existed ? kRegOpenedExistingKey : kRegCreatedNewKey};
}

std::uint32_t InProcessServiceManager::setValue(ServiceHandle key, const std::string& name,
                                                const RegistryValue& value) {
    const std::lock_guard lock(mutex_);
    if (!isHandle(key, HandleKind::key)) {
        return kErrorInvalidHandle;
    }
    const auto found = keys_.find(handles_.at(key).target);
    if (found == keys_.end()) {
        return kErrorInvalidHandle;  // the key was deleted while open
    }
    found->second[folded(name)] = value;
    return kErrorSuccess;
}

void InProcessServiceManager::closeKey(ServiceHandle key) {
    const std::lock_guard lock(mutex_);
    if (isHandle(key, HandleKind::key)) {
        handles_.erase(key);
    }
}

std::uint32_t InProcessServiceManager::deleteKey(const std::string& path) {
    const std::lock_guard lock(mutex_);
    return keys_.erase(folded(path)) != 0 ? kErrorSuccess : kErrorFileNotFound;
}

std::uint32_t InProcessServiceManager::lastError() const {
    const std::lock_guard lock(mutex_);
    return lastError_;
}

std::optional<RegistryValue> InProcessServiceManager::queryValue(const std::string& path,
                                                                 const std::string& name) const {
    const std::lock_guard lock(mutex_);
    const auto key = keys_.find(folded(path));
    if (key == keys_.end()) {
        return std::nullopt;
    }
    const auto value = key->second.find(folded(name));
    if (value == key->second.end()) {
        return std::nullopt;
    }
    return value->second;
}

bool InProcessServiceManager::keyExists(const std::string& path) const {
    const std::lock_guard lock(mutex_);
    return keys_.count(folded(path)) != 0;
}

bool InProcessServiceManager::isRunning(const std::string& service) const {
    const std::lock_guard lock(mutex_);
    const auto found = services_.find(folded(service));
    return found != services_.end() && found->second.running;
}

std::size_t InProcessServiceManager::openHandleCount() const {
    const std::lock_guard lock(mutex_);
    return handles_.size();
}

ServiceManager& processServiceManager() {
    static InProcessServiceManager manager;
    return manager;
}

}  // namespace veltrane::platform

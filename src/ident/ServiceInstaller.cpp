#include "ident/ServiceInstaller.h"

#include <vector>

#include "platform/Format.h"

namespace veltrane::ident {

namespace {

using platform::RegistryValue;

std::string bounded(const std::string& text, std::size_t capacity) {
    return text.substr(0, capacity - 1);
}

RegistryValue dwordValue(std::uint32_t value) {
    RegistryValue result{platform::kRegDword, {}};
    for (int shift = 0; shift < 32; shift += 8) {
        result.data.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    return result;
}

// A string value of `size` bytes: the text, then zeros.
RegistryValue stringValue(const std::string& text, std::size_t size) {
    RegistryValue result{platform::kRegSz, std::vector<std::uint8_t>(size, 0)};
    for (std::size_t i = 0; i < text.size() && i < size; ++i) {
        result.data[i] = static_cast<std::uint8_t>(text[i]);
    }
    return result;
}

RegistryValue stringValue(const std::string& text) {
    return stringValue(text, text.size() + 1);
}

}  // namespace

ServiceInstaller::ServiceInstaller(platform::ServiceManager& services) : services_(services) {
    ServiceInstaller::openManager();
}

ServiceInstaller::~ServiceInstaller() {
    ServiceInstaller::closeManager();
}

void ServiceInstaller::setup(const std::string& newServiceName, const std::string& newDisplayName,
                             std::uint32_t newStartType, const std::string& newImagePath,
                             bool newUseRegistry) {
    startType = newStartType;
    useRegistry = newUseRegistry;
    setNames(newServiceName, newDisplayName, newImagePath);
}

void ServiceInstaller::setNames(const std::string& newServiceName,
                                const std::string& newDisplayName,
                                const std::string& newImagePath) {
    serviceName = bounded(newServiceName, kNameCapacity);
    displayName = bounded(newDisplayName, kNameCapacity);
    const std::string path =
        newImagePath.empty()
            ? strprintf("\\SystemRoot\\System32\\drivers\\%s.SYS", displayName.c_str())
            : newImagePath;
    imagePath = bounded(path, kNameCapacity);
}

bool ServiceInstaller::install() {
    if (useRegistry) {
        return installInRegistry();
    }
    platform::ServiceConfig config;
    config.name = serviceName;
    config.displayName = serviceName;
    config.startType = startType;
    config.binaryPath = imagePath;
    const platform::ServiceHandle service = services_.createService(manager, config);
    if (service == 0) {
        return false;
    }
    services_.closeServiceHandle(service);
    return true;
}

bool ServiceInstaller::remove() {
    if (useRegistry) {
        return removeFromRegistry();
    }
    const platform::ServiceHandle service = services_.openService(manager, serviceName);
    if (service == 0) {
        return false;
    }
    const std::uint32_t error = services_.deleteService(service);
    services_.closeServiceHandle(service);
    return error == platform::kErrorSuccess || error == platform::kErrorServiceMarkedForDelete;
}

bool ServiceInstaller::start() {
    const platform::ServiceHandle service = services_.openService(manager, serviceName);
    if (service == 0) {
        return false;
    }
    const std::uint32_t error = services_.startService(service);
    services_.closeServiceHandle(service);
    return error == platform::kErrorSuccess;
}

bool ServiceInstaller::stop() {
    const platform::ServiceHandle service = services_.openService(manager, serviceName);
    if (service == 0) {
        return false;
    }
    const std::uint32_t error = services_.stopService(service);
    services_.closeServiceHandle(service);
    return error == platform::kErrorSuccess || error == platform::kErrorServiceNotActive;
}

bool ServiceInstaller::hasError() const {
    return hasErrorFlag;
}

bool ServiceInstaller::hasWarning() const {
    return hasWarningFlag;
}

bool ServiceInstaller::hasMessage() const {
    return hasErrorFlag || hasWarningFlag;
}

void ServiceInstaller::appendMessage(const std::string& text) {
    const std::size_t room = kMessagesCapacity - 1 - messages.size();
    messages += text.substr(0, room);
}

void ServiceInstaller::addError(const std::string& text) {
    appendMessage(text);
    hasErrorFlag = true;
}

void ServiceInstaller::addWarning(const std::string& text) {
    appendMessage(text);
    hasWarningFlag = true;
}

void ServiceInstaller::clearMessages() {
    messages.clear();
    hasErrorFlag = false;
    hasWarningFlag = false;
}

bool ServiceInstaller::openManager() {
    manager = services_.openManager();
    if (manager == 0) {
        addError("Cannot open service control manager\n");
        return false;
    }
    return true;
}

void ServiceInstaller::closeManager() {
    if (manager != 0) {
        services_.closeServiceHandle(manager);
        manager = 0;
    }
}

std::string ServiceInstaller::registryKey() const {
    return strprintf("System\\CurrentControlSet\\Services\\%s", serviceName.c_str());
}

bool ServiceInstaller::writeServiceValues(platform::ServiceHandle key) {
    // The display name value holds the service name and two more zero bytes.
    const std::pair<const char*, RegistryValue> values[] = {
        {"Start", dwordValue(startType)},
        {"Type", dwordValue(platform::kServiceKernelDriver)},
        {"ErrorControl", dwordValue(platform::kServiceErrorNormal)},
        {"Group", stringValue("Extended Base")},
        {"ImagePath", stringValue(imagePath)},
        {"DisplayName", stringValue(serviceName, serviceName.size() + 3)},
    };
    bool allWritten = true;
    for (const auto& [name, value] : values) {
        allWritten = services_.setValue(key, name, value) == platform::kErrorSuccess && allWritten;
    }
    return allWritten;
}

bool ServiceInstaller::installInRegistry() {
    clearMessages();
    const platform::RegistryKeyOpen key = services_.createKey(registryKey());
    if (key.error != platform::kErrorSuccess || key.key == 0) {
        addError("Cannot open registry key\n");
        return false;
    }
    if (key.disposition == platform::kRegOpenedExistingKey) {
        addWarning(serviceName);
        addWarning(" already exists in Win-NT registry\n");
    }
    const bool written = writeServiceValues(key.key);
    services_.closeKey(key.key);
    if (!written) {
        addError("Cannot write registry value\n");
    }
    return written;
}

bool ServiceInstaller::removeFromRegistry() {
    if (services_.deleteKey(registryKey()) != platform::kErrorSuccess) {
        addError(serviceName);
        addError(" does not exist in Win-NT registry\n");
        return false;
    }
    return true;
}

}  // namespace veltrane::ident

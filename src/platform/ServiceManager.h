#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::platform {

// The service control manager and the registry the driver service is
// registered with. Handles are opaque numbers; 0 means no handle.
using ServiceHandle = std::uint64_t;

constexpr std::uint32_t kErrorSuccess = 0;
constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorInvalidHandle = 6;
constexpr std::uint32_t kErrorServiceAlreadyRunning = 1056;
constexpr std::uint32_t kErrorServiceDoesNotExist = 1060;
constexpr std::uint32_t kErrorServiceNotActive = 1062;
constexpr std::uint32_t kErrorServiceMarkedForDelete = 1072;
constexpr std::uint32_t kErrorServiceExists = 1073;

constexpr std::uint32_t kServiceAllAccess = 0xF01FF;
constexpr std::uint32_t kServiceKernelDriver = 1;
constexpr std::uint32_t kServiceErrorNormal = 1;

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegCreatedNewKey = 1;
constexpr std::uint32_t kRegOpenedExistingKey = 2;

// What a service is created with (no group, tag, dependencies or account).
struct ServiceConfig {
    std::string name;
    std::string displayName;
    std::uint32_t desiredAccess = kServiceAllAccess;
    std::uint32_t serviceType = kServiceKernelDriver;
    std::uint32_t startType = 0;
    std::uint32_t errorControl = kServiceErrorNormal;
    std::string binaryPath;
};

struct RegistryKeyOpen {
    std::uint32_t error = kErrorSuccess;
    ServiceHandle key = 0;
    std::uint32_t disposition = 0;  // kRegCreatedNewKey or kRegOpenedExistingKey
};

struct RegistryValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

// Calls return an error code (kErrorSuccess when they worked) or a handle.
class ServiceManager {
public:
    virtual ~ServiceManager() = default;

    virtual ServiceHandle openManager() = 0;
    virtual ServiceHandle createService(ServiceHandle manager, const ServiceConfig& config) = 0;
    virtual ServiceHandle openService(ServiceHandle manager, const std::string& name) = 0;
    virtual std::uint32_t startService(ServiceHandle service) = 0;
    // kErrorSuccess once the service reports stopped.
    virtual std::uint32_t stopService(ServiceHandle service) = 0;
    virtual std::uint32_t deleteService(ServiceHandle service) = 0;
    virtual void closeServiceHandle(ServiceHandle handle) = 0;

    // Keys under the local machine's root, named with backslashes.
    virtual RegistryKeyOpen createKey(const std::string& path) = 0;
    virtual std::uint32_t setValue(ServiceHandle key, const std::string& name,
                                   const RegistryValue& value) = 0;
    virtual void closeKey(ServiceHandle key) = 0;
    virtual std::uint32_t deleteKey(const std::string& path) = 0;

    // The error of the last handle-returning call that gave 0.
    virtual std::uint32_t lastError() const = 0;
};

// No driver service runs on Linux: this one knows "pciinfo" from the start,
// lets it start and stop, and keeps registry keys in memory. Registry paths
// compare without regard to case, as they do on the original platform.
class InProcessServiceManager : public ServiceManager {
public:
    InProcessServiceManager();

    ServiceHandle openManager() override;
    ServiceHandle createService(ServiceHandle manager, const ServiceConfig& config) override;
    ServiceHandle openService(ServiceHandle manager, const std::string& name) override;
    std::uint32_t startService(ServiceHandle service) override;
    std::uint32_t stopService(ServiceHandle service) override;
    std::uint32_t deleteService(ServiceHandle service) override;
    void closeServiceHandle(ServiceHandle handle) override;

    RegistryKeyOpen createKey(const std::string& path) override;
    std::uint32_t setValue(ServiceHandle key, const std::string& name,
                           const RegistryValue& value) override;
    void closeKey(ServiceHandle key) override;
    std::uint32_t deleteKey(const std::string& path) override;

    std::uint32_t lastError() const override;

    // For whoever wants to look at what was registered.
    std::optional<RegistryValue> queryValue(const std::string& path, const std::string& name) const;
    bool keyExists(const std::string& path) const;
    bool isRunning(const std::string& service) const;
    std::size_t openHandleCount() const;

private:
    struct Service {
        ServiceConfig config;
        bool running = false;
    };
    enum class HandleKind { manager, service, key };
    struct OpenHandle {
        HandleKind kind;
        std::string target;  // service name or key path
    };

    ServiceHandle newHandle(HandleKind kind, std::string target);
    Service* serviceOf(ServiceHandle handle);
    bool isHandle(ServiceHandle handle, HandleKind kind) const;
    ServiceHandle fail(std::uint32_t error);

    mutable std::mutex mutex_;
    std::map<std::string, Service> services_;
    std::map<std::string, std::map<std::string, RegistryValue>> keys_;
    std::map<ServiceHandle, OpenHandle> handles_;
    ServiceHandle nextHandle_ = 1;
    std::uint32_t lastError_ = kErrorSuccess;
};

// The process-wide stand-in, so a second enumeration finds what the first
// one registered.
ServiceManager& processServiceManager();

}  // namespace veltrane::platform

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ServiceManager.h"

namespace veltrane::ident {

// The service-control object's operations, in their slot order.
class ServiceInstallerBase {
public:
    virtual ~ServiceInstallerBase() = default;
    virtual void setup(const std::string& serviceName, const std::string& displayName,
                       std::uint32_t startType, const std::string& imagePath, bool useRegistry) = 0;
    virtual bool install() = 0;
    virtual bool remove() = 0;
    virtual bool start() = 0;
    virtual bool stop() = 0;
    virtual bool hasError() const = 0;
    virtual bool hasWarning() const = 0;
    virtual bool hasMessage() const = 0;
    virtual void addError(const std::string& text) = 0;
    virtual void addWarning(const std::string& text) = 0;
    virtual void clearMessages() = 0;
    virtual void setNames(const std::string& serviceName, const std::string& displayName,
                          const std::string& imagePath) = 0;
    virtual bool openManager() = 0;
    virtual void closeManager() = 0;
    virtual bool installInRegistry() = 0;
    virtual bool removeFromRegistry() = 0;
};

// Registers, starts and stops the driver service. Construction opens the
// service manager, destruction closes it.
class ServiceInstaller final : public ServiceInstallerBase {
public:
    // Text fields hold this many characters including their terminating zero;
    // longer texts are cut rather than overrun.
    static constexpr std::size_t kMessagesCapacity = 2000;
    static constexpr std::size_t kNameCapacity = 1000;

    explicit ServiceInstaller(platform::ServiceManager& services);
    ~ServiceInstaller() override;
    ServiceInstaller(const ServiceInstaller&) = delete;
    ServiceInstaller& operator=(const ServiceInstaller&) = delete;

    // An empty image path stands for none: the driver's path is then built
    // from the display name.
    void setup(const std::string& serviceName, const std::string& displayName,
               std::uint32_t startType, const std::string& imagePath, bool useRegistry) override;
    bool install() override;
    bool remove() override;
    bool start() override;
    bool stop() override;
    bool hasError() const override;
    bool hasWarning() const override;
    bool hasMessage() const override;
    void addError(const std::string& text) override;
    void addWarning(const std::string& text) override;
    void clearMessages() override;
    void setNames(const std::string& serviceName, const std::string& displayName,
                  const std::string& imagePath) override;
    bool openManager() override;
    void closeManager() override;
    bool installInRegistry() override;
    bool removeFromRegistry() override;

    std::string messages;
    bool useRegistry = false;
    platform::ServiceHandle manager = 0;
    bool hasErrorFlag = false;
    bool hasWarningFlag = false;
    std::uint32_t startType = 0;
    std::string serviceName;
    std::string displayName;
    std::string imagePath;

private:
    void appendMessage(const std::string& text);
    std::string registryKey() const;
    bool writeServiceValues(platform::ServiceHandle key);

    platform::ServiceManager& services_;
};

}  // namespace veltrane::ident

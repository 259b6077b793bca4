#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>

namespace veltrane::platform {

constexpr std::size_t kPciConfigSize = 256;
using PciConfigSpace = std::array<std::uint8_t, kPciConfigSize>;

// A slot number carries the device in bits 0-4 and the function in bits 5-7.
constexpr std::uint32_t pciSlot(std::uint32_t device, std::uint32_t function) {
    return (device & 0x1Fu) | (function & 0x7u) << 5;
}
constexpr std::uint32_t pciSlotDevice(std::uint32_t slot) {
    return slot & 0x1Fu;
}
constexpr std::uint32_t pciSlotFunction(std::uint32_t slot) {
    return (slot >> 5) & 0x7u;
}

// Answers the driver's one request: the 256-byte configuration header of a
// (bus, slot), or nothing when no function answers there.
class PciConfigReader {
public:
    virtual ~PciConfigReader() = default;
    virtual std::optional<PciConfigSpace> read(std::uint32_t bus, std::uint32_t slot) = 0;
};

// Reads .../DDDD:BB:DD.F/config of domain 0 under a sysfs devices folder.
// An unprivileged user may read only the first bytes; the rest read as zero.
// The folder is listed once, so the 512 requests of an enumeration open only
// the functions that are there (a failed open costs tens of microseconds).
class SysfsPciConfigReader : public PciConfigReader {
public:
    explicit SysfsPciConfigReader(std::string devicesFolder);
    std::optional<PciConfigSpace> read(std::uint32_t bus, std::uint32_t slot) override;

private:
    std::string devicesFolder_;
    std::unordered_set<std::string> present_;
};

constexpr const char* kSysfsPciDevices = "/sys/bus/pci/devices";

// The reader, or null when the folder is not there (no PCI bus the system
// shows us), which is where the original could not open its driver.
std::unique_ptr<PciConfigReader> openSysfsPciConfig(
    const std::string& devicesFolder = kSysfsPciDevices);

// The sysfs name of a function of domain 0: "0000:00:1f.3".
std::string sysfsPciName(std::uint32_t bus, std::uint32_t slot);

}  // namespace veltrane::platform

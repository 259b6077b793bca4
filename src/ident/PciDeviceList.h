#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ident/PciNames.h"
#include "platform/PciConfig.h"
#include "platform/ServiceManager.h"

namespace veltrane::ident {

struct PciDevice {
    std::string deviceName;
    std::string vendorName;
    std::string description;
    std::uint32_t vendorId = 0;
    std::uint32_t deviceId = 0;
    std::uint32_t revisionId = 0;
    std::uint32_t latencyTimer = 0;
    std::uint32_t bus = 0;
    std::uint32_t device = 0;
    std::uint32_t function = 0;
};

// One function's entry from its configuration header and the names file.
PciDevice pciDeviceFromConfig(std::uint32_t bus, std::uint32_t slot,
                              const platform::PciConfigSpace& config, const PciNames& names);

// Slot index 0..255 of the enumeration: all 32 devices of function 0 first.
struct PciSlotIndex {
    std::uint32_t device;
    std::uint32_t function;
};
constexpr PciSlotIndex pciSlotIndex(std::uint32_t index) {
    return {index & 0x1Fu, index >> 5};
}

// A message for the caller to show in a message box.
struct PciMessage {
    std::string title;
    std::string text;
};

// Set once an enumeration has run to its end; later lists stay empty.
struct PciProcessState {
    bool pciEnumerated = false;
};
PciProcessState& pciProcessState();

// What an enumeration works with; the defaults are the machine's.
struct PciEnvironment {
    std::reference_wrapper<platform::ServiceManager> services = platform::processServiceManager();
    // Null when the configuration space cannot be reached at all.
    std::function<std::unique_ptr<platform::PciConfigReader>()> openDriver = [] {
        return platform::openSysfsPciConfig();
    };
    std::function<PciNames()> loadNames = loadPciNames;
    std::reference_wrapper<PciProcessState> state = pciProcessState();
};

// The PCI functions of buses 0 and 1 in enumeration order, gathered by the
// constructor while the driver service is registered and running.
class PciDeviceList {
public:
    explicit PciDeviceList(const PciEnvironment& environment = PciEnvironment());

    const std::vector<PciDevice>& devices() const { return devices_; }
    // Set when the driver could not be reached; the list is then empty.
    const std::optional<PciMessage>& error() const { return error_; }
    // Why the devices have no names although a names file is there, or empty.
    const std::string& namesProblem() const { return namesProblem_; }

private:
    void enumerate(platform::PciConfigReader& reader, const PciNames& names);

    std::vector<PciDevice> devices_;
    std::optional<PciMessage> error_;
    std::string namesProblem_;
};

}  // namespace veltrane::ident

#include "ident/PciDeviceList.h"

#include "ident/ServiceInstaller.h"
#include "platform/Format.h"

namespace veltrane::ident {

namespace {

constexpr std::uint32_t kBusCount = 2;
constexpr std::uint32_t kSlotCount = 256;
constexpr std::uint32_t kDriverStartType = 2;

std::uint32_t configWord(const platform::PciConfigSpace& config, std::size_t offset) {
    return static_cast<std::uint32_t>(config[offset] | config[offset + 1] << 8);
}

PciMessage driverUnavailable() {
    return {"Veltrane Error",
            "Unable to access to the device driver: Motherboard informations unavailable. If "
            "this is the first time that you run Veltrane, please try to restart your PC."};
}

}  // namespace

PciProcessState& pciProcessState() {
    static PciProcessState state;
    return state;
}

PciDevice pciDeviceFromConfig(std::uint32_t bus, std::uint32_t slot,
                              const platform::PciConfigSpace& config, const PciNames& names) {
    PciDevice device;
    device.vendorId = configWord(config, 0);
    device.deviceId = configWord(config, 2);
    device.revisionId = config[8];
    device.latencyTimer = config[13];
    device.bus = bus;
    device.device = platform::pciSlotDevice(slot);
    device.function = platform::pciSlotFunction(slot);
    device.description = strprintf(
        "Bus %d Device %d Func %d VendorID 0x%04X DeviceID 0x%04X", static_cast<int>(bus),
        static_cast<int>(platform::pciSlotDevice(slot)),
        static_cast<int>(platform::pciSlotFunction(slot)), device.vendorId, device.deviceId);
    auto found = names.lookup(device.vendorId, device.deviceId);
    device.vendorName = std::move(found.vendorName);
    device.deviceName = std::move(found.deviceName);
    return device;
}

PciDeviceList::PciDeviceList(const PciEnvironment& environment) {
    PciProcessState& state = environment.state;
    if (state.pciEnumerated) {
        return;
    }
    ServiceInstaller installer(environment.services);
    installer.setup("pciinfo", "PCIINFO", kDriverStartType, "", false);
    installer.installInRegistry();
    // A service the manager does not know yet cannot start; go on regardless.
    installer.start();
    const PciNames names = environment.loadNames();
    namesProblem_ = names.problem();
    const auto reader = environment.openDriver();
    if (!reader) {
        // The service is not left running when its driver cannot be reached.
        installer.stop();
        error_ = driverUnavailable();
        return;
    }
    enumerate(*reader, names);
    installer.stop();
    state.pciEnumerated = true;
}

void PciDeviceList::enumerate(platform::PciConfigReader& reader, const PciNames& names) {
    for (std::uint32_t bus = 0; bus < kBusCount; ++bus) {
        for (std::uint32_t index = 0; index < kSlotCount; ++index) {
            const auto at = pciSlotIndex(index);
            const std::uint32_t slot = platform::pciSlot(at.device, at.function);
            if (const auto config = reader.read(bus, slot)) {
                devices_.push_back(pciDeviceFromConfig(bus, slot, *config, names));
            }
        }
    }
}

}  // namespace veltrane::ident

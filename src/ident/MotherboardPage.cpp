#include "ident/MotherboardPage.h"

#include "platform/Format.h"

namespace veltrane::ident {

namespace {

std::string hexId(std::uint32_t value) {
    return strprintf("0x%04X", value);
}

std::vector<LabelledValue> emptyChipset() {
    return {{"NorthBridge installed:", "", true},
            {"Manufacturer:", "", true},
            {"VendorID:", "", true},
            {"DeviceID:", "", true},
            {"RevisionID:", "", true},
            {"HW Definition:", "", true},
            {"PCI Latency:", "", true}};
}

std::vector<LabelledValue> chipsetRows(const PciDevice& first) {
    return {{"NorthBridge installed:", first.deviceName, true},
            {"Manufacturer:", first.vendorName, true},
            {"VendorID:", hexId(first.vendorId), true},
            {"DeviceID:", hexId(first.deviceId), true},
            {"RevisionID:", hexId(first.revisionId), true},
            {"HW Definition:", first.description, true},
            {"PCI Latency:", strprintf("%d Cycles", static_cast<int>(first.latencyTimer)), true}};
}

void appendDeviceRows(const PciDevice& device, std::vector<FeatureRow>& rows) {
    rows.push_back({"", ""});
    rows.push_back({"HW Definition", device.description});
    rows.push_back({"Device Name", device.deviceName});
    rows.push_back({"Manufacturer", device.vendorName});
    rows.push_back({"VendorID", hexId(device.vendorId)});
    rows.push_back({"DeviceID", hexId(device.deviceId)});
    rows.push_back({"RevisionID", hexId(device.revisionId)});
}

// Nothing on this machine fills these; they are shown greyed.
std::vector<LabelledValue> motherboardSpecificRows() {
    return {{"Model:", "", false}, {"Manufacturer:", "", false}, {"Serial Number:", "", false},
            {"BIOS:", "", false},  {"EEPROM:", "", false},       {"PLL:", "", false}};
}

}  // namespace

MotherboardPage motherboardPage(const std::vector<PciDevice>& devices) {
    MotherboardPage page;
    page.heading = "Motherboard and BIOS Informations";
    page.chipsetTitle = "Chipset";
    page.otherDevicesTitle = "Other PCI Devices";
    page.otherDevicesColumns = {{"Item", 150}, {"Description", 350}};
    page.motherboardSpecificTitle = "Motherboard Specific";
    page.motherboardSpecific = motherboardSpecificRows();
    if (devices.empty()) {
        page.chipset = emptyChipset();
        return page;
    }
    page.chipset = chipsetRows(devices.front());
    page.otherDevices.push_back({"PCI Device List", ""});
    for (std::size_t i = 1; i < devices.size(); ++i) {
        appendDeviceRows(devices[i], page.otherDevices);
    }
    return page;
}

}  // namespace veltrane::ident

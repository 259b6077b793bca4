#pragma once

#include <string>
#include <vector>

#include "ident/ExtendedCpuPage.h"
#include "ident/PciDeviceList.h"

namespace veltrane::ident {

struct ListColumn {
    std::string title;
    int widthPixels;
};

// What the page "Motherboard, chipset and BIOS informations" shows.
struct MotherboardPage {
    std::string heading;
    std::string chipsetTitle;
    std::vector<LabelledValue> chipset;  // labels always, values from the first device
    std::string otherDevicesTitle;
    std::vector<ListColumn> otherDevicesColumns;
    std::vector<FeatureRow> otherDevices;  // empty when no device answered
    std::string motherboardSpecificTitle;
    std::vector<LabelledValue> motherboardSpecific;  // always disabled and empty
};

// The first device is the chipset; every further one gets seven rows in the list.
MotherboardPage motherboardPage(const std::vector<PciDevice>& devices);

}  // namespace veltrane::ident

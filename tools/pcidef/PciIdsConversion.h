#pragma once

#include <string>
#include <string_view>

namespace veltrane::tools {

// Turns the pci.ids list into PCIDef.dat lines: "V\t%04X name" for each
// vendor and "D\t%04X name" for each of its devices, in the list's order.
// Subsystems, device classes and comments are left out.
std::string pciDefFromPciIds(std::string_view pciIds);

}  // namespace veltrane::tools

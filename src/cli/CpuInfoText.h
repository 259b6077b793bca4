#pragma once

#include <string>
#include <vector>

#include "ident/CachePage.h"
#include "ident/ExtendedCpuPage.h"
#include "ident/MotherboardPage.h"

namespace veltrane::cli {

// A page of labelled values as terminal text: its heading, then one
// aligned line per label; a disabled label shows no value.
std::string formatLabelledPage(const std::string& heading,
                               const std::vector<ident::LabelledValue>& values);

// The extended CPU page: the labelled values, then the feature list with its
// Item and Description columns.
std::string formatExtendedCpuInfo(const std::vector<ident::LabelledValue>& values,
                                  const std::vector<ident::FeatureRow>& features);

// The cache page: its heading, then each group's title and fields.
std::string formatCachePage(const ident::CachePage& page);

// The motherboard page: the chipset group, the list of the other PCI
// devices, the motherboard-specific group.
std::string formatMotherboardPage(const ident::MotherboardPage& page);

}  // namespace veltrane::cli

#pragma once

#include <string>
#include <vector>

#include "ident/ExtendedCpuPage.h"

namespace veltrane::cli {

// The extended CPU page as terminal text: the labelled values, then the
// feature list with its Item and Description columns.
std::string formatExtendedCpuInfo(const std::vector<ident::LabelledValue>& values,
                                  const std::vector<ident::FeatureRow>& features);

}  // namespace veltrane::cli

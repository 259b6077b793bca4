#pragma once

#include <string>

#include "ident/ProcessorLayout.h"

namespace veltrane::cli {

// The "Topology" and "Cache levels" sections as terminal text, each a
// heading and aligned "label: value" lines, a blank line between them.
std::string formatProcessorLayout(const ident::ProcessorLayout& layout);

}  // namespace veltrane::cli

#pragma once

#include <string>
#include <vector>

#include "ident/ExtendedCpuPage.h"
#include "platform/CpuProbe.h"

namespace veltrane::ident {

// Every feature flag the processor reports, under the names Linux gives
// them, and the vector register state the OS has enabled.
struct FeatureFlagsPage {
    std::string heading;
    std::vector<std::string> flags;        // every flag CPUID sets
    std::vector<std::string> usableFlags;  // without those whose state the OS has not enabled
    std::vector<LabelledValue> vectorState;
};

FeatureFlagsPage featureFlagsPage(const platform::CpuProbe& probe);

// The flags in one line separated by blanks; "(none)" when there are none.
std::string flagsLine(const FeatureFlagsPage& page);

}  // namespace veltrane::ident

#include "ident/FeatureFlagsPage.h"

#include "ident/CpuFlags.h"
#include "ident/VectorState.h"

namespace veltrane::ident {

FeatureFlagsPage featureFlagsPage(const platform::CpuProbe& probe) {
    FeatureFlagsPage page{"Feature flags", cpuFlags(probe), usableCpuFlags(probe), {}};
    page.vectorState = vectorStateRows(probe, page.flags);
    return page;
}

std::string flagsLine(const FeatureFlagsPage& page) {
    std::string line;
    for (const auto& flag : page.flags) {
        line += (line.empty() ? "" : " ") + flag;
    }
    return line.empty() ? "(none)" : line;
}

}  // namespace veltrane::ident

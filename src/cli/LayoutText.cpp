#include "cli/LayoutText.h"

#include "cli/CpuInfoText.h"

namespace veltrane::cli {

std::string formatProcessorLayout(const ident::ProcessorLayout& layout) {
    return formatLabelledPage(ident::kTopologyHeading,
                              ident::topologyRows(layout.topology, layout.allowed)) +
           "\n" +
           formatLabelledPage(ident::kCacheLevelsHeading, ident::cacheLevelRows(layout.caches));
}

}  // namespace veltrane::cli

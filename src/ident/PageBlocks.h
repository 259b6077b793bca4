#pragma once

#include <cstddef>
#include <vector>

#include "ident/ExtendedCpuPage.h"
#include "ident/MemoryInfo.h"
#include "ident/OsInfo.h"

namespace veltrane::ident {

// A page's rows as its window lays them out: the upper block in the larger
// face, the other fields, and the rows drawn as gauges.
struct PageBlocks {
    std::vector<LabelledValue> upper;
    std::vector<LabelledValue> fields;
    std::vector<LabelledValue> gauges;
};

// The first `upper` rows, the last `gauges` rows and those between; a short
// page fills the upper block first, then the gauges.
PageBlocks pageBlocks(std::vector<LabelledValue> rows, std::size_t upper, std::size_t gauges);

// Manufacturer, Vendor String, Processor and CPU Codename above the others.
PageBlocks extendedCpuBlocks(const std::vector<LabelledValue>& rows);

// OS name and revision, computer and user name above; the three memory gauges below.
PageBlocks osPageBlocks(const OsInfo& os, const MemoryInfo& memory);

}  // namespace veltrane::ident

#pragma once

#include <vector>

#include "ident/CacheGeometry.h"
#include "platform/CpuProbe.h"

namespace veltrane::ident {

// Every cache the descriptor bytes of CPUID leaf 2 name, in all four
// registers, by level and type; TLB, prefetch and trace-cache descriptors
// are left out, and so is a register whose bit 31 says it holds none.
std::vector<CacheGeometry> leaf2CacheLevels(const platform::CpuProbe& probe);

}  // namespace veltrane::ident

#pragma once

#include <vector>

#include "ident/CacheGeometry.h"
#include "platform/OsFacts.h"

namespace veltrane::ident {

// The caches of the first processor as the kernel lists them in
// /sys/devices/system/cpu/cpu0/cache/index*, in its order; empty when it
// lists none. An entry whose level, type or size cannot be read is left out.
std::vector<CacheGeometry> systemCaches(const platform::OsFactsSource& system);

}  // namespace veltrane::ident

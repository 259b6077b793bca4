#pragma once

#include <string>
#include <vector>

#include "ident/ExtendedCpuPage.h"

namespace veltrane::ident {

class ProcessorIdentity;

inline constexpr const char* kCachePageTitle = "Cache and TLB informations";

// One label and its text; a disabled field is shown greyed with no text.
using CacheField = LabelledValue;

struct CacheGroup {
    std::string title;
    std::vector<CacheField> fields;
};

// The heading, then eight groups in page order: the first-level TLBs, the
// first-level caches, the second-level TLBs, the second-level cache and the
// third-level cache (always disabled and empty).
struct CachePage {
    std::string heading;
    std::vector<CacheGroup> groups;
};

// The cache and TLB texts of the identity's processor, read through its
// CPUID probe. AMD processors decode leaves 0x80000005/6; Intel processors
// match fixed leaf-2 descriptor bytes, and those with an extended signature
// whose leaf 2 defers to leaf 4 take their caches from leaf 4 and their
// TLBs from leaf 0x18; other vendors get every field disabled.
CachePage cachePage(const ProcessorIdentity& identity, const std::string& processorName);

}  // namespace veltrane::ident

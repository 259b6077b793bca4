#pragma once

#include <string>
#include <vector>

#include "ident/CacheGeometry.h"
#include "platform/OsFacts.h"

namespace veltrane::ident {

class ProcessorIdentity;

// Every cache of the processor, L3 included, as CPUID describes it; where the
// system lists the caches too and says otherwise (a virtual machine's CPUID
// may describe another processor), the differences are kept as notes.
struct CacheLevels {
    std::vector<CacheGeometry> caches;
    std::string source;  // "CPUID leaf 4", ... or "the system"
    std::vector<std::string> notes;
};

// Leaf 4, or on AMD 0x8000001D when the topology extensions are there; else
// AMD's 0x80000005 and 0x80000006 (L3 included) or the descriptors of leaf 2.
// Caches of size 0 are left out.
CacheLevels cpuidCacheLevels(const ProcessorIdentity& identity);

// `system` is null for a processor that is not this machine's (a recorded
// dump). When CPUID describes no cache, the system's list is taken.
CacheLevels cacheLevels(const ProcessorIdentity& identity, const platform::OsFactsSource* system);

// "L1 data", "L2 unified", "L1 instruction".
std::string cacheName(const CacheGeometry& cache);

}  // namespace veltrane::ident

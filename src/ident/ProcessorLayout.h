#pragma once

#include <string>
#include <vector>

#include "ident/CacheLevels.h"
#include "ident/ExtendedCpuPage.h"
#include "ident/Topology.h"
#include "platform/Affinity.h"
#include "platform/OsFacts.h"

namespace veltrane::ident {

class ProcessorIdentity;

// How the processor is built, as today's processors are described: its
// topology, the processors the program may run on, and every cache level.
struct ProcessorLayout {
    Topology topology;
    platform::AllowedProcessors allowed;
    CacheLevels caches;
};

// The layout of the identity's processor. The system's files describe it
// only when the identity reads the real processor; a recorded dump is known
// by its CPUID answers and its processor count alone.
ProcessorLayout processorLayout(
    const ProcessorIdentity& identity,
    const platform::OsFactsSource& system = platform::nativeOsFactsSource(),
    const platform::AffinitySource& affinity = platform::nativeAffinitySource());

inline constexpr const char* kTopologyHeading = "Topology";
inline constexpr const char* kCacheLevelsHeading = "Cache levels";

// Packages, cores, threads, threads per core, core types, CPUID's layout,
// the processors the program may run on, then a "Note:" row per note.
std::vector<LabelledValue> topologyRows(const Topology& topology,
                                        const platform::AllowedProcessors& allowed);

// One row per cache ("L1 data:" "48 KB, 12-way, 64-byte lines, shared by 2
// threads"), the leaves they come from, then a "Note:" row per note.
std::vector<LabelledValue> cacheLevelRows(const CacheLevels& levels);

// A cache's figures as its row shows them.
std::string cacheFiguresText(const CacheGeometry& cache);

}  // namespace veltrane::ident

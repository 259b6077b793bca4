#pragma once

#include <optional>
#include <string>

#include "platform/CpuProbe.h"

namespace veltrane::ident {

// The two kinds of core of a hybrid processor.
enum class CoreKind { performance, efficiency };

// The layout CPUID describes, as seen from the processor that answered: how
// many threads share a core and a package, and how the APIC id splits.
struct CpuidTopology {
    std::string leaf;  // where it was read ("0x1F", "0xB", "0x80000026", "0x8000001E", "1")
    int threadsPerCore = 1;
    int threadsPerPackage = 1;
    int threadBits = 0;   // APIC id bits that number the threads of a core
    int packageBits = 0;  // APIC id bits that number the threads of a package
    // The kind of core that answered, on a processor with two kinds.
    std::optional<CoreKind> coreKind;
    // Intel's efficiency cores run one thread and its performance cores up to
    // two: the core that answered does not tell how many threads the others run.
    bool coreThreadsVary = false;

    bool operator==(const CpuidTopology&) const = default;
};

// 0x80000001 ECX bit 22: AMD's topology leaves (0x8000001D, 0x8000001E) are there.
bool amdTopologyExtensions(const platform::CpuProbe& probe);

// Intel's leaf 0x1F, else leaf 0xB; AMD's 0x80000026, else 0xB, else
// 0x80000008 with 0x8000001E; else the counts of leaves 1 and 4. Damaged
// answers give at least one thread per core and per package.
CpuidTopology cpuidTopology(const platform::CpuProbe& probe);

}  // namespace veltrane::ident

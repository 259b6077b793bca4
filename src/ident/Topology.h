#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ident/CpuidTopology.h"
#include "ident/SystemTopology.h"
#include "platform/CpuProbe.h"
#include "platform/OsFacts.h"

namespace veltrane::ident {

// Packages, cores and threads (logical processors) as the program reports
// them: counted by the system where it can be read, else from CPUID. Threads
// per core and the APIC layout are CPUID's; where the system counts
// otherwise (a virtual machine often describes a processor it is not), the
// difference is kept as a note.
struct Topology {
    int packages = 1;
    int cores = 1;
    int mostCores = 0;  // above `cores` when CPUID alone leaves the count open
    int threads = 1;
    int threadsPerCore = 1;
    std::vector<CoreTypeGroup> coreTypes;  // empty on a processor with one kind of core
    CpuidTopology cpuid;
    bool countedBySystem = false;
    std::vector<std::string> notes;
};

// `system` is null for a processor that is not this machine's (a recorded
// dump): then only CPUID and the dump's processor count describe it.
Topology topology(const platform::CpuProbe& probe, const platform::OsFactsSource* system);

}  // namespace veltrane::ident

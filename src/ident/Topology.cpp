#include "ident/Topology.h"

#include <algorithm>

#include "platform/Format.h"
#include "platform/ProcessorList.h"

namespace veltrane::ident {

namespace {

int ceilDivide(int a, int b) {
    return (a + b - 1) / b;
}

// Counts of a processor known only by CPUID, `threads` of them.
void countFromCpuid(Topology& topology, int threads) {
    topology.threads = std::max(threads, 1);
    topology.packages = ceilDivide(topology.threads, topology.cpuid.threadsPerPackage);
    topology.cores = ceilDivide(topology.threads, topology.threadsPerCore);
}

// Without the system's count, a hybrid's threads make cores of one or two threads each:
// only bounds are known.
void boundCoresOfTwoKinds(Topology& topology) {
    if (!topology.cpuid.coreThreadsVary) {
        return;
    }
    topology.cores = ceilDivide(topology.threads, 2);
    topology.mostCores = topology.threads;
    topology.notes.push_back(
        "Cores of two kinds run different numbers of threads: one core's CPUID cannot count them");
}

void compare(Topology& topology, const char* what, int byCpuid, int bySystem) {
    if (byCpuid != bySystem) {
        topology.notes.push_back(
            strprintf("%s: CPUID says %d, the system %d", what, byCpuid, bySystem));
    }
}

void countFromSystem(Topology& topology, const SystemTopology& system) {
    countFromCpuid(topology, system.threads);
    topology.countedBySystem = true;
    if (system.packages == 0) {
        topology.notes.push_back(
            "The system's topology files cannot be read: packages and cores are CPUID's");
        boundCoresOfTwoKinds(topology);
        return;
    }
    topology.packages = system.packages;
    topology.cores = system.cores;
    topology.coreTypes = system.coreTypes;
    const auto& perCore = system.threadsPerCore;
    // Cores of two kinds may have different counts; CPUID's is one of them.
    if (!perCore.empty() &&
        std::find(perCore.begin(), perCore.end(), topology.threadsPerCore) == perCore.end()) {
        compare(topology, "Threads per core", topology.threadsPerCore, perCore.back());
    }
    compare(topology, "Threads per package", topology.cpuid.threadsPerPackage,
            ceilDivide(system.threads, system.packages));
}

}  // namespace

Topology topology(const platform::CpuProbe& probe, const platform::OsFactsSource* system) {
    Topology topology;
    topology.cpuid = cpuidTopology(probe);
    topology.threadsPerCore = topology.cpuid.threadsPerCore;
    const auto systemCounts = system != nullptr ? systemTopology(*system) : std::nullopt;
    if (systemCounts) {
        countFromSystem(topology, *systemCounts);
        return topology;
    }
    const auto recorded = probe.processorCount();
    countFromCpuid(topology, recorded ? platform::boundedProcessorCount(*recorded)
                                      : topology.cpuid.threadsPerPackage);
    boundCoresOfTwoKinds(topology);
    if (system != nullptr) {
        topology.notes.push_back(
            "The system's processor list cannot be read: the counts are CPUID's");
    }
    return topology;
}

}  // namespace veltrane::ident

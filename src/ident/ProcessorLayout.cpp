#include "ident/ProcessorLayout.h"

#include "ident/ProcessorIdentity.h"
#include "platform/Format.h"

namespace veltrane::ident {

namespace {

const char* kindName(CoreKind kind) {
    return kind == CoreKind::performance ? "performance" : "efficiency";
}

const char* kindLabel(CoreKind kind) {
    return kind == CoreKind::performance ? "Performance cores:" : "Efficiency cores:";
}

std::string plural(int count, const char* singular) {
    return strprintf("%d %s%s", count, singular, count == 1 ? "" : "s");
}

std::string sizeText(std::int32_t sizeKB) {
    return sizeKB >= 1024 && sizeKB % 1024 == 0 ? strprintf("%d MB", sizeKB / 1024)
                                                : strprintf("%d KB", sizeKB);
}

std::string waysText(const CacheGeometry& cache) {
    if (cache.fullyAssociative) {
        return "fully associative";
    }
    if (!cache.ways) {
        return "";
    }
    return *cache.ways == 1 ? "direct mapped" : strprintf("%d-way", *cache.ways);
}

void addCoreTypes(std::vector<LabelledValue>& rows, const Topology& topology) {
    for (const auto& group : topology.coreTypes) {
        rows.push_back({kindLabel(group.kind), strprintf("%d, %s (%s)", group.cores,
                                                         plural(group.threads, "thread").c_str(),
                                                         group.processors.c_str())});
    }
    if (!topology.coreTypes.empty()) {
        return;
    }
    const auto kind = topology.cpuid.coreKind;
    rows.push_back(
        {"Core types:", kind ? strprintf("two; CPUID answered on a %s core", kindName(*kind))
                             : std::string("one")});
}

void addNotes(std::vector<LabelledValue>& rows, const std::vector<std::string>& notes) {
    for (const auto& note : notes) {
        rows.push_back({"Note:", note});
    }
}

}  // namespace

ProcessorLayout processorLayout(const ProcessorIdentity& identity,
                                const platform::OsFactsSource& system,
                                const platform::AffinitySource& affinity) {
    const platform::CpuProbe& probe = identity.probe();
    const bool thisMachine = platform::readsThisProcessor(probe);
    const platform::OsFactsSource* files = thisMachine ? &system : nullptr;
    return {topology(probe, files), platform::allowedProcessors(probe, affinity),
            cacheLevels(identity, files)};
}

std::vector<LabelledValue> topologyRows(const Topology& topology,
                                        const platform::AllowedProcessors& allowed) {
    const CpuidTopology& cpuid = topology.cpuid;
    std::vector<LabelledValue> rows{
        {"Packages:", std::to_string(topology.packages)},
        {"Cores:", topology.mostCores > topology.cores
                       ? strprintf("%d to %d", topology.cores, topology.mostCores)
                       : std::to_string(topology.cores)},
        {"Threads:", std::to_string(topology.threads)},
        {"Threads per core:", std::to_string(topology.threadsPerCore)},
    };
    addCoreTypes(rows, topology);
    rows.push_back({"CPUID layout:",
                    strprintf("leaf %s, %s per package, APIC id bits %d thread, %d package",
                              cpuid.leaf.c_str(), plural(cpuid.threadsPerPackage, "thread").c_str(),
                              cpuid.threadBits, cpuid.packageBits)});
    rows.push_back({"Counted by:", topology.countedBySystem ? "the system" : "CPUID"});
    rows.push_back(
        {"Allowed processors:", strprintf("%d (%s)", allowed.count, allowed.list.c_str())});
    addNotes(rows, topology.notes);
    return rows;
}

std::string cacheFiguresText(const CacheGeometry& cache) {
    std::string text = sizeText(cache.sizeKB);
    if (const std::string ways = waysText(cache); !ways.empty()) {
        text += ", " + ways;
    }
    if (cache.lineSize > 0) {
        text += strprintf(", %d-byte lines", cache.lineSize);
    }
    if (cache.sharedBy > 0) {
        text += ", shared by " + plural(cache.sharedBy, "thread");
    }
    return text;
}

std::vector<LabelledValue> cacheLevelRows(const CacheLevels& levels) {
    std::vector<LabelledValue> rows;
    for (const auto& cache : levels.caches) {
        rows.push_back({cacheName(cache) + ":", cacheFiguresText(cache)});
    }
    if (rows.empty()) {
        rows.push_back({"Caches:", "not described"});
    } else {
        rows.push_back({"Described by:", levels.source});
    }
    addNotes(rows, levels.notes);
    return rows;
}

}  // namespace veltrane::ident

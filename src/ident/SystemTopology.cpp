#include "ident/SystemTopology.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/ProcessorList.h"

namespace veltrane::ident {

namespace {

using platform::OsFactsSource;
using platform::parseProcessorList;

const std::string kCpuFolder = "/sys/devices/system/cpu";

struct ProcessorPlace {
    std::string package;
    std::vector<int> siblings;  // the threads of its core, itself included
};

std::optional<std::vector<int>> readList(const OsFactsSource& system, const std::string& path) {
    const auto text = system.readFile(path);
    return text ? parseProcessorList(*text) : std::nullopt;
}

std::optional<ProcessorPlace> placeOf(const OsFactsSource& system, int cpu) {
    const std::string folder = kCpuFolder + "/cpu" + std::to_string(cpu) + "/topology/";
    const auto package = system.readFile(folder + "physical_package_id");
    const auto siblings = readList(system, folder + "thread_siblings_list");
    if (!package || !siblings || siblings->empty()) {
        return std::nullopt;
    }
    return ProcessorPlace{*package, *siblings};
}

// Cores counted as distinct sibling lists, with how many threads each has.
std::map<std::vector<int>, int> coresOf(const std::map<int, ProcessorPlace>& places,
                                        const std::vector<int>& processors) {
    std::map<std::vector<int>, int> cores;
    for (const int cpu : processors) {
        if (const auto found = places.find(cpu); found != places.end()) {
            ++cores[found->second.siblings];
        }
    }
    return cores;
}

std::optional<CoreTypeGroup> coreType(const OsFactsSource& system, CoreKind kind,
                                      const std::string& path,
                                      const std::map<int, ProcessorPlace>& places) {
    const auto listed = readList(system, path);
    if (!listed || listed->empty()) {
        return std::nullopt;
    }
    const auto cores = coresOf(places, *listed);
    int threads = 0;
    for (const auto& [siblings, count] : cores) {
        threads += count;
    }
    return CoreTypeGroup{.kind = kind,
                         .cores = static_cast<int>(cores.size()),
                         .threads = threads,
                         .processors = platform::processorListText(*listed)};
}

std::vector<CoreTypeGroup> coreTypes(const OsFactsSource& system,
                                     const std::map<int, ProcessorPlace>& places) {
    std::vector<CoreTypeGroup> groups;
    for (const auto& [kind, path] :
         {std::pair{CoreKind::performance, "/sys/devices/cpu_core/cpus"},
          std::pair{CoreKind::efficiency, "/sys/devices/cpu_atom/cpus"}}) {
        if (auto group = coreType(system, kind, path, places)) {
            groups.push_back(*group);
        }
    }
    return groups;
}

}  // namespace

std::optional<SystemTopology> systemTopology(const OsFactsSource& system) {
    const auto online = readList(system, kCpuFolder + "/online");
    if (!online || online->empty()) {
        return std::nullopt;
    }
    SystemTopology topology;
    topology.threads = static_cast<int>(online->size());
    std::map<int, ProcessorPlace> places;
    for (const int cpu : *online) {
        const auto place = placeOf(system, cpu);
        if (!place) {
            return topology;  // the counts we could not read are 0
        }
        places.emplace(cpu, *place);
    }
    std::set<std::string> packages;
    for (const auto& [cpu, place] : places) {
        packages.insert(place.package);
    }
    const auto cores = coresOf(places, *online);
    std::set<int> perCore;
    for (const auto& [siblings, threads] : cores) {
        perCore.insert(threads);
    }
    topology.packages = static_cast<int>(packages.size());
    topology.cores = static_cast<int>(cores.size());
    topology.threadsPerCore.assign(perCore.begin(), perCore.end());
    topology.coreTypes = coreTypes(system, places);
    return topology;
}

}  // namespace veltrane::ident

#include "ident/CacheLevels.h"

#include <algorithm>
#include <iterator>

#include "ident/CacheDescriptors.h"
#include "ident/CpuidTopology.h"
#include "ident/ProcessorIdentity.h"
#include "ident/SystemCaches.h"
#include "ident/Vendor.h"
#include "platform/CpuidLeaves.h"
#include "platform/Format.h"

namespace veltrane::ident {

namespace {

namespace cpuid = platform::cpuid;
using cpuid::bitsOf;
using platform::CpuProbe;

constexpr std::uint32_t kAmdCacheParametersLeaf = 0x8000001D;

// AMD's associativity code of L2 and L3 as processors since the K8 use it;
// the older table is a part of it.
std::optional<int> amdWays(int code) {
    constexpr int kWays[16] = {0, 1, 2, 3, 4, 6, 8, 0, 16, 0, 32, 48, 64, 96, 128, 0};
    const int ways = kWays[code & 0xF];
    return ways != 0 || code == 0 ? std::optional<int>(ways) : std::nullopt;
}

CacheGeometry amdLevel3(std::uint32_t edx) {
    return {.level = 3,
            .type = CacheType::unified,
            .sizeKB = bitsOf(edx, 18, 0x3FFF) * 512,
            .ways = amdWays(bitsOf(edx, 12, 0xF)),
            .fullyAssociative = bitsOf(edx, 12, 0xF) == 0xF,
            .linesPerTag = bitsOf(edx, 8, 0xF),
            .lineSize = bitsOf(edx, 0, 0xFF)};
}

// The older leaves give no set count; it follows from the other figures.
void fillSets(CacheGeometry& cache) {
    if (cache.sets != 0 || cache.lineSize <= 0) {
        return;
    }
    if (cache.fullyAssociative) {
        cache.sets = 1;
    } else if (cache.ways.value_or(0) > 0) {
        cache.sets =
            static_cast<std::uint64_t>(cache.sizeKB) * 1024 /
            (static_cast<std::uint64_t>(*cache.ways) * static_cast<std::uint64_t>(cache.lineSize));
    }
}

std::vector<CacheGeometry> amdOlderCaches(const ProcessorIdentity& identity) {
    std::vector<CacheGeometry> caches = cacheGeometry(identity);
    const CpuProbe& probe = identity.probe();
    if (probe.cpuid(cpuid::kHighestExtendedLeaf).eax >= cpuid::kAmdLevel2CacheLeaf) {
        const auto r = probe.cpuid(cpuid::kAmdLevel2CacheLeaf);
        for (auto& cache : caches) {
            if (cache.level == 2 && !cache.ways && !cache.fullyAssociative) {
                cache.ways = amdWays(bitsOf(r.ecx, 12, 0xF));
            }
        }
        caches.push_back(amdLevel3(r.edx));
    }
    return caches;
}

// The sharing field counts the IDs a cache could serve, a power of two that
// often exceeds the package: no cache is shared by more threads than the
// package holds.
std::vector<CacheGeometry> sharingWithinPackage(std::vector<CacheGeometry> caches,
                                                const CpuProbe& probe) {
    const int package = cpuidTopology(probe).threadsPerPackage;
    for (auto& cache : caches) {
        if (package > 0 && cache.sharedBy > package) {
            cache.sharedBy = package;
        }
    }
    return caches;
}

CacheLevels describedBy(std::vector<CacheGeometry> caches, std::string source) {
    std::erase_if(caches, [](const CacheGeometry& cache) { return cache.sizeKB <= 0; });
    for (auto& cache : caches) {
        fillSets(cache);
    }
    return {std::move(caches), std::move(source), {}};
}

const CacheGeometry* sameCache(const std::vector<CacheGeometry>& caches,
                               const CacheGeometry& wanted) {
    const auto found = std::find_if(caches.begin(), caches.end(), [&](const CacheGeometry& c) {
        return c.level == wanted.level && c.type == wanted.type;
    });
    return found != caches.end() ? &*found : nullptr;
}

void compareFigure(CacheLevels& levels, const CacheGeometry& cache, const char* what,
                   std::int64_t byCpuid, std::int64_t bySystem) {
    if (byCpuid != bySystem && bySystem != 0) {
        levels.notes.push_back(
            strprintf("%s %s: CPUID says %lld, the system %lld", cacheName(cache).c_str(), what,
                      static_cast<long long>(byCpuid), static_cast<long long>(bySystem)));
    }
}

void compareCache(CacheLevels& levels, const CacheGeometry& cpu, const CacheGeometry& system) {
    compareFigure(levels, cpu, "size in KB", cpu.sizeKB, system.sizeKB);
    if (cpu.ways && system.ways && !cpu.fullyAssociative) {
        compareFigure(levels, cpu, "ways", *cpu.ways, *system.ways);
    }
    compareFigure(levels, cpu, "line size", cpu.lineSize, system.lineSize);
    if (cpu.sharedBy != 0) {
        compareFigure(levels, cpu, "threads sharing it", cpu.sharedBy, system.sharedBy);
    }
}

void compareWithSystem(CacheLevels& levels, const std::vector<CacheGeometry>& listed) {
    for (const auto& cache : levels.caches) {
        if (const CacheGeometry* other = sameCache(listed, cache)) {
            compareCache(levels, cache, *other);
        } else {
            levels.notes.push_back(cacheName(cache) + ": the system does not list it");
        }
    }
    for (const auto& cache : listed) {
        if (sameCache(levels.caches, cache) == nullptr) {
            levels.notes.push_back(cacheName(cache) + ": CPUID does not describe it");
        }
    }
}

}  // namespace

CacheLevels cpuidCacheLevels(const ProcessorIdentity& identity) {
    const CpuProbe& probe = identity.probe();
    if (identity.vendor == kVendorAmd) {
        if (amdTopologyExtensions(probe) &&
            probe.cpuid(cpuid::kHighestExtendedLeaf).eax >= kAmdCacheParametersLeaf) {
            auto levels = describedBy(
                sharingWithinPackage(cacheParameterCaches(probe, kAmdCacheParametersLeaf), probe),
                "CPUID leaf 0x8000001D");
            if (!levels.caches.empty()) {
                return levels;
            }
        }
        return describedBy(amdOlderCaches(identity), "CPUID leaves 0x80000005 and 0x80000006");
    }
    if (probe.cpuid(cpuid::kVendorLeaf).eax >= cpuid::kCacheParametersLeaf) {
        auto levels = describedBy(sharingWithinPackage(leaf4Caches(probe), probe), "CPUID leaf 4");
        if (!levels.caches.empty()) {
            return levels;
        }
    }
    return describedBy(leaf2CacheLevels(probe), "CPUID leaf 2");
}

CacheLevels cacheLevels(const ProcessorIdentity& identity, const platform::OsFactsSource* system) {
    CacheLevels levels = cpuidCacheLevels(identity);
    const auto listed = system != nullptr ? systemCaches(*system) : std::vector<CacheGeometry>();
    if (listed.empty()) {
        return levels;
    }
    if (levels.caches.empty()) {
        return describedBy(listed, "the system");
    }
    compareWithSystem(levels, listed);
    return levels;
}

std::string cacheName(const CacheGeometry& cache) {
    constexpr const char* kTypes[] = {"data", "instruction", "unified"};
    return strprintf("L%d %s", cache.level, kTypes[static_cast<int>(cache.type)]);
}

}  // namespace veltrane::ident

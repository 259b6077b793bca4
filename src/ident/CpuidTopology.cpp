#include "ident/CpuidTopology.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "ident/Vendor.h"
#include "platform/CpuidLeaves.h"

namespace veltrane::ident {

namespace {

namespace cpuid = platform::cpuid;
using cpuid::bitOf;
using cpuid::bitsOf;
using platform::CpuProbe;

constexpr std::uint32_t kIntelTopologyLeaf = 0xB;
constexpr std::uint32_t kIntelExtendedTopologyLeaf = 0x1F;
constexpr std::uint32_t kStructuredFeaturesLeaf = 7;
constexpr int kHybridBit = 15;  // leaf 7 EDX: cores of two kinds
constexpr std::uint32_t kHybridLeaf = 0x1A;
constexpr std::uint32_t kAmdSizeLeaf = 0x80000008;
constexpr std::uint32_t kAmdProcessorTopologyLeaf = 0x8000001E;
constexpr std::uint32_t kAmdExtendedTopologyLeaf = 0x80000026;
// Leaf 0x80000001 ECX: the AMD topology leaves are there.
constexpr int kTopologyExtensionsBit = 22;
constexpr int kCoresAsLogicalBit = 1;
constexpr int kHeterogeneousCoresBit = 30;  // leaf 0x80000026 EAX
// Leaf 1 EDX: EBX[23:16] counts the package's logical processors.
constexpr int kHyperThreadingBit = 28;
// More levels than thread, core, module, tile, die and package is damage.
constexpr std::uint32_t kMaxTopologyLevels = 8;

struct Level {
    int shift;
    int count;
};

// Each level of a leaf laid out as 0xB is: its APIC id shift and its
// logical processors, until a level of type 0.
std::vector<Level> topologyLevels(const CpuProbe& probe, std::uint32_t leaf) {
    std::vector<Level> levels;
    for (std::uint32_t sub = 0; sub < kMaxTopologyLevels; ++sub) {
        const auto r = probe.cpuid(leaf, sub);
        const int count = bitsOf(r.ebx, 0, 0xFFFF);
        if (bitsOf(r.ecx, 8, 0xFF) == 0 || count == 0) {
            break;
        }
        levels.push_back({bitsOf(r.eax, 0, 0x1F), count});
    }
    return levels;
}

CpuidTopology layout(const char* leaf, int perCore, int perPackage, int threadBits,
                     int packageBits) {
    CpuidTopology topology;
    topology.leaf = leaf;
    topology.threadsPerCore = perCore;
    topology.threadsPerPackage = perPackage;
    topology.threadBits = threadBits;
    topology.packageBits = packageBits;
    return topology;
}

// The width of a field that numbers `count` things.
int bitsFor(int count) {
    return static_cast<int>(std::bit_width(static_cast<unsigned>(std::max(count, 1) - 1)));
}

std::optional<CpuidTopology> fromLevels(const CpuProbe& probe, std::uint32_t leaf,
                                        const char* name) {
    const auto levels = topologyLevels(probe, leaf);
    if (levels.empty()) {
        return std::nullopt;
    }
    // The first level is the core's threads, the last the package's.
    return layout(name, levels.front().count, std::max(levels.back().count, levels.front().count),
                  levels.front().shift, levels.back().shift);
}

std::optional<CpuidTopology> amdSizes(const CpuProbe& probe, std::uint32_t highestExtended) {
    if (highestExtended < kAmdSizeLeaf) {
        return std::nullopt;
    }
    const std::uint32_t ecx = probe.cpuid(kAmdSizeLeaf).ecx;
    const int threads = bitsOf(ecx, 0, 0xFF) + 1;
    int perCore = 1;
    if (highestExtended >= kAmdProcessorTopologyLeaf && amdTopologyExtensions(probe)) {
        perCore = bitsOf(probe.cpuid(kAmdProcessorTopologyLeaf).ebx, 8, 0xFF) + 1;
    }
    const int apicBits = bitsOf(ecx, 12, 0xF);
    return layout(perCore > 1 ? "0x8000001E" : "0x80000008", std::min(perCore, threads), threads,
                  bitsFor(perCore), apicBits != 0 ? apicBits : bitsFor(threads));
}

// Leaf 1's logical processors per package and leaf 4's cores per package;
// AMD's first dual cores count their cores in leaf 1 and say so in
// 0x80000001 ECX bit 1.
CpuidTopology signatureCounts(const CpuProbe& probe, std::uint32_t highest,
                              std::uint32_t highestExtended) {
    const auto r = probe.cpuid(cpuid::kSignatureLeaf);
    const int threads = bitOf(r.edx, kHyperThreadingBit) != 0 ? bitsOf(r.ebx, 16, 0xFF) : 1;
    int cores = 1;
    if (highestExtended >= cpuid::kExtendedFeaturesLeaf &&
        bitOf(probe.cpuid(cpuid::kExtendedFeaturesLeaf).ecx, kCoresAsLogicalBit) != 0) {
        cores = threads;
    } else if (highest >= cpuid::kCacheParametersLeaf) {
        const std::uint32_t eax = probe.cpuid(cpuid::kCacheParametersLeaf).eax;
        cores = bitsOf(eax, 0, 0x1F) != 0 ? bitsOf(eax, 26, 0x3F) + 1 : 1;
    }
    const int perPackage = std::max(threads, 1);
    const int perCore = std::max(perPackage / std::min(cores, perPackage), 1);
    return layout("1", perCore, perPackage, bitsFor(perCore), bitsFor(perPackage));
}

std::optional<CoreKind> intelCoreKind(const CpuProbe& probe, std::uint32_t highest) {
    if (highest < kHybridLeaf || bitOf(probe.cpuid(kStructuredFeaturesLeaf).edx, kHybridBit) == 0) {
        return std::nullopt;
    }
    switch (bitsOf(probe.cpuid(kHybridLeaf).eax, 24, 0xFF)) {
        case 0x20:
            return CoreKind::efficiency;  // Atom
        case 0x40:
            return CoreKind::performance;  // Core
        default:
            return std::nullopt;
    }
}

// 0x80000026 EAX bit 30 marks cores of two kinds; the core level's EBX[31:28]
// says which kind answered.
std::optional<CoreKind> amdCoreKind(const CpuProbe& probe) {
    const auto r = probe.cpuid(kAmdExtendedTopologyLeaf);
    if (bitOf(r.eax, kHeterogeneousCoresBit) == 0) {
        return std::nullopt;
    }
    return bitsOf(r.ebx, 28, 0xF) == 0 ? CoreKind::performance : CoreKind::efficiency;
}

std::optional<CpuidTopology> leveledTopology(const CpuProbe& probe, bool amd, std::uint32_t highest,
                                             std::uint32_t highestExtended) {
    if (amd && highestExtended >= kAmdExtendedTopologyLeaf) {
        if (auto found = fromLevels(probe, kAmdExtendedTopologyLeaf, "0x80000026")) {
            found->coreKind = amdCoreKind(probe);
            return found;
        }
    }
    if (!amd && highest >= kIntelExtendedTopologyLeaf) {
        if (auto found = fromLevels(probe, kIntelExtendedTopologyLeaf, "0x1F")) {
            return found;
        }
    }
    if (highest >= kIntelTopologyLeaf) {
        return fromLevels(probe, kIntelTopologyLeaf, "0xB");
    }
    return std::nullopt;
}

}  // namespace

bool amdTopologyExtensions(const CpuProbe& probe) {
    return probe.cpuid(cpuid::kHighestExtendedLeaf).eax >= cpuid::kExtendedFeaturesLeaf &&
           bitOf(probe.cpuid(cpuid::kExtendedFeaturesLeaf).ecx, kTopologyExtensionsBit) != 0;
}

CpuidTopology cpuidTopology(const CpuProbe& probe) {
    const auto vendorLeaf = probe.cpuid(cpuid::kVendorLeaf);
    const bool amd =
        vendorFromRegisters(vendorLeaf.ebx, vendorLeaf.edx, vendorLeaf.ecx) == kVendorAmd;
    const std::uint32_t highest = vendorLeaf.eax;
    const std::uint32_t highestExtended = probe.cpuid(cpuid::kHighestExtendedLeaf).eax;
    std::optional<CpuidTopology> found = leveledTopology(probe, amd, highest, highestExtended);
    if (!found && amd) {
        found = amdSizes(probe, highestExtended);
    }
    CpuidTopology topology = found ? *found : signatureCounts(probe, highest, highestExtended);
    if (!amd) {
        topology.coreKind = intelCoreKind(probe, highest);
        topology.coreThreadsVary = topology.coreKind.has_value();
    }
    return topology;
}

}  // namespace veltrane::ident

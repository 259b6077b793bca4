#include "ident/CacheGeometry.h"

#include <algorithm>
#include <cstdint>

#include "ident/ProcessorIdentity.h"
#include "ident/Vendor.h"
#include "platform/CpuidLeaves.h"

namespace veltrane::ident {

namespace {

namespace cpuid = platform::cpuid;
using cpuid::bitOf;
using cpuid::bitsOf;
using cpuid::byteOf;
using platform::CpuidRegisters;
using platform::CpuProbe;

// ---------------------------------------------------------------- AMD

CacheGeometry amdLevel1(std::uint32_t word, CacheType type) {
    const int ways = bitsOf(word, 16, 0xFF);
    return {.level = 1,
            .type = type,
            .sizeKB = bitsOf(word, 24, 0xFF),
            .ways = ways,
            .fullyAssociative = ways == 0xFF,
            .linesPerTag = bitsOf(word, 8, 0xFF),
            .lineSize = bitsOf(word, 0, 0xFF)};
}

CacheGeometry amdLevel2(std::uint32_t ecx, std::int32_t sizeKB) {
    const Associativity associativity = amdAssociativity(bitsOf(ecx, 12, 0xF));
    return {.level = 2,
            .type = CacheType::unified,
            .sizeKB = sizeKB,
            .ways = associativity.ways,
            .fullyAssociative = associativity.full,
            .linesPerTag = bitsOf(ecx, 8, 0xF),
            .lineSize = bitsOf(ecx, 0, 0xFF)};
}

std::vector<CacheGeometry> amdCaches(const ProcessorIdentity& identity) {
    const CpuProbe& probe = identity.probe();
    const auto level1 = probe.cpuid(cpuid::kAmdLevel1CacheLeaf);
    std::vector<CacheGeometry> caches{amdLevel1(level1.ecx, CacheType::data),
                                      amdLevel1(level1.edx, CacheType::code)};
    if (probe.cpuid(cpuid::kHighestExtendedLeaf).eax >= cpuid::kAmdLevel2CacheLeaf) {
        const std::uint32_t ecx = probe.cpuid(cpuid::kAmdLevel2CacheLeaf).ecx;
        // Family 6 model 3 stepping 0 reports its 64 KB wrongly.
        const bool misreports =
            identity.family == 6 && identity.model == 3 && identity.stepping == 0;
        caches.push_back(amdLevel2(ecx, misreports ? 64 : bitsOf(ecx, 16, 0xFFFF)));
    }
    return caches;
}

// ---------------------------------------------------------------- leaf 2

enum Readings : unsigned { kSizes = 1, kPage = 2, kBoth = kSizes | kPage };

struct Descriptor {
    std::uint8_t value;
    unsigned readings;
    int level;
    CacheType type;
    std::int32_t sizeKB;
    int ways;
    int lineSize;
    bool sectored;
};

// Ways and line sizes as the cache page shows them.
constexpr Descriptor kDescriptors[] = {
    {0x06, kBoth, 1, CacheType::code, 8, 4, 32, false},
    {0x08, kBoth, 1, CacheType::code, 16, 4, 32, false},
    {0x0A, kBoth, 1, CacheType::data, 8, 4, 32, false},
    {0x0C, kBoth, 1, CacheType::data, 16, 4, 32, false},
    {0x66, kPage, 1, CacheType::data, 8, 4, 64, true},
    {0x40, kSizes, 2, CacheType::unified, 0, 0, 0, false},  // no second level
    {0x41, kBoth, 2, CacheType::unified, 128, 4, 32, false},
    {0x42, kBoth, 2, CacheType::unified, 256, 4, 32, false},
    {0x43, kBoth, 2, CacheType::unified, 512, 4, 32, false},
    {0x44, kBoth, 2, CacheType::unified, 1024, 4, 32, false},
    {0x45, kPage, 2, CacheType::unified, 2048, 4, 32, false},
    {0x79, kSizes, 2, CacheType::unified, 128, 8, 64, true},
    {0x7A, kBoth, 2, CacheType::unified, 256, 8, 64, true},
    {0x7B, kSizes, 2, CacheType::unified, 512, 8, 64, true},
    {0x7C, kSizes, 2, CacheType::unified, 1024, 8, 64, true},
    {0x82, kBoth, 2, CacheType::unified, 256, 8, 32, false},
    {0x83, kSizes, 2, CacheType::unified, 512, 8, 32, false},
    {0x84, kBoth, 2, CacheType::unified, 1024, 8, 32, false},
    {0x85, kPage, 2, CacheType::unified, 2048, 8, 32, false},
};

struct DescriptorPosition {
    int byte;
    int level;
    CacheType type;
};

// The bytes of EDX the cache page reads; the identity's sizes look for the
// first-level caches in the other two of these bytes.
constexpr DescriptorPosition kPagePositions[] = {
    {3, 1, CacheType::data}, {1, 1, CacheType::code}, {0, 2, CacheType::unified}};

std::vector<CacheGeometry> descriptorCaches(std::uint32_t edx) {
    std::vector<CacheGeometry> caches;
    for (const auto& position : kPagePositions) {
        if (const auto cache = descriptorCache(byteOf(edx, position.byte), position.level,
                                               position.type, DescriptorReading::page)) {
            caches.push_back(*cache);
        }
    }
    return caches;
}

bool holdsDescriptorFF(std::uint32_t value, int firstByte) {
    if (bitOf(value, 31) != 0) {
        return false;  // a register with bit 31 set carries no descriptors
    }
    for (int i = firstByte; i < 4; ++i) {
        if (byteOf(value, i) == 0xFF) {
            return true;
        }
    }
    return false;
}

// The descriptor 0xFF: "ask leaf 4 instead".
bool leaf2DefersToLeaf4(const CpuProbe& probe) {
    const auto r = probe.cpuid(cpuid::kDescriptorLeaf);
    // The low byte of EAX is the repeat count, not a descriptor.
    return holdsDescriptorFF(r.eax, 1) || holdsDescriptorFF(r.ebx, 0) ||
           holdsDescriptorFF(r.ecx, 0) || holdsDescriptorFF(r.edx, 0);
}

// ---------------------------------------------------------------- leaf 4

// Keeps a figure from a damaged answer readable instead of wrapping it.
std::int32_t clamped(std::uint64_t value) {
    return static_cast<std::int32_t>(std::min<std::uint64_t>(value, INT32_MAX));
}

CacheGeometry leaf4Cache(const CpuidRegisters& r, CacheType type) {
    const std::uint64_t ways = static_cast<std::uint64_t>(bitsOf(r.ebx, 22, 0x3FF)) + 1;
    const std::uint64_t partitions = static_cast<std::uint64_t>(bitsOf(r.ebx, 12, 0x3FF)) + 1;
    const std::uint64_t lineSize = static_cast<std::uint64_t>(bitsOf(r.ebx, 0, 0xFFF)) + 1;
    const std::uint64_t sets = std::uint64_t{r.ecx} + 1;
    // Bytes per set times sets can reach 2^64: split the product so it cannot wrap.
    const std::uint64_t bytesPerSet = ways * partitions * lineSize;
    const std::uint64_t sizeKB = bytesPerSet / 1024 * sets + bytesPerSet % 1024 * sets / 1024;
    return {.level = bitsOf(r.eax, 5, 0x7),
            .type = type,
            .sizeKB = clamped(sizeKB),
            .ways = clamped(ways),
            .fullyAssociative = bitOf(r.eax, 9) != 0,
            .linesPerTag = clamped(partitions),
            .lineSize = clamped(lineSize),
            .sets = sets,
            .sharedBy = bitsOf(r.eax, 14, 0xFFF) + 1};
}

}  // namespace

Associativity amdAssociativity(int code) {
    switch (code) {
        case 0:  // switched off
        case 1:  // direct mapped
        case 2:
        case 4:
            return {code};
        case 6:
            return {8};
        case 8:
            return {16};
        case 15:
            return {std::nullopt, true};
        default:
            return {};
    }
}

std::optional<CacheGeometry> descriptorCache(std::uint8_t descriptor, int level, CacheType type,
                                             DescriptorReading reading) {
    const unsigned wanted = reading == DescriptorReading::sizes ? kSizes : kPage;
    for (const auto& d : kDescriptors) {
        if (d.value == descriptor && d.level == level && d.type == type &&
            (d.readings & wanted) != 0) {
            return CacheGeometry{.level = level,
                                 .type = type,
                                 .sizeKB = d.sizeKB,
                                 .ways = d.ways,
                                 .sectored = d.sectored,
                                 .lineSize = d.lineSize};
        }
    }
    return std::nullopt;
}

std::vector<CacheGeometry> leaf4Caches(const CpuProbe& probe) {
    return cacheParameterCaches(probe, cpuid::kCacheParametersLeaf);
}

std::vector<CacheGeometry> cacheParameterCaches(const CpuProbe& probe, std::uint32_t leaf) {
    std::vector<CacheGeometry> caches;
    for (std::uint32_t sub = 0; sub < cpuid::kMaxCacheSubleaves; ++sub) {
        const auto r = probe.cpuid(leaf, sub);
        const int type = bitsOf(r.eax, 0, 0x1F);
        if (type == 0) {
            break;  // no more caches
        }
        constexpr CacheType kTypes[] = {CacheType::data, CacheType::code, CacheType::unified};
        if (type <= 3) {  // the other types are reserved
            caches.push_back(leaf4Cache(r, kTypes[type - 1]));
        }
    }
    return caches;
}

CacheLeaves cacheLeaves(const ProcessorIdentity& identity) {
    if (identity.vendor == kVendorAmd) {
        return CacheLeaves::amd;
    }
    if (identity.vendor != kVendorIntel) {
        return CacheLeaves::none;
    }
    const CpuProbe& probe = identity.probe();
    const bool leaf4 = identity.reportsExtendedSignature() && leaf2DefersToLeaf4(probe) &&
                       probe.cpuid(cpuid::kVendorLeaf).eax >= cpuid::kCacheParametersLeaf;
    return leaf4 ? CacheLeaves::leaf4 : CacheLeaves::descriptors;
}

std::vector<CacheGeometry> cacheGeometry(const ProcessorIdentity& identity) {
    switch (cacheLeaves(identity)) {
        case CacheLeaves::amd:
            return amdCaches(identity);
        case CacheLeaves::descriptors:
            return descriptorCaches(identity.probe().cpuid(cpuid::kDescriptorLeaf).edx);
        case CacheLeaves::leaf4:
            return leaf4Caches(identity.probe());
        case CacheLeaves::none:
            break;
    }
    return {};
}

const CacheGeometry* findCache(const std::vector<CacheGeometry>& caches, int level,
                               CacheType kind) {
    const CacheGeometry* found = nullptr;
    for (const auto& cache : caches) {
        if (cache.level == level && (cache.type == kind || cache.type == CacheType::unified)) {
            found = &cache;
        }
    }
    return found;
}

}  // namespace veltrane::ident

#include "ident/CacheSizes.h"

#include <vector>

#include "ident/CacheGeometry.h"
#include "ident/ProcessorIdentity.h"
#include "platform/CpuidLeaves.h"

namespace veltrane::ident {

namespace {

namespace cpuid = platform::cpuid;

std::int32_t sizeOf(const CacheGeometry* cache, std::int32_t missing) {
    return cache != nullptr ? cache->sizeKB : missing;
}

CacheSizes levelSizes(const std::vector<CacheGeometry>& caches, std::int32_t missingL2) {
    return {sizeOf(findCache(caches, 1, CacheType::data), 0),
            sizeOf(findCache(caches, 1, CacheType::code), 0),
            sizeOf(findCache(caches, 2, CacheType::data), missingL2)};
}

std::int32_t descriptorSize(std::uint8_t descriptor, int level, CacheType type) {
    const auto cache = descriptorCache(descriptor, level, type, DescriptorReading::sizes);
    return cache ? cache->sizeKB : descriptor;
}

// Unlike the cache page, the identity takes byte 1 for the first-level data
// cache and byte 3 for the instruction cache.
CacheSizes descriptorSizes(std::uint32_t edx) {
    return {descriptorSize(cpuid::byteOf(edx, 1), 1, CacheType::data),
            descriptorSize(cpuid::byteOf(edx, 3), 1, CacheType::code),
            descriptorSize(cpuid::byteOf(edx, 0), 2, CacheType::unified)};
}

}  // namespace

CacheSizes cacheSizes(const ProcessorIdentity& identity) {
    const CacheLeaves leaves = cacheLeaves(identity);
    if (leaves == CacheLeaves::descriptors) {
        return descriptorSizes(identity.probe().cpuid(cpuid::kDescriptorLeaf).edx);
    }
    return levelSizes(cacheGeometry(identity), leaves == CacheLeaves::amd ? -1 : 0);
}

}  // namespace veltrane::ident

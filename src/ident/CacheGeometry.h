#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/CpuProbe.h"

namespace veltrane::ident {

class ProcessorIdentity;

enum class CacheType { data, code, unified };

// One cache as the processor describes it; a figure it does not state is 0.
struct CacheGeometry {
    int level = 0;
    CacheType type = CacheType::unified;
    std::int32_t sizeKB = 0;
    // 1 is direct mapped, 0 a cache switched off; absent where the processor
    // gives no count or a code the program does not know.
    std::optional<int> ways;
    bool fullyAssociative = false;
    bool sectored = false;
    int linesPerTag = 0;  // leaf 4 calls them line partitions
    int lineSize = 0;     // bytes
    std::uint64_t sets = 0;
    int sharedBy = 0;  // logical processors

    bool operator==(const CacheGeometry&) const = default;
};

// Where the caches of a processor are described.
enum class CacheLeaves {
    none,         // vendors whose cache leaves the program does not read
    amd,          // 0x80000005 and 0x80000006
    descriptors,  // the descriptor bytes of leaf 2
    leaf4,        // newer Intel processors whose leaf 2 holds the descriptor 0xFF
};

CacheLeaves cacheLeaves(const ProcessorIdentity& identity);

// Every cache the processor describes, in the order it lists them (level by
// level for leaf 2 and the AMD leaves). Leaf 4's reserved cache types are
// skipped. The AMD second level is listed only when its leaf is there.
std::vector<CacheGeometry> cacheGeometry(const ProcessorIdentity& identity);
std::vector<CacheGeometry> leaf4Caches(const platform::CpuProbe& probe);
// The caches of a leaf laid out as leaf 4 (AMD's 0x8000001D is).
std::vector<CacheGeometry> cacheParameterCaches(const platform::CpuProbe& probe,
                                                std::uint32_t leaf);

// The last cache listed at `level` that holds `kind` (data or code): a
// unified cache holds both.
const CacheGeometry* findCache(const std::vector<CacheGeometry>& caches, int level, CacheType kind);

// Leaf 2 is read two ways: the identity's sizes know a short list of
// descriptors, the cache page another; both take their meanings from one table.
enum class DescriptorReading { sizes, page };

// The cache a leaf-2 descriptor byte names, when it is one of `level` and
// `type` that `reading` knows.
std::optional<CacheGeometry> descriptorCache(std::uint8_t descriptor, int level, CacheType type,
                                             DescriptorReading reading);

// AMD's 4-bit associativity code of second-level caches and TLBs.
struct Associativity {
    std::optional<int> ways;
    bool full = false;
};
Associativity amdAssociativity(int code);

}  // namespace veltrane::ident

#pragma once

#include <cstdint>

#include "platform/CpuProbe.h"

namespace veltrane::ident {

struct CacheSizes {
    std::int32_t l1DataKB = 0;
    std::int32_t l1CodeKB = 0;
    std::int32_t l2KB = 0;
};

// Leaves 0x80000005 and 0x80000006; l2KB is -1 when the processor has no
// leaf 0x80000006. Family 6 model 3 stepping 0 reports its 64 KB wrongly
// there, so that one is not asked.
CacheSizes amdCacheSizes(const platform::CpuProbe& probe, int family, int model, int stepping);

// The first-level and second-level sizes from the leaf-2 descriptor bytes of
// EDX; a descriptor the short table does not know stays as its raw value.
std::int32_t intelL1CodeKB(std::uint8_t descriptor);
std::int32_t intelL1DataKB(std::uint8_t descriptor);
std::int32_t intelL2KB(std::uint8_t descriptor);
CacheSizes intelLeaf2CacheSizes(const platform::CpuProbe& probe);

// Leaf 2 holds the descriptor 0xFF: "ask leaf 4 instead".
bool leaf2DefersToLeaf4(const platform::CpuProbe& probe);
CacheSizes leaf4CacheSizes(const platform::CpuProbe& probe);

}  // namespace veltrane::ident

#include "ident/CacheSizes.h"

#include <algorithm>
#include <cstdint>

namespace veltrane::ident {

namespace {

constexpr std::uint32_t kMaxCacheSubleaves = 16;

std::uint8_t byteOf(std::uint32_t value, int index) {
    return static_cast<std::uint8_t>((value >> (8 * index)) & 0xFF);
}

bool holdsDescriptorFF(std::uint32_t value, int firstByte) {
    if ((value & 0x80000000u) != 0) {
        return false;  // a register with bit 31 set carries no descriptors
    }
    for (int i = firstByte; i < 4; ++i) {
        if (byteOf(value, i) == 0xFF) {
            return true;
        }
    }
    return false;
}

std::int32_t leaf4SizeKB(const platform::CpuidRegisters& r) {
    const std::uint64_t ways = ((r.ebx >> 22) & 0x3FF) + 1;
    const std::uint64_t partitions = ((r.ebx >> 12) & 0x3FF) + 1;
    const std::uint64_t lineSize = (r.ebx & 0xFFF) + 1;
    const std::uint64_t sets = std::uint64_t{r.ecx} + 1;
    // Ways, partitions and line size are at most 2^10, 2^10 and 2^12; sets up
    // to 2^32: the product fits in 64 bits, the size in KB may not fit in 32.
    const std::uint64_t sizeKB = ways * partitions * lineSize * (sets / 1024) +
                                 ways * partitions * lineSize * (sets % 1024) / 1024;
    return static_cast<std::int32_t>(std::min<std::uint64_t>(sizeKB, INT32_MAX));
}

}  // namespace

CacheSizes amdCacheSizes(const platform::CpuProbe& probe, int family, int model, int stepping) {
    CacheSizes sizes;
    const std::uint32_t highestExtendedLeaf = probe.cpuid(0x80000000).eax;
    const auto level1 = probe.cpuid(0x80000005);
    sizes.l1DataKB = static_cast<std::int32_t>(level1.ecx >> 24);
    sizes.l1CodeKB = static_cast<std::int32_t>(level1.edx >> 24);
    if (highestExtendedLeaf < 0x80000006) {
        sizes.l2KB = -1;
    } else if (family == 6 && model == 3 && stepping == 0) {
        sizes.l2KB = 64;
    } else {
        sizes.l2KB = static_cast<std::int32_t>(probe.cpuid(0x80000006).ecx >> 16);
    }
    return sizes;
}

std::int32_t intelL1CodeKB(std::uint8_t descriptor) {
    switch (descriptor) {
        case 0x06:
            return 8;
        case 0x08:
            return 16;
        default:
            return descriptor;
    }
}

std::int32_t intelL1DataKB(std::uint8_t descriptor) {
    switch (descriptor) {
        case 0x0A:
            return 8;
        case 0x0C:
            return 16;
        default:
            return descriptor;
    }
}

std::int32_t intelL2KB(std::uint8_t descriptor) {
    switch (descriptor) {
        case 0x40:
            return 0;
        case 0x41:
        case 0x79:
            return 128;
        case 0x42:
        case 0x7A:
        case 0x82:
            return 256;
        case 0x43:
        case 0x7B:
        case 0x83:
            return 512;
        case 0x44:
        case 0x7C:
        case 0x84:
            return 1024;
        default:
            return descriptor;
    }
}

CacheSizes intelLeaf2CacheSizes(const platform::CpuProbe& probe) {
    const std::uint32_t edx = probe.cpuid(2).edx;
    CacheSizes sizes;
    sizes.l2KB = intelL2KB(byteOf(edx, 0));
    sizes.l1DataKB = intelL1DataKB(byteOf(edx, 1));
    sizes.l1CodeKB = intelL1CodeKB(byteOf(edx, 3));
    return sizes;
}

bool leaf2DefersToLeaf4(const platform::CpuProbe& probe) {
    const auto r = probe.cpuid(2);
    // The low byte of EAX is the repeat count, not a descriptor.
    return holdsDescriptorFF(r.eax, 1) || holdsDescriptorFF(r.ebx, 0) ||
           holdsDescriptorFF(r.ecx, 0) || holdsDescriptorFF(r.edx, 0);
}

CacheSizes leaf4CacheSizes(const platform::CpuProbe& probe) {
    CacheSizes sizes;
    for (std::uint32_t sub = 0; sub < kMaxCacheSubleaves; ++sub) {
        const auto r = probe.cpuid(4, sub);
        const std::uint32_t type = r.eax & 0x1F;
        const std::uint32_t level = (r.eax >> 5) & 0x7;
        if (type == 0) {
            break;
        }
        if (level == 1 && type == 1) {
            sizes.l1DataKB = leaf4SizeKB(r);
        } else if (level == 1 && type == 2) {
            sizes.l1CodeKB = leaf4SizeKB(r);
        } else if (level == 2 && type != 2) {
            sizes.l2KB = leaf4SizeKB(r);
        }
    }
    return sizes;
}

}  // namespace veltrane::ident

#pragma once

#include <cstdint>

// The CPUID leaves the program reads, how far it walks their sub-leaves, and
// the helpers that take fields out of a register.
namespace veltrane::platform::cpuid {

inline constexpr std::uint32_t kVendorLeaf = 0;
inline constexpr std::uint32_t kSignatureLeaf = 1;  // EAX signature, EDX standard features
inline constexpr std::uint32_t kDescriptorLeaf = 2;
inline constexpr std::uint32_t kCacheParametersLeaf = 4;
inline constexpr std::uint32_t kStructuredFeaturesLeaf = 7;  // sub-leaf 0 EAX: the last sub-leaf
inline constexpr std::uint32_t kTopologyLeaf = 0xB;
inline constexpr std::uint32_t kXsaveLeaf = 0xD;
inline constexpr std::uint32_t kTlbParametersLeaf = 0x18;
inline constexpr std::uint32_t kExtendedTopologyLeaf = 0x1F;
inline constexpr std::uint32_t kHighestExtendedLeaf = 0x80000000;
inline constexpr std::uint32_t kExtendedFeaturesLeaf = 0x80000001;  // EDX extended features
inline constexpr std::uint32_t kFirstBrandLeaf = 0x80000002;
inline constexpr std::uint32_t kLastBrandLeaf = 0x80000004;
inline constexpr std::uint32_t kAmdLevel1CacheLeaf = 0x80000005;
inline constexpr std::uint32_t kAmdLevel2CacheLeaf = 0x80000006;
inline constexpr std::uint32_t kAmdCacheTopologyLeaf = 0x8000001D;
inline constexpr std::uint32_t kAmdQosLeaf = 0x80000020;
inline constexpr std::uint32_t kAmdCoreTopologyLeaf = 0x80000026;

inline constexpr int kOsXsaveBit = 27;  // leaf 1 ECX: the OS has enabled XSAVE and XGETBV

// Bounds the sub-leaf walks so that a damaged answer cannot make them long.
inline constexpr std::uint32_t kMaxCacheSubleaves = 16;
inline constexpr std::uint32_t kMaxTlbSubleaves = 32;
inline constexpr std::uint32_t kMaxListedSubleaves = 32;  // leaves whose sub-leaf 0 gives the last
inline constexpr std::uint32_t kMaxTopologySubleaves = 16;
// A dump goes no further than these, whatever leaf 0 and 0x80000000 claim.
inline constexpr std::uint32_t kLastDumpedLeaf = 0x20;
inline constexpr std::uint32_t kLastDumpedExtendedLeaf = 0x80000028;

// The field of `mask` width that starts at bit `shift`; masks stay below 2^31.
constexpr int bitsOf(std::uint32_t value, int shift, std::uint32_t mask) {
    return static_cast<int>((value >> shift) & mask);
}

constexpr int bitOf(std::uint32_t value, int bit) {
    return bitsOf(value, bit, 1);
}

constexpr std::uint8_t byteOf(std::uint32_t value, int index) {
    return static_cast<std::uint8_t>(bitsOf(value, 8 * index, 0xFF));
}

}  // namespace veltrane::platform::cpuid

#include "ident/CacheDescriptors.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/CpuidLeaves.h"

namespace veltrane::ident {

namespace {

struct CacheDescriptor {
    std::uint8_t value;
    int level;
    CacheType type;
    std::int32_t sizeKB;
    int ways;
    int lineSize;
    bool sectored;
};

constexpr CacheType kData = CacheType::data;
constexpr CacheType kCode = CacheType::code;
constexpr CacheType kUnified = CacheType::unified;

// Intel's published descriptor values for caches.
constexpr CacheDescriptor kCacheDescriptors[] = {
    {0x06, 1, kCode, 8, 4, 32, false},         {0x08, 1, kCode, 16, 4, 32, false},
    {0x09, 1, kCode, 32, 4, 64, false},        {0x0A, 1, kData, 8, 2, 32, false},
    {0x0C, 1, kData, 16, 4, 32, false},        {0x0D, 1, kData, 16, 4, 64, false},
    {0x0E, 1, kData, 24, 6, 64, false},        {0x1D, 2, kUnified, 128, 2, 64, false},
    {0x21, 2, kUnified, 256, 8, 64, false},    {0x22, 3, kUnified, 512, 4, 64, true},
    {0x23, 3, kUnified, 1024, 8, 64, true},    {0x24, 2, kUnified, 1024, 16, 64, false},
    {0x25, 3, kUnified, 2048, 8, 64, true},    {0x29, 3, kUnified, 4096, 8, 64, true},
    {0x2C, 1, kData, 32, 8, 64, false},        {0x30, 1, kCode, 32, 8, 64, false},
    {0x41, 2, kUnified, 128, 4, 32, false},    {0x42, 2, kUnified, 256, 4, 32, false},
    {0x43, 2, kUnified, 512, 4, 32, false},    {0x44, 2, kUnified, 1024, 4, 32, false},
    {0x45, 2, kUnified, 2048, 4, 32, false},   {0x46, 3, kUnified, 4096, 4, 64, false},
    {0x47, 3, kUnified, 8192, 8, 64, false},   {0x48, 2, kUnified, 3072, 12, 64, false},
    {0x49, 2, kUnified, 4096, 16, 64, false},  {0x4A, 3, kUnified, 6144, 12, 64, false},
    {0x4B, 3, kUnified, 8192, 16, 64, false},  {0x4C, 3, kUnified, 12288, 12, 64, false},
    {0x4D, 3, kUnified, 16384, 16, 64, false}, {0x4E, 2, kUnified, 6144, 24, 64, false},
    {0x60, 1, kData, 16, 8, 64, true},         {0x66, 1, kData, 8, 4, 64, true},
    {0x67, 1, kData, 16, 4, 64, true},         {0x68, 1, kData, 32, 4, 64, true},
    {0x78, 2, kUnified, 1024, 4, 64, false},   {0x79, 2, kUnified, 128, 8, 64, true},
    {0x7A, 2, kUnified, 256, 8, 64, true},     {0x7B, 2, kUnified, 512, 8, 64, true},
    {0x7C, 2, kUnified, 1024, 8, 64, true},    {0x7D, 2, kUnified, 2048, 8, 64, false},
    {0x7F, 2, kUnified, 512, 2, 64, false},    {0x80, 2, kUnified, 512, 8, 64, false},
    {0x82, 2, kUnified, 256, 8, 32, false},    {0x83, 2, kUnified, 512, 8, 32, false},
    {0x84, 2, kUnified, 1024, 8, 32, false},   {0x85, 2, kUnified, 2048, 8, 32, false},
    {0x86, 2, kUnified, 512, 4, 64, false},    {0x87, 2, kUnified, 1024, 8, 64, false},
    {0xD0, 3, kUnified, 512, 4, 64, false},    {0xD1, 3, kUnified, 1024, 4, 64, false},
    {0xD2, 3, kUnified, 2048, 4, 64, false},   {0xD6, 3, kUnified, 1024, 8, 64, false},
    {0xD7, 3, kUnified, 2048, 8, 64, false},   {0xD8, 3, kUnified, 4096, 8, 64, false},
    {0xDC, 3, kUnified, 1536, 12, 64, false},  {0xDD, 3, kUnified, 3072, 12, 64, false},
    {0xDE, 3, kUnified, 6144, 12, 64, false},  {0xE2, 3, kUnified, 2048, 16, 64, false},
    {0xE3, 3, kUnified, 4096, 16, 64, false},  {0xE4, 3, kUnified, 8192, 16, 64, false},
    {0xEA, 3, kUnified, 12288, 24, 64, false}, {0xEB, 3, kUnified, 18432, 24, 64, false},
    {0xEC, 3, kUnified, 24576, 24, 64, false},
};

const CacheDescriptor* findDescriptor(std::uint8_t value) {
    for (const auto& descriptor : kCacheDescriptors) {
        if (descriptor.value == value) {
            return &descriptor;
        }
    }
    return nullptr;
}

// The descriptor bytes: all but EAX's low byte, which is a repeat count.
std::vector<std::uint8_t> descriptorBytes(const platform::CpuidRegisters& r) {
    std::vector<std::uint8_t> bytes;
    const std::array<std::uint32_t, 4> registers{r.eax, r.ebx, r.ecx, r.edx};
    for (std::size_t i = 0; i < registers.size(); ++i) {
        if ((registers[i] >> 31) != 0) {
            continue;
        }
        for (int byte = i == 0 ? 1 : 0; byte < 4; ++byte) {
            bytes.push_back(static_cast<std::uint8_t>(registers[i] >> (8 * byte)));
        }
    }
    return bytes;
}

int typeOrder(CacheType type) {
    return type == kData ? 0 : type == kCode ? 1 : 2;
}

}  // namespace

std::vector<CacheGeometry> leaf2CacheLevels(const platform::CpuProbe& probe) {
    if (probe.cpuid(platform::cpuid::kVendorLeaf).eax < platform::cpuid::kDescriptorLeaf) {
        return {};
    }
    std::vector<CacheGeometry> caches;
    for (const std::uint8_t value :
         descriptorBytes(probe.cpuid(platform::cpuid::kDescriptorLeaf))) {
        const CacheDescriptor* d = findDescriptor(value);
        if (d == nullptr) {
            continue;
        }
        const CacheGeometry cache{.level = d->level,
                                  .type = d->type,
                                  .sizeKB = d->sizeKB,
                                  .ways = d->ways,
                                  .sectored = d->sectored,
                                  .lineSize = d->lineSize};
        if (std::find(caches.begin(), caches.end(), cache) == caches.end()) {
            caches.push_back(cache);
        }
    }
    std::stable_sort(caches.begin(), caches.end(), [](const auto& a, const auto& b) {
        return a.level != b.level ? a.level < b.level : typeOrder(a.type) < typeOrder(b.type);
    });
    return caches;
}

}  // namespace veltrane::ident

#include "ident/CachePage.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

#include "ident/CacheGeometry.h"
#include "ident/ProcessorIdentity.h"
#include "platform/CpuProbe.h"
#include "platform/CpuidLeaves.h"
#include "platform/Format.h"

namespace veltrane::ident {

namespace {

namespace cpuid = platform::cpuid;
using cpuid::bitsOf;
using platform::CpuidRegisters;
using platform::CpuProbe;

enum Group : std::size_t {
    kL1LargeTlb,
    kL1SmallTlb,
    kL1Data,
    kL1Code,
    kL2LargeTlb,
    kL2SmallTlb,
    kL2Cache,
    kL3Cache,
    kGroupCount
};

enum class Side { data, code };

struct TlbTexts {
    std::string ways;
    std::string entries;
};

struct CacheTexts {
    std::string size;
    std::string ways;
    std::string linesPerTag;
    std::string lineSize;
};

// ---------------------------------------------------------------- layout

CacheGroup tlbGroup(const char* title) {
    return {title,
            {{"DATA TLB Associativity", "", true},
             {"DATA TLB # entries", "", true},
             {"Instr.TLB Associativity", "", true},
             {"Instr. TLB # entries", "", true}}};
}

CacheGroup cacheGroup(const char* title, const char* sizeLabel) {
    return {title,
            {{"Associativity", "", true},
             {"Lines per tag", "", true},
             {"Line size", "", true},
             {sizeLabel, "", true}}};
}

CachePage emptyPage(const std::string& processorName) {
    CachePage page{
        "Cache informations for " + processorName,
        {tlbGroup("2 Mbyte/4MByte Pages (L1 TLB)"), tlbGroup("4 KByte Pages (L1 TLB)"),
         cacheGroup("L1 Data cache", "L1 Data cache size"),
         cacheGroup("L1 Instruction cache", "L1 Instr. cache size"),
         tlbGroup("2 Mbyte/4MByte Pages (L2 TLB)"), tlbGroup("4 KByte Pages (L2 TLB)"),
         cacheGroup("L2 cache", "L2 cache size"), cacheGroup("L3 cache", "L3 cache size")}};
    for (auto& field : page.groups[kL3Cache].fields) {
        field.enabled = false;
    }
    return page;
}

void disableEverything(CachePage& page) {
    for (auto& group : page.groups) {
        for (auto& field : group.fields) {
            field.enabled = false;
        }
    }
}

void setTlb(CachePage& page, Group group, Side side, const TlbTexts& texts) {
    auto& fields = page.groups[group].fields;
    const std::size_t first = side == Side::data ? 0 : 2;
    fields[first].value = texts.ways;
    fields[first + 1].value = texts.entries;
}

void setCache(CachePage& page, Group group, const CacheTexts& texts) {
    auto& fields = page.groups[group].fields;
    fields[0].value = texts.ways;
    fields[1].value = texts.linesPerTag;
    fields[2].value = texts.lineSize;
    fields[3].value = texts.size;
}

// ---------------------------------------------------------------- AMD

std::string entriesText(int count) {
    return strprintf("%d entries", count);
}

std::string level1Ways(int code) {
    return code == 0xFF ? "Full" : strprintf("%d way", code);
}

// The 4 KB instruction TLB writes its associativity in hexadecimal.
std::string level1CodeTlbWays(int code) {
    return code == 0xFF ? "Full" : strprintf("0x%x way", static_cast<unsigned>(code));
}

std::string level2Ways(const Associativity& associativity, const char* notKnown) {
    if (associativity.full) {
        return "Full";
    }
    if (!associativity.ways) {
        return notKnown;
    }
    switch (*associativity.ways) {
        case 0:
            return "off";
        case 1:
            return "Direct mapped";
        default:
            return strprintf("%d way", *associativity.ways);
    }
}

TlbTexts level1Tlb(std::uint32_t word, int shift) {
    return {level1Ways(bitsOf(word, shift + 8, 0xFF)), entriesText(bitsOf(word, shift, 0xFF))};
}

TlbTexts level2Tlb(std::uint32_t word, int shift, const char* notKnown) {
    return {level2Ways(amdAssociativity(bitsOf(word, shift + 12, 0xF)), notKnown),
            entriesText(bitsOf(word, shift, 0xFFF))};
}

void fillAmdTlbs(CachePage& page, const CpuProbe& probe) {
    const auto level1 = probe.cpuid(cpuid::kAmdLevel1CacheLeaf);
    setTlb(page, kL1LargeTlb, Side::data, level1Tlb(level1.eax, 16));
    setTlb(page, kL1LargeTlb, Side::code, level1Tlb(level1.eax, 0));
    setTlb(page, kL1SmallTlb, Side::data, level1Tlb(level1.ebx, 16));
    setTlb(
        page, kL1SmallTlb, Side::code,
        {level1CodeTlbWays(bitsOf(level1.ebx, 8, 0xFF)), entriesText(bitsOf(level1.ebx, 0, 0xFF))});
    const bool hasLevel2Leaf =
        probe.cpuid(cpuid::kHighestExtendedLeaf).eax >= cpuid::kAmdLevel2CacheLeaf;
    const auto level2 = hasLevel2Leaf ? probe.cpuid(cpuid::kAmdLevel2CacheLeaf) : CpuidRegisters{};
    setTlb(page, kL2LargeTlb, Side::data, level2Tlb(level2.eax, 16, "Unknow"));
    setTlb(page, kL2LargeTlb, Side::code, level2Tlb(level2.eax, 0, "Unkow"));
    setTlb(page, kL2SmallTlb, Side::data, level2Tlb(level2.ebx, 16, "unknow"));
    setTlb(page, kL2SmallTlb, Side::code, level2Tlb(level2.ebx, 0, "unknow"));
}

// The second-level size is the identity's, which carries the family 6
// model 3 stepping 0 correction and -1 for a missing leaf.
CacheTexts amdCacheTexts(const CacheGeometry& cache, int l2KB) {
    const bool level2 = cache.level == 2;
    return {strprintf("%d KByte", level2 ? l2KB : cache.sizeKB),
            level2 ? level2Ways({cache.ways, cache.fullyAssociative}, "unknow")
                   : strprintf("%d way", cache.ways.value_or(0)),
            strprintf("%d lines", cache.linesPerTag), strprintf("%d Byte", cache.lineSize)};
}

// ---------------------------------------------------------------- Intel leaf 2

enum class Register { eax, edx };

struct BytePosition {
    Register reg;
    int index;
};

struct TlbDescriptor {
    BytePosition position;
    std::uint8_t value;
    Group group;
    Side side;
    const char* ways;
};

// Examined in this order; a later match overwrites an earlier one.
const std::array<TlbDescriptor, 10> kTlbDescriptors{{
    {{Register::eax, 1}, 0x03, kL1LargeTlb, Side::data, "4 way"},
    {{Register::eax, 1}, 0x5B, kL1LargeTlb, Side::data, "full"},
    {{Register::eax, 1}, 0x5B, kL1SmallTlb, Side::data, "full"},
    {{Register::eax, 3}, 0x03, kL1SmallTlb, Side::data, "4 way"},
    {{Register::eax, 3}, 0x5B, kL1SmallTlb, Side::data, "full"},
    {{Register::eax, 2}, 0x02, kL1LargeTlb, Side::code, "4 way"},
    {{Register::eax, 2}, 0x50, kL1LargeTlb, Side::code, "full"},
    {{Register::eax, 2}, 0x50, kL1SmallTlb, Side::code, "full"},
    {{Register::edx, 2}, 0x04, kL1LargeTlb, Side::code, "4 way"},
    {{Register::edx, 2}, 0x50, kL1SmallTlb, Side::code, "full"},
}};

bool holds(const CpuidRegisters& r, BytePosition position, std::uint8_t value) {
    const std::uint32_t word = position.reg == Register::eax ? r.eax : r.edx;
    return cpuid::byteOf(word, position.index) == value;
}

void fillLeaf2Tlbs(CachePage& page, const CpuidRegisters& leaf2) {
    for (const auto& d : kTlbDescriptors) {
        if (holds(leaf2, d.position, d.value)) {
            setTlb(page, d.group, d.side, {d.ways, "64 entries"});
        }
    }
}

// The page spells the texts of each group its own way.
CacheTexts descriptorTexts(const CacheGeometry& cache) {
    const bool level2 = cache.level == 2;
    const bool data = cache.type == CacheType::data;
    const char* kind = level2 ? (cache.sectored ? "Sectored Cache" : "Unified Cache")
                              : (cache.sectored ? "Sectored" : "Unified cache");
    return {cache.sizeKB < 1024 ? strprintf("%d KByte", cache.sizeKB)
                                : strprintf("%d MByte", cache.sizeKB / 1024),
            strprintf("%d way", cache.ways.value_or(0)), kind,
            data ? strprintf("%d byte", cache.lineSize) : strprintf("%d Byte", cache.lineSize)};
}

// ---------------------------------------------------------------- Intel leaves 4 and 0x18

// Keeps a figure from a damaged answer readable instead of wrapping it.
int clampedInt(std::uint64_t value) {
    return static_cast<int>(std::min<std::uint64_t>(value, INT_MAX));
}

std::string waysText(bool fullyAssociative, std::uint64_t ways) {
    return fullyAssociative ? "Full" : strprintf("%d way", clampedInt(ways));
}

CacheTexts leaf4Texts(const CacheGeometry& cache) {
    return {strprintf("%d KByte", cache.sizeKB),
            waysText(cache.fullyAssociative, static_cast<std::uint64_t>(cache.ways.value_or(0))),
            strprintf("%d lines", cache.linesPerTag), strprintf("%d Byte", cache.lineSize)};
}

// Which (group, side) pairs leaf 0x18 has already described: the first
// description of a page size wins over later, narrower ones.
using TlbSlots = std::array<bool, 2 * kGroupCount>;

void setTlbOnce(CachePage& page, TlbSlots& written, Group group, Side side, const TlbTexts& texts) {
    const std::size_t slot = 2 * group + (side == Side::data ? 0 : 1);
    if (!written[slot]) {
        written[slot] = true;
        setTlb(page, group, side, texts);
    }
}

void applyLeaf18Tlb(CachePage& page, TlbSlots& written, const CpuidRegisters& r) {
    const int type = bitsOf(r.edx, 0, 0x1F);  // 1 data, 2 instruction, 3 unified, 4 load-only
    const int level = bitsOf(r.edx, 5, 0x7);
    if ((level != 1 && level != 2) || type == 0 || type > 4) {
        return;  // absent, a third level, or a store-only TLB
    }
    const auto ways = static_cast<std::uint64_t>(bitsOf(r.ebx, 16, 0xFFFF));
    const TlbTexts texts{waysText(cpuid::bitOf(r.edx, 8) != 0, ways),
                         entriesText(clampedInt(ways * r.ecx))};
    const bool smallPages = bitsOf(r.ebx, 0, 0x1) != 0;
    const bool largePages = bitsOf(r.ebx, 1, 0x3) != 0;
    const Group small = level == 1 ? kL1SmallTlb : kL2SmallTlb;
    const Group large = level == 1 ? kL1LargeTlb : kL2LargeTlb;
    for (const Side side : {Side::data, Side::code}) {
        const bool covers = type == 3 || (side == Side::data ? type != 2 : type == 2);
        if (covers && smallPages) {
            setTlbOnce(page, written, small, side, texts);
        }
        if (covers && largePages) {
            setTlbOnce(page, written, large, side, texts);
        }
    }
}

void fillFromLeaf18(CachePage& page, const CpuProbe& probe) {
    const auto first = probe.cpuid(cpuid::kTlbParametersLeaf, 0);
    const std::uint32_t last = std::min(first.eax, cpuid::kMaxTlbSubleaves - 1);
    TlbSlots written{};
    for (std::uint32_t sub = 0; sub <= last; ++sub) {
        applyLeaf18Tlb(page, written,
                       sub == 0 ? first : probe.cpuid(cpuid::kTlbParametersLeaf, sub));
    }
}

struct CacheSlot {
    Group group;
    int level;
    CacheType kind;
};

constexpr CacheSlot kCacheSlots[] = {
    {kL1Data, 1, CacheType::data}, {kL1Code, 1, CacheType::code}, {kL2Cache, 2, CacheType::data}};

template <typename Texts>
void fillCaches(CachePage& page, const std::vector<CacheGeometry>& caches, Texts texts) {
    for (const auto& slot : kCacheSlots) {
        if (const auto* cache = findCache(caches, slot.level, slot.kind)) {
            setCache(page, slot.group, texts(*cache));
        }
    }
}

void fillPage(CachePage& page, const ProcessorIdentity& identity) {
    const CpuProbe& probe = identity.probe();
    auto caches = cacheGeometry(identity);
    switch (cacheLeaves(identity)) {
        case CacheLeaves::amd:
            fillAmdTlbs(page, probe);
            if (findCache(caches, 2, CacheType::data) == nullptr) {
                caches.push_back({.level = 2, .ways = 0});  // shown switched off
            }
            fillCaches(page, caches,
                       [&](const auto& c) { return amdCacheTexts(c, identity.l2KB); });
            break;
        case CacheLeaves::descriptors:
            fillLeaf2Tlbs(page, probe.cpuid(cpuid::kDescriptorLeaf));
            fillCaches(page, caches, descriptorTexts);
            break;
        case CacheLeaves::leaf4:
            fillLeaf2Tlbs(page, probe.cpuid(cpuid::kDescriptorLeaf));
            if (probe.cpuid(cpuid::kVendorLeaf).eax >= cpuid::kTlbParametersLeaf) {
                fillFromLeaf18(page, probe);
            }
            fillCaches(page, caches, leaf4Texts);
            break;
        case CacheLeaves::none:
            disableEverything(page);
            break;
    }
}

}  // namespace

CachePage cachePage(const ProcessorIdentity& identity, const std::string& processorName) {
    CachePage page = emptyPage(processorName);
    fillPage(page, identity);
    return page;
}

}  // namespace veltrane::ident

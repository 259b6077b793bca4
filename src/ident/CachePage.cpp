#include "ident/CachePage.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

#include "ident/CacheSizes.h"
#include "ident/ProcessorIdentity.h"
#include "ident/Vendor.h"
#include "platform/CpuProbe.h"
#include "platform/Format.h"

namespace veltrane::ident {

namespace {

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

constexpr std::uint32_t kHighestExtendedLeaf = 0x80000000;
constexpr std::uint32_t kAmdLevel1Leaf = 0x80000005;
constexpr std::uint32_t kAmdLevel2Leaf = 0x80000006;
constexpr std::uint32_t kCacheParametersLeaf = 4;
constexpr std::uint32_t kTlbParametersLeaf = 0x18;
// Bounds the sub-leaf walks so that a damaged dump cannot make them long.
constexpr std::uint32_t kMaxCacheSubleaves = 16;
constexpr std::uint32_t kMaxTlbSubleaves = 32;

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

int bitsOf(std::uint32_t value, int shift, std::uint32_t mask) {
    return static_cast<int>((value >> shift) & mask);
}

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

std::string level2Ways(int code, const char* notKnown) {
    switch (code) {
        case 0:
            return "off";
        case 1:
            return "Direct mapped";
        case 2:
            return strprintf("%d way", 2);
        case 4:
            return "4 way";
        case 6:
            return "8 way";
        case 8:
            return strprintf("%d way", 16);
        case 15:
            return "Full";
        default:
            return notKnown;
    }
}

TlbTexts level1Tlb(std::uint32_t word, int shift) {
    return {level1Ways(bitsOf(word, shift + 8, 0xFF)), entriesText(bitsOf(word, shift, 0xFF))};
}

TlbTexts level2Tlb(std::uint32_t word, int shift, const char* notKnown) {
    return {level2Ways(bitsOf(word, shift + 12, 0xF), notKnown),
            entriesText(bitsOf(word, shift, 0xFFF))};
}

CacheTexts level1Cache(std::uint32_t word) {
    return {
        strprintf("%d KByte", bitsOf(word, 24, 0xFF)), strprintf("%d way", bitsOf(word, 16, 0xFF)),
        strprintf("%d lines", bitsOf(word, 8, 0xFF)), strprintf("%d Byte", bitsOf(word, 0, 0xFF))};
}

void fillAmdLevel1(CachePage& page, const CpuidRegisters& r) {
    setTlb(page, kL1LargeTlb, Side::data, level1Tlb(r.eax, 16));
    setTlb(page, kL1LargeTlb, Side::code, level1Tlb(r.eax, 0));
    setTlb(page, kL1SmallTlb, Side::data, level1Tlb(r.ebx, 16));
    setTlb(page, kL1SmallTlb, Side::code,
           {level1CodeTlbWays(bitsOf(r.ebx, 8, 0xFF)), entriesText(bitsOf(r.ebx, 0, 0xFF))});
    setCache(page, kL1Data, level1Cache(r.ecx));
    setCache(page, kL1Code, level1Cache(r.edx));
}

void fillAmdLevel2(CachePage& page, const CpuidRegisters& r, int l2KB) {
    setTlb(page, kL2LargeTlb, Side::data, level2Tlb(r.eax, 16, "Unknow"));
    setTlb(page, kL2LargeTlb, Side::code, level2Tlb(r.eax, 0, "Unkow"));
    setTlb(page, kL2SmallTlb, Side::data, level2Tlb(r.ebx, 16, "unknow"));
    setTlb(page, kL2SmallTlb, Side::code, level2Tlb(r.ebx, 0, "unknow"));
    setCache(page, kL2Cache,
             {strprintf("%d KByte", l2KB), level2Ways(bitsOf(r.ecx, 12, 0xF), "unknow"),
              strprintf("%d lines", bitsOf(r.ecx, 8, 0xF)),
              strprintf("%d Byte", bitsOf(r.ecx, 0, 0xFF))});
}

void fillAmd(CachePage& page, const ProcessorIdentity& identity) {
    const CpuProbe& probe = identity.probe();
    const bool hasLevel2Leaf = probe.cpuid(kHighestExtendedLeaf).eax >= kAmdLevel2Leaf;
    fillAmdLevel1(page, probe.cpuid(kAmdLevel1Leaf));
    // The identity's l2KB carries the family 6 model 3 stepping 0 correction
    // and -1 for a missing leaf.
    fillAmdLevel2(page, hasLevel2Leaf ? probe.cpuid(kAmdLevel2Leaf) : CpuidRegisters{},
                  identity.l2KB);
}

// ---------------------------------------------------------------- Intel leaf 2

enum class Register { eax, edx };

struct BytePosition {
    Register reg;
    int index;
};

struct CacheDescriptor {
    BytePosition position;
    std::uint8_t value;
    Group group;
    CacheTexts texts;
};

struct TlbDescriptor {
    BytePosition position;
    std::uint8_t value;
    Group group;
    Side side;
    const char* ways;
};

// Examined in this order; a later match overwrites an earlier one.
const std::array<CacheDescriptor, 14> kCacheDescriptors{{
    {{Register::edx, 0}, 0x41, kL2Cache, {"128 KByte", "4 way", "Unified Cache", "32 Byte"}},
    {{Register::edx, 0}, 0x42, kL2Cache, {"256 KByte", "4 way", "Unified Cache", "32 Byte"}},
    {{Register::edx, 0}, 0x43, kL2Cache, {"512 KByte", "4 way", "Unified Cache", "32 Byte"}},
    {{Register::edx, 0}, 0x44, kL2Cache, {"1 MByte", "4 way", "Unified Cache", "32 Byte"}},
    {{Register::edx, 0}, 0x45, kL2Cache, {"2 MByte", "4 way", "Unified Cache", "32 Byte"}},
    {{Register::edx, 0}, 0x7A, kL2Cache, {"256 KByte", "8 way", "Sectored Cache", "64 Byte"}},
    {{Register::edx, 0}, 0x82, kL2Cache, {"256 KByte", "8 way", "Unified Cache", "32 Byte"}},
    {{Register::edx, 0}, 0x84, kL2Cache, {"1 MByte", "8 way", "Unified Cache", "32 Byte"}},
    {{Register::edx, 0}, 0x85, kL2Cache, {"2 MByte", "8 way", "Unified Cache", "32 Byte"}},
    {{Register::edx, 3}, 0x0A, kL1Data, {"8 KByte", "4 way", "Unified cache", "32 byte"}},
    {{Register::edx, 3}, 0x0C, kL1Data, {"16 KByte", "4 way", "Unified cache", "32 byte"}},
    {{Register::edx, 3}, 0x66, kL1Data, {"8 KByte", "4 way", "Sectored", "64 byte"}},
    {{Register::edx, 1}, 0x06, kL1Code, {"8 KByte", "4 way", "Unified cache", "32 Byte"}},
    {{Register::edx, 1}, 0x08, kL1Code, {"16 KByte", "4 way", "Unified cache", "32 Byte"}},
}};

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
    return ((word >> (8 * position.index)) & 0xFF) == value;
}

void fillIntelLeaf2(CachePage& page, const CpuidRegisters& leaf2) {
    for (const auto& d : kCacheDescriptors) {
        if (holds(leaf2, d.position, d.value)) {
            setCache(page, d.group, d.texts);
        }
    }
    for (const auto& d : kTlbDescriptors) {
        if (holds(leaf2, d.position, d.value)) {
            setTlb(page, d.group, d.side, {d.ways, "64 entries"});
        }
    }
}

// ---------------------------------------------------------------- Intel leaves 4 and 0x18

// Keeps a figure from a damaged answer readable instead of wrapping it.
int clampedInt(std::uint64_t value) {
    return static_cast<int>(std::min<std::uint64_t>(value, INT_MAX));
}

std::string waysText(bool fullyAssociative, std::uint64_t ways) {
    return fullyAssociative ? "Full" : strprintf("%d way", clampedInt(ways));
}

CacheTexts leaf4Texts(const CpuidRegisters& r) {
    const std::uint64_t ways = ((r.ebx >> 22) & 0x3FF) + 1;
    const std::uint64_t partitions = ((r.ebx >> 12) & 0x3FF) + 1;
    const std::uint64_t lineSize = (r.ebx & 0xFFF) + 1;
    const std::uint64_t sets = std::uint64_t{r.ecx} + 1;
    // Bytes per set times sets can reach 2^64: split the product so it cannot wrap.
    const std::uint64_t bytesPerSet = ways * partitions * lineSize;
    const std::uint64_t sizeKB = bytesPerSet / 1024 * sets + bytesPerSet % 1024 * sets / 1024;
    return {strprintf("%d KByte", clampedInt(sizeKB)), waysText(((r.eax >> 9) & 1) != 0, ways),
            strprintf("%d lines", clampedInt(partitions)),
            strprintf("%d Byte", clampedInt(lineSize))};
}

void applyLeaf4Cache(CachePage& page, const CpuidRegisters& r) {
    const std::uint32_t type = r.eax & 0x1F;  // 1 data, 2 instruction, 3 unified
    const std::uint32_t level = (r.eax >> 5) & 0x7;
    if (level == 1 && (type == 1 || type == 3)) {
        setCache(page, kL1Data, leaf4Texts(r));
    }
    if (level == 1 && (type == 2 || type == 3)) {
        setCache(page, kL1Code, leaf4Texts(r));
    }
    if (level == 2 && (type == 1 || type == 3)) {
        setCache(page, kL2Cache, leaf4Texts(r));
    }
}

void fillFromLeaf4(CachePage& page, const CpuProbe& probe) {
    for (std::uint32_t sub = 0; sub < kMaxCacheSubleaves; ++sub) {
        const auto r = probe.cpuid(kCacheParametersLeaf, sub);
        if ((r.eax & 0x1F) == 0) {
            break;
        }
        applyLeaf4Cache(page, r);
    }
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
    const std::uint32_t type = r.edx & 0x1F;  // 1 data, 2 instruction, 3 unified, 4 load-only
    const std::uint32_t level = (r.edx >> 5) & 0x7;
    if ((level != 1 && level != 2) || type == 0 || type > 4) {
        return;  // absent, a third level, or a store-only TLB
    }
    const std::uint64_t ways = r.ebx >> 16;
    const TlbTexts texts{waysText(((r.edx >> 8) & 1) != 0, ways),
                         entriesText(clampedInt(ways * r.ecx))};
    const bool smallPages = (r.ebx & 0x1) != 0;
    const bool largePages = (r.ebx & 0x6) != 0;
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
    const auto first = probe.cpuid(kTlbParametersLeaf, 0);
    const std::uint32_t last = std::min(first.eax, kMaxTlbSubleaves - 1);
    TlbSlots written{};
    for (std::uint32_t sub = 0; sub <= last; ++sub) {
        applyLeaf18Tlb(page, written, sub == 0 ? first : probe.cpuid(kTlbParametersLeaf, sub));
    }
}

void fillIntel(CachePage& page, const ProcessorIdentity& identity) {
    const CpuProbe& probe = identity.probe();
    fillIntelLeaf2(page, probe.cpuid(2));
    if (!identity.reportsExtendedSignature() || !leaf2DefersToLeaf4(probe)) {
        return;
    }
    const std::uint32_t highestLeaf = probe.cpuid(0).eax;
    if (highestLeaf >= kCacheParametersLeaf) {
        fillFromLeaf4(page, probe);
    }
    if (highestLeaf >= kTlbParametersLeaf) {
        fillFromLeaf18(page, probe);
    }
}

}  // namespace

CachePage cachePage(const ProcessorIdentity& identity, const std::string& processorName) {
    CachePage page = emptyPage(processorName);
    if (identity.vendor == kVendorAmd) {
        fillAmd(page, identity);
    } else if (identity.vendor == kVendorIntel) {
        fillIntel(page, identity);
    } else {
        disableEverything(page);
    }
    return page;
}

}  // namespace veltrane::ident

// What a CPUID dump records: every leaf the processor reports and the
// sub-leaves of those that have them.
#include <algorithm>

#include "platform/CpuidDump.h"
#include "platform/CpuidLeaves.h"

namespace veltrane::platform {

namespace {

using namespace cpuid;

constexpr std::uint32_t kTimeStampCounterLeaf = 0x17;  // sub-leaf 0 EAX: the last sub-leaf
constexpr std::uint32_t kProcessorTraceLeaf = 0x14;
constexpr std::uint32_t kRdtMonitoringLeaf = 0xF;   // sub-leaf 0 EDX: a bit per resource
constexpr std::uint32_t kRdtAllocationLeaf = 0x10;  // sub-leaf 0 EBX: a bit per resource
constexpr std::uint32_t kSgxLeaf = 0x12;
constexpr std::uint32_t kTilePaletteLeaf = 0x1D;
constexpr std::uint32_t kTileMultiplierLeaf = 0x1E;
constexpr std::uint32_t kSgxFirstEpcSubleaf = 2;
constexpr std::uint32_t kMaxSgxEpcSubleaves = 16;

int cacheType(const CpuidRegisters& r) {
    return bitsOf(r.eax, 0, 0x1F);
}

int levelType(const CpuidRegisters& r) {
    return bitsOf(r.ecx, 8, 0xFF);
}

class Capture {
public:
    explicit Capture(const CpuProbe& probe) : probe_(probe) {}

    CpuidRegisters take(std::uint32_t leaf, std::uint32_t subleaf = 0) {
        if (const auto known = dump_.find(leaf, subleaf)) {
            return *known;
        }
        const auto registers = probe_.cpuid(leaf, subleaf);
        dump_.add(leaf, subleaf, registers);
        return registers;
    }

    // Sub-leaves from `first` up to the one `isLast` says ends the list.
    template <typename IsLast>
    void takeUntil(std::uint32_t leaf, std::uint32_t first, std::uint32_t limit, IsLast isLast) {
        for (std::uint32_t sub = first; sub < limit; ++sub) {
            if (isLast(take(leaf, sub))) {
                break;
            }
        }
    }

    // Sub-leaf 0 EAX names the last sub-leaf.
    void takeListed(std::uint32_t leaf) {
        const auto last = std::min(take(leaf).eax, kMaxListedSubleaves - 1);
        for (std::uint32_t sub = 1; sub <= last; ++sub) {
            take(leaf, sub);
        }
    }

    // One sub-leaf for each bit set in `mask`, from bit `first` on.
    void takeMasked(std::uint32_t leaf, std::uint64_t mask, std::uint32_t first) {
        for (std::uint32_t sub = first; sub < 64; ++sub) {
            if ((mask >> sub) & 1) {
                take(leaf, sub);
            }
        }
    }

    // Sub-leaves 0 and 1 give the user and supervisor state components;
    // each component has its own sub-leaf.
    void takeXsave() {
        const auto user = take(kXsaveLeaf, 0);
        const auto supervisor = take(kXsaveLeaf, 1);
        const auto high = [](std::uint32_t value) { return std::uint64_t{value} << 32; };
        takeMasked(kXsaveLeaf, user.eax | high(user.edx) | supervisor.ecx | high(supervisor.edx),
                   2);
    }

    void takeWithSubleaves(std::uint32_t leaf) {
        switch (leaf) {
            case kCacheParametersLeaf:
            case kAmdCacheTopologyLeaf:
                return takeUntil(leaf, 0, kMaxCacheSubleaves,
                                 [](const CpuidRegisters& r) { return cacheType(r) == 0; });
            case kTopologyLeaf:
            case kExtendedTopologyLeaf:
            case kAmdCoreTopologyLeaf:
                return takeUntil(leaf, 0, kMaxTopologySubleaves,
                                 [](const CpuidRegisters& r) { return levelType(r) == 0; });
            case kStructuredFeaturesLeaf:
            case kProcessorTraceLeaf:
            case kTimeStampCounterLeaf:
            case kTlbParametersLeaf:
            case kTilePaletteLeaf:
            case kTileMultiplierLeaf:
                return takeListed(leaf);
            case kXsaveLeaf:
                return takeXsave();
            case kRdtMonitoringLeaf:
                return takeMasked(leaf, take(leaf).edx, 1);
            case kRdtAllocationLeaf:
            case kAmdQosLeaf:
                return takeMasked(leaf, take(leaf).ebx, 1);
            case kSgxLeaf:
                take(leaf, 0);
                take(leaf, 1);
                return takeUntil(
                    leaf, kSgxFirstEpcSubleaf, kSgxFirstEpcSubleaf + kMaxSgxEpcSubleaves,
                    [](const CpuidRegisters& r) { return bitsOf(r.eax, 0, 0xF) == 0; });
            default:
                take(leaf);
        }
    }

    CpuidDump finish() {
        dump_.processors = probe_.processorCount();
        dump_.xcr0 = probe_.xcr0();
        return std::move(dump_);
    }

private:
    const CpuProbe& probe_;
    CpuidDump dump_;
};

// The last leaf of the range that starts at `base`, within `cap`; an answer
// outside the range (no such leaves) gives the base alone.
std::uint32_t lastLeaf(const CpuProbe& probe, std::uint32_t base, std::uint32_t cap) {
    const auto highest = probe.cpuid(base).eax;
    return highest < base ? base : std::min(highest, cap);
}

}  // namespace

CpuidDump captureCpuidDump(const CpuProbe& probe) {
    Capture capture(probe);
    // The leaves up to the descriptors and the AMD caches are always taken,
    // as the pages read them on every processor.
    const auto last = std::max(lastLeaf(probe, kVendorLeaf, kLastDumpedLeaf), kDescriptorLeaf);
    for (std::uint32_t leaf = kVendorLeaf; leaf <= last; ++leaf) {
        capture.takeWithSubleaves(leaf);
    }
    const auto lastExtended = std::max(
        lastLeaf(probe, kHighestExtendedLeaf, kLastDumpedExtendedLeaf), kAmdLevel2CacheLeaf);
    for (std::uint32_t leaf = kHighestExtendedLeaf; leaf <= lastExtended; ++leaf) {
        capture.takeWithSubleaves(leaf);
    }
    return capture.finish();
}

}  // namespace veltrane::platform

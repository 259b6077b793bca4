// The real processor, reached through the compiler's x86 intrinsics.
#include <cpuid.h>
#include <x86intrin.h>

#include "platform/CpuProbe.h"
#include "platform/CpuidLeaves.h"

namespace veltrane::platform {

namespace {

class NativeCpuProbe final : public CpuProbe {
public:
    CpuidRegisters cpuid(std::uint32_t leaf, std::uint32_t subleaf) const override {
        CpuidRegisters r;
        __cpuid_count(leaf, subleaf, r.eax, r.ebx, r.ecx, r.edx);
        return r;
    }

    std::uint64_t readTimeStampCounter() const override { return __rdtsc(); }

    // XGETBV faults unless the OS has set CR4.OSXSAVE, which leaf 1 mirrors.
    std::optional<std::uint64_t> xcr0() const override {
        if (cpuid::bitOf(cpuid(cpuid::kSignatureLeaf, 0).ecx, cpuid::kOsXsaveBit) == 0) {
            return std::nullopt;
        }
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        asm volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
        return (std::uint64_t{high} << 32) | low;
    }
};

}  // namespace

const CpuProbe& nativeCpuProbe() {
    static const NativeCpuProbe probe;
    return probe;
}

}  // namespace veltrane::platform

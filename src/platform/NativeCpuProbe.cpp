// The real processor, reached through the compiler's x86 intrinsics.
#include <cpuid.h>
#include <x86intrin.h>

#include "platform/CpuProbe.h"

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
};

}  // namespace

const CpuProbe& nativeCpuProbe() {
    static const NativeCpuProbe probe;
    return probe;
}

}  // namespace veltrane::platform

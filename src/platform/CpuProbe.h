#pragma once

#include <cstdint>
#include <memory>
#include <optional>

namespace veltrane::platform {

struct CpuidRegisters {
    std::uint32_t eax = 0;
    std::uint32_t ebx = 0;
    std::uint32_t ecx = 0;
    std::uint32_t edx = 0;

    bool operator==(const CpuidRegisters&) const = default;
};

// The processor as the program sees it: CPUID answers, the time-stamp
// counter, and optionally a processor count that replaces the system's.
class CpuProbe {
public:
    virtual ~CpuProbe() = default;
    virtual CpuidRegisters cpuid(std::uint32_t leaf, std::uint32_t subleaf = 0) const = 0;
    virtual std::uint64_t readTimeStampCounter() const = 0;
    virtual std::optional<std::uint32_t> processorCount() const { return std::nullopt; }
    // XCR0, the register state the operating system saves and so lets
    // programs use; none where XGETBV may not be run (OSXSAVE clear) or a
    // dump did not record it.
    virtual std::optional<std::uint64_t> xcr0() const { return std::nullopt; }
};

// The probe every part of the program uses unless told otherwise: the real
// processor, or a recorded dump chosen at start-up.
const CpuProbe& activeCpuProbe();
void setActiveCpuProbe(std::unique_ptr<CpuProbe> probe);

const CpuProbe& nativeCpuProbe();

// True when `probe` answers for the processor this program runs on, not for
// a recorded dump: only then can its clocks, caches and memory be measured.
inline bool readsThisProcessor(const CpuProbe& probe) {
    return &probe == &nativeCpuProbe();
}

}  // namespace veltrane::platform

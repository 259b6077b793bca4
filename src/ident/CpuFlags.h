#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ident/VectorState.h"
#include "platform/CpuProbe.h"

namespace veltrane::ident {

enum class CpuidRegister { eax, ebx, ecx, edx };

// One CPUID bit and the name Linux shows for it in /proc/cpuinfo. Bits
// Linux gives no name are not listed; one bit may carry two names.
struct CpuFlag {
    std::uint32_t leaf;
    std::uint32_t subleaf;
    CpuidRegister reg;
    int bit;
    std::string_view name;
    RegisterState state = RegisterState::none;  // what the OS must enable for its instructions
};

// In the order Linux lists them.
std::span<const CpuFlag> cpuFlagTable();

// The names of the bits the processor sets, in table order, each once. Only
// leaves within the highest leaf of their range are read, and leaf 7's
// sub-leaves only up to the last its sub-leaf 0 names.
std::vector<std::string> cpuFlags(const platform::CpuProbe& probe);

// The same without the flags whose register state the OS has not enabled,
// as Linux hides them; flags whose state cannot be told are kept.
std::vector<std::string> usableCpuFlags(const platform::CpuProbe& probe);

}  // namespace veltrane::ident

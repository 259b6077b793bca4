#include "ident/VectorState.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/CpuidLeaves.h"
#include "platform/Format.h"

namespace veltrane::ident {

namespace {

constexpr std::uint64_t kSseBits = 1u << 1;
constexpr std::uint64_t kAvxBits = kSseBits | 1u << 2;
constexpr std::uint64_t kAvx512Bits = kAvxBits | 0x7u << 5;  // opmask, upper ZMM0-15, ZMM16-31
constexpr std::uint64_t kAmxBits = 0x3u << 17;               // tile configuration and data

struct VectorUnit {
    RegisterState state;
    const char* label;
    std::string_view flag;  // the CPUID flag that says the processor has it
    std::uint64_t xcr0Bits;
};

constexpr std::array kUnits{
    VectorUnit{RegisterState::sse, "SSE:", "sse", kSseBits},
    VectorUnit{RegisterState::avx, "AVX:", "avx", kAvxBits},
    VectorUnit{RegisterState::avx512, "AVX-512:", "avx512f", kAvx512Bits},
    VectorUnit{RegisterState::amx, "AMX:", "amx_tile", kAmxBits},
};

bool osXsave(const platform::CpuProbe& probe) {
    namespace cpuid = platform::cpuid;
    return cpuid::bitOf(probe.cpuid(cpuid::kSignatureLeaf).ecx, cpuid::kOsXsaveBit) != 0;
}

std::string supportText(bool supported, OsSupport os) {
    if (!supported) {
        return "not supported";
    }
    switch (os) {
        case OsSupport::enabled:
            return "supported, enabled by the OS";
        case OsSupport::disabled:
            return "supported, not enabled by the OS";
        case OsSupport::unknown:
            break;
    }
    return "supported, OS state not known";
}

std::string xcr0Text(const platform::CpuProbe& probe) {
    if (const auto xcr0 = probe.xcr0()) {
        return strprintf("0x%016llX", static_cast<unsigned long long>(*xcr0));
    }
    return osXsave(probe) ? "not recorded" : "not readable (XSAVE not enabled by the OS)";
}

}  // namespace

OsSupport osSupport(const platform::CpuProbe& probe, RegisterState state) {
    if (state == RegisterState::none) {
        return OsSupport::enabled;
    }
    const auto& unit = *std::find_if(kUnits.begin(), kUnits.end(),
                                     [&](const VectorUnit& u) { return u.state == state; });
    if (const auto xcr0 = probe.xcr0()) {
        return (*xcr0 & unit.xcr0Bits) == unit.xcr0Bits ? OsSupport::enabled : OsSupport::disabled;
    }
    // Without XSAVE the OS cannot hold any state past SSE's; whether it
    // enabled SSE itself (FXSAVE) is not to be seen from here.
    if (!osXsave(probe) && state != RegisterState::sse) {
        return OsSupport::disabled;
    }
    return OsSupport::unknown;
}

std::vector<LabelledValue> vectorStateRows(const platform::CpuProbe& probe,
                                           const std::vector<std::string>& flags) {
    std::vector<LabelledValue> rows{{"XCR0:", xcr0Text(probe)}};
    const auto has = [&](std::string_view flag) {
        return std::find(flags.begin(), flags.end(), flag) != flags.end();
    };
    for (const auto& unit : kUnits) {
        const bool supported = has(unit.flag);
        const auto os = osSupport(probe, unit.state);
        const bool amxSeen = supported || (probe.xcr0().value_or(0) & kAmxBits) != 0;
        if (unit.state != RegisterState::amx || amxSeen) {
            rows.push_back({unit.label, supportText(supported, os)});
        }
    }
    return rows;
}

}  // namespace veltrane::ident

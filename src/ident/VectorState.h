#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ident/ExtendedCpuPage.h"
#include "platform/CpuProbe.h"

namespace veltrane::ident {

// The register state a flag's instructions work on; the OS must save it
// (XCR0) before programs may use them.
enum class RegisterState { none, sse, avx, avx512, amx };

enum class OsSupport { enabled, disabled, unknown };

// Whether the OS has enabled `state`: XCR0 when the processor lets it be
// read, otherwise what can be told without it (no XSAVE, no AVX state).
OsSupport osSupport(const platform::CpuProbe& probe, RegisterState state);

// "XCR0:" and a line for SSE, AVX and AVX-512 (and AMX where present):
// whether the processor has it (from `flags`) and the OS enabled it.
std::vector<LabelledValue> vectorStateRows(const platform::CpuProbe& probe,
                                           const std::vector<std::string>& flags);

}  // namespace veltrane::ident

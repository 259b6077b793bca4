#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ident/ExtendedCpuPage.h"
#include "ident/MemoryInfo.h"
#include "ident/OsInfo.h"

namespace veltrane::ident {

inline constexpr const char* kOsPageHeading = "Operating System Informations";

// One memory gauge: a bar from 0 to `maximum` standing at `position`.
struct MemoryBar {
    std::uint32_t maximum = 0;
    std::uint32_t position = 0;
    std::uint32_t percent = 0;
};

// The three gauges of the operating-system page and the main form.
struct MemoryBars {
    MemoryBar memoryLoad;
    MemoryBar pageFile;
    MemoryBar userResources;
};

MemoryBars memoryBars(const MemoryInfo& memory);

// A gauge's percentage as the main form writes it: "37 %".
std::string percentText(std::uint32_t percent);

// The operating-system page in page order: every label with its text, then
// the three gauges ("Mem Loaded:", "Page File Load:", "User Resources:") as
// percentages.
std::vector<LabelledValue> osPageRows(const OsInfo& os, const MemoryInfo& memory);

}  // namespace veltrane::ident

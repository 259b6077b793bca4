#pragma once

#include <cstdint>

namespace veltrane::platform {

// The facts the original platform's system-information call gave.
struct SystemInfo {
    std::uint32_t numberOfProcessors = 0;
    std::uint32_t pageSize = 0;
    std::uint32_t allocationGranularity = 0;
    std::uint64_t minimumApplicationAddress = 0;
    std::uint64_t maximumApplicationAddress = 0;
};

SystemInfo getSystemInfo();

}  // namespace veltrane::platform

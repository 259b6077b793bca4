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

// Memory in bytes, 64-bit so machines with more than 4 GB read right.
struct MemoryStatus {
    std::uint32_t memoryLoad = 0;  // percent in use
    std::uint64_t totalPhys = 0;
    std::uint64_t availPhys = 0;
    std::uint64_t totalPageFile = 0;
    std::uint64_t availPageFile = 0;
};

MemoryStatus getMemoryStatus();

// The installed memory in MB as the program shows it: the system reports a
// little less than is fitted, so one is added.
std::uint32_t installedMemoryMB(const MemoryStatus& status);

}  // namespace veltrane::platform

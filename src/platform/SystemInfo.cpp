#include "platform/SystemInfo.h"

#include <sys/sysinfo.h>
#include <unistd.h>

namespace veltrane::platform {

namespace {

std::uint32_t sysconfOr(int name, std::uint32_t fallback) {
    const long value = ::sysconf(name);
    return value > 0 ? static_cast<std::uint32_t>(value) : fallback;
}

}  // namespace

SystemInfo getSystemInfo() {
    SystemInfo info;
    info.numberOfProcessors = sysconfOr(_SC_NPROCESSORS_ONLN, 1);
    info.pageSize = sysconfOr(_SC_PAGESIZE, 4096);
    // mmap places mappings on page boundaries.
    info.allocationGranularity = info.pageSize;
    info.minimumApplicationAddress = info.pageSize;
    // The top of the user half of the 48-bit x86-64 address space.
    info.maximumApplicationAddress = (std::uint64_t{1} << 47) - info.pageSize - 1;
    return info;
}

MemoryStatus getMemoryStatus() {
    MemoryStatus status;
    struct sysinfo info {};
    if (::sysinfo(&info) != 0) {
        return status;
    }
    const std::uint64_t unit = info.mem_unit;
    status.totalPhys = info.totalram * unit;
    status.availPhys = (info.freeram + info.bufferram) * unit;
    status.totalPageFile = info.totalswap * unit;
    status.availPageFile = info.freeswap * unit;
    if (status.totalPhys > 0) {
        status.memoryLoad =
            static_cast<std::uint32_t>(100 - status.availPhys * 100 / status.totalPhys);
    }
    return status;
}

std::uint32_t installedMemoryMB(const MemoryStatus& status) {
    return static_cast<std::uint32_t>((status.totalPhys >> 20) + 1);
}

}  // namespace veltrane::platform

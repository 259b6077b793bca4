#include "ident/MemoryInfo.h"

namespace veltrane::ident {

namespace {

std::uint32_t megabytes(std::uint64_t bytes) {
    return static_cast<std::uint32_t>(bytes >> 20);
}

}  // namespace

MemoryInfo::MemoryInfo() : MemoryInfo(platform::nativeOsFactsSource()) {}

MemoryInfo::MemoryInfo(const platform::OsFactsSource& source)
    : MemoryInfo(platform::collectMemoryFacts(source)) {}

MemoryInfo::MemoryInfo(const platform::MemoryFacts& facts) : facts_(facts) {}

std::uint32_t MemoryInfo::totalPhysMB() const {
    return platform::installedMemoryMB(facts_.status);
}

std::uint32_t MemoryInfo::availPhysMB() const {
    return megabytes(facts_.status.availPhys);
}

std::uint32_t MemoryInfo::memoryLoad() const {
    return facts_.status.memoryLoad;
}

std::uint32_t MemoryInfo::totalPageFileMB() const {
    return megabytes(facts_.status.totalPageFile);
}

std::uint32_t MemoryInfo::availPageFileMB() const {
    return megabytes(facts_.status.availPageFile);
}

std::uint32_t MemoryInfo::totalVirtualMB() const {
    return megabytes(facts_.totalVirtual);
}

std::uint32_t MemoryInfo::availVirtualMB() const {
    return megabytes(facts_.availVirtual);
}

std::uint64_t MemoryInfo::minAppAddress() const {
    return facts_.system.minimumApplicationAddress;
}

std::uint64_t MemoryInfo::maxAppAddress() const {
    return facts_.system.maximumApplicationAddress;
}

std::uint32_t MemoryInfo::allocationGranularity() const {
    return facts_.system.allocationGranularity;
}

}  // namespace veltrane::ident

#pragma once

#include <cstdint>

#include "platform/OsFacts.h"

namespace veltrane::ident {

// Physical, swap ("page file") and user address-space memory, collected once
// at construction. MB values are byte counts shifted right by 20.
class MemoryInfo {
public:
    MemoryInfo();
    explicit MemoryInfo(const platform::OsFactsSource& source);
    explicit MemoryInfo(const platform::MemoryFacts& facts);
    virtual ~MemoryInfo() = default;

    MemoryInfo(const MemoryInfo&) = default;
    MemoryInfo& operator=(const MemoryInfo&) = default;

    // One more than the system reports, which is a little less than is fitted.
    std::uint32_t totalPhysMB() const;
    std::uint32_t availPhysMB() const;
    std::uint32_t memoryLoad() const;  // percent in use
    std::uint32_t totalPageFileMB() const;
    std::uint32_t availPageFileMB() const;
    std::uint32_t totalVirtualMB() const;
    std::uint32_t availVirtualMB() const;
    std::uint64_t minAppAddress() const;
    std::uint64_t maxAppAddress() const;
    std::uint32_t allocationGranularity() const;

private:
    platform::MemoryFacts facts_;
};

}  // namespace veltrane::ident

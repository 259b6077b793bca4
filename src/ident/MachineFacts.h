#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ident/CacheGeometry.h"
#include "ident/CachePage.h"
#include "ident/Clock.h"
#include "ident/MemoryInfo.h"
#include "ident/OsInfo.h"
#include "ident/PciDeviceList.h"
#include "ident/ProcessorFacts.h"
#include "ident/ProcessorIdentity.h"
#include "ident/ProcessorLayout.h"
#include "platform/CpuProbe.h"

namespace veltrane::ident {

// CPUID leaf 1 EDX and leaf 0x80000001 EDX, as the processor answered.
struct FeatureWords {
    std::uint32_t standard = 0;
    std::uint32_t extended = 0;
};

// Where a record's facts come from; each default is this machine's.
struct MachineSources {
    std::shared_ptr<const platform::CpuProbe> probe;  // null: the active probe
    ProcessorFacts* processor = nullptr;              // null: the process-wide facts
    std::shared_ptr<const ClockState> clock;          // null: the process-wide clock
    std::function<PciDeviceList()> pciList;           // empty: the machine's functions
    std::optional<platform::OsFacts> os;              // empty: this system's
    std::optional<platform::MemoryFacts> memory;      // empty: this system's
};

// What the program knows about the machine, gathered once: the processor's
// answers and the definition file's names for it, its caches, the operating
// system, the memory when gathered and the PCI functions. The clock is read
// when asked, since it is measured in the background.
struct MachineFacts {
    explicit MachineFacts(const MachineSources& sources = {});

    float clockMHz() const { return clock_->clockMHz(); }
    std::string ratingText() const { return clock_->ratingText(); }
    const ClockState& clock() const { return *clock_; }

private:
    // Declared first: the identity reads through the probe for as long as it lives.
    std::shared_ptr<const platform::CpuProbe> probe_;
    std::shared_ptr<const ClockState> clock_;

public:
    ProcessorIdentity identity;
    ProcessorDefinition definition;
    std::string definitionError;  // a failed definition load, for the caller to show
    std::string traceCacheText;
    int processorCount = 1;
    FeatureWords features;
    bool virtualMachine = false;               // CPUID leaf 1 ECX bit 31: a hypervisor runs it
    std::vector<CacheGeometry> cacheGeometry;  // one record per cache
    CachePage caches;
    // Topology, the processors the program may run on and every cache level.
    ProcessorLayout layout;
    OsInfo os;
    MemoryInfo memory;
    std::vector<PciDevice> pciDevices;
    std::optional<PciMessage> pciError;  // the driver could not be reached
    std::string pciNamesProblem;         // why the devices have no names
};

// The process's own record, gathered on first use.
const MachineFacts& machineFacts();

// Something the caller keeps alive, as a source that does not own it.
template <typename T>
std::shared_ptr<const T> borrowed(const T& object) {
    return {std::shared_ptr<const T>(), &object};
}

}  // namespace veltrane::ident

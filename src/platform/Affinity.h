#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/CpuProbe.h"

namespace veltrane::platform {

// The processors the system lets this process run on (its affinity mask).
class AffinitySource {
public:
    virtual ~AffinitySource() = default;
    // Ascending processor numbers; nothing when the system does not say.
    virtual std::optional<std::vector<int>> allowedProcessors() const = 0;
};

// This process, through sched_getaffinity.
const AffinitySource& nativeAffinitySource();

// The processors the program may run on, as it reports them.
struct AllowedProcessors {
    int count = 0;
    std::string list;  // "0-3,8"
};

// The processors of this machine the program may run on: the affinity mask,
// or every online processor when the mask cannot be read. Never empty.
std::vector<int> runnableProcessors(const AffinitySource& affinity = nativeAffinitySource());

// A recorded processor's own count stands for the machine (its processors
// are then 0 to count-1); otherwise the affinity mask, or the online count
// when the mask cannot be read.
AllowedProcessors allowedProcessors(const CpuProbe& probe,
                                    const AffinitySource& affinity = nativeAffinitySource());

// Keeps the calling thread on one processor. False when the system refuses
// (the processor is outside the mask, offline or does not exist).
bool pinCurrentThread(int processor);

}  // namespace veltrane::platform

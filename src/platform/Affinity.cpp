#include "platform/Affinity.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <numeric>

#include "platform/ProcessorList.h"
#include "platform/SystemInfo.h"

namespace veltrane::platform {

namespace {

class NativeAffinitySource : public AffinitySource {
public:
    std::optional<std::vector<int>> allowedProcessors() const override {
        cpu_set_t mask;
        CPU_ZERO(&mask);
        if (::sched_getaffinity(0, sizeof(mask), &mask) != 0) {
            return std::nullopt;  // more processors than the set holds, or no answer
        }
        std::vector<int> processors;
        for (std::size_t cpu = 0; cpu < static_cast<std::size_t>(CPU_SETSIZE); ++cpu) {
            if (CPU_ISSET(cpu, &mask)) {
                processors.push_back(static_cast<int>(cpu));
            }
        }
        return processors;
    }
};

std::vector<int> firstProcessors(int count) {
    std::vector<int> processors(static_cast<std::size_t>(count));
    std::iota(processors.begin(), processors.end(), 0);
    return processors;
}

AllowedProcessors described(const std::vector<int>& processors) {
    return {static_cast<int>(processors.size()), processorListText(processors)};
}

}  // namespace

const AffinitySource& nativeAffinitySource() {
    static const NativeAffinitySource source;
    return source;
}

std::vector<int> runnableProcessors(const AffinitySource& affinity) {
    if (auto mask = affinity.allowedProcessors(); mask && !mask->empty()) {
        return *mask;
    }
    return firstProcessors(std::max(1, boundedProcessorCount(getSystemInfo().numberOfProcessors)));
}

AllowedProcessors allowedProcessors(const CpuProbe& probe, const AffinitySource& affinity) {
    if (const auto recorded = probe.processorCount()) {
        return described(firstProcessors(boundedProcessorCount(*recorded)));
    }
    return described(runnableProcessors(affinity));
}

bool pinCurrentThread(int processor) {
    if (processor < 0 || processor > kMaxProcessorNumber) {
        return false;
    }
    const auto count = static_cast<std::size_t>(processor) + 1;
    cpu_set_t* set = CPU_ALLOC(count);
    if (set == nullptr) {
        return false;
    }
    const std::size_t size = CPU_ALLOC_SIZE(count);
    CPU_ZERO_S(size, set);
    CPU_SET_S(static_cast<std::size_t>(processor), size, set);
    const bool pinned = ::pthread_setaffinity_np(::pthread_self(), size, set) == 0;
    CPU_FREE(set);
    return pinned;
}

}  // namespace veltrane::platform

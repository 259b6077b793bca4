#include <memory>

#include "platform/CpuProbe.h"

namespace veltrane::platform {

namespace {

std::unique_ptr<CpuProbe>& replacementProbe() {
    static std::unique_ptr<CpuProbe> probe;
    return probe;
}

}  // namespace

// Chosen once at start-up, before any thread reads it.
const CpuProbe& activeCpuProbe() {
    const auto& replacement = replacementProbe();
    return replacement ? *replacement : nativeCpuProbe();
}

void setActiveCpuProbe(std::unique_ptr<CpuProbe> probe) {
    replacementProbe() = std::move(probe);
}

}  // namespace veltrane::platform

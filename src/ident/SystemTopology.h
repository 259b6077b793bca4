#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ident/CpuidTopology.h"
#include "platform/OsFacts.h"

namespace veltrane::ident {

// The processors of one kind on a hybrid processor.
struct CoreTypeGroup {
    CoreKind kind = CoreKind::performance;
    int cores = 0;
    int threads = 0;
    std::string processors;  // "0-11"

    bool operator==(const CoreTypeGroup&) const = default;
};

// The topology the kernel reports in /sys/devices/system/cpu, counting the
// online processors. Packages and cores are 0 where a processor's topology
// files cannot be read.
struct SystemTopology {
    int packages = 0;
    int cores = 0;
    int threads = 0;
    std::vector<int> threadsPerCore;       // every count a core has, ascending
    std::vector<CoreTypeGroup> coreTypes;  // empty unless the kernel lists two kinds

    bool operator==(const SystemTopology&) const = default;
};

// Nothing when the online list cannot be read.
std::optional<SystemTopology> systemTopology(const platform::OsFactsSource& system);

}  // namespace veltrane::ident

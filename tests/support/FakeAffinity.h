#pragma once

#include <optional>
#include <vector>

#include "platform/Affinity.h"

namespace veltrane::test {

// An affinity mask given by the test; nothing stands for a mask that cannot be read.
class FakeAffinity : public platform::AffinitySource {
public:
    explicit FakeAffinity(std::optional<std::vector<int>> allowed) : allowed_(std::move(allowed)) {}
    std::optional<std::vector<int>> allowedProcessors() const override { return allowed_; }

private:
    std::optional<std::vector<int>> allowed_;
};

}  // namespace veltrane::test

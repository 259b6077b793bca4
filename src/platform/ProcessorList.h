#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::platform {

// The highest processor number a list may name; a larger one is damage, not
// a machine, and would make the expanded list huge.
inline constexpr int kMaxProcessorNumber = 65535;

// A count of processors from outside (a dump's), at most one per number a
// list may name.
int boundedProcessorCount(std::uint32_t count);

// A processor list as the kernel writes it ("0-3,8\n"), ascending and without
// repeats. Nothing when the text is not such a list.
std::optional<std::vector<int>> parseProcessorList(std::string_view text);

// The same form back: runs of consecutive numbers as ranges ("0-3,8").
std::string processorListText(const std::vector<int>& processors);

}  // namespace veltrane::platform

#include "platform/ProcessorList.h"

#include <algorithm>
#include <charconv>

namespace veltrane::platform {

namespace {

std::optional<int> processorNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > kMaxProcessorNumber) {
        return std::nullopt;
    }
    return value;
}

// "4" or "4-7" marked in `named`; false when the part is damaged.
bool markRange(std::string_view part, std::vector<bool>& named) {
    const auto dash = part.find('-');
    const auto first = processorNumber(part.substr(0, dash));
    const auto last =
        dash == std::string_view::npos ? first : processorNumber(part.substr(dash + 1));
    if (!first || !last || *last < *first) {
        return false;
    }
    for (int cpu = *first; cpu <= *last; ++cpu) {
        named[static_cast<std::size_t>(cpu)] = true;
    }
    return true;
}

}  // namespace

int boundedProcessorCount(std::uint32_t count) {
    return static_cast<int>(std::min(count, static_cast<std::uint32_t>(kMaxProcessorNumber) + 1));
}

std::optional<std::vector<int>> parseProcessorList(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.remove_suffix(1);
    }
    // Marks rather than appends: repeated ranges cannot make the list grow.
    std::vector<bool> named(kMaxProcessorNumber + 1);
    while (!text.empty()) {
        const auto comma = text.find(',');
        if (!markRange(text.substr(0, comma), named)) {
            return std::nullopt;
        }
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    std::vector<int> processors;
    for (int cpu = 0; cpu <= kMaxProcessorNumber; ++cpu) {
        if (named[static_cast<std::size_t>(cpu)]) {
            processors.push_back(cpu);
        }
    }
    return processors;
}

std::string processorListText(const std::vector<int>& processors) {
    std::string text;
    for (std::size_t i = 0; i < processors.size();) {
        std::size_t last = i;
        while (last + 1 < processors.size() && processors[last + 1] == processors[last] + 1) {
            ++last;
        }
        text += (text.empty() ? "" : ",") + std::to_string(processors[i]);
        if (last > i) {
            text += "-" + std::to_string(processors[last]);
        }
        i = last + 1;
    }
    return text;
}

}  // namespace veltrane::platform

#pragma once

#include <string>

namespace veltrane::test {

// What `text` makes of each element, one after the other: a whole list as one expected text.
template <typename Range, typename Text>
std::string joined(const Range& range, Text text) {
    std::string all;
    for (const auto& element : range) {
        all += text(element);
    }
    return all;
}

}  // namespace veltrane::test

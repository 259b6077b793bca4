#pragma once

#include <string>

namespace veltrane::engine {

// One line of a two-column list: the item and what it is.
struct InfoRow {
    std::string item;
    std::string description;
};

}  // namespace veltrane::engine

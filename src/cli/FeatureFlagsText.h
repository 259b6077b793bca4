#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ident/FeatureFlagsPage.h"

namespace veltrane::cli {

// `words` separated by spaces, in lines of at most `width` columns after an
// indent of `indent` (a longer word gets a line of its own).
std::vector<std::string> wrappedWords(const std::vector<std::string>& words, std::size_t indent,
                                      std::size_t width);

// The "Feature flags" section: its heading, the flags wrapped to the
// terminal's usual width, then the aligned vector-state lines.
std::string formatFeatureFlagsPage(const ident::FeatureFlagsPage& page);

}  // namespace veltrane::cli

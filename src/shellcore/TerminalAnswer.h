#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltrane::shell {

// What the desktop program prints instead of opening its window when asked
// for --help or --version (or -h); nothing for any other command line, whose
// options are the toolkit's.
std::optional<std::string> terminalAnswer(const std::vector<std::string>& arguments,
                                          const std::string& version);

}  // namespace veltrane::shell

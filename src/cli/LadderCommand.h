#pragma once

#include <ostream>
#include <string>

namespace veltrane::cli {

struct LadderOptions {
    std::string jsonPath;  // "-" for standard output; empty for none
};

// `veltrane-cli ladder`: the memory ladder of this machine. Returns the exit
// status.
int runLadder(const LadderOptions& options, std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli

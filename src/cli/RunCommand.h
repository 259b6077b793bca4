#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "cli/RunContext.h"

namespace veltrane::cli {

struct RunOptions {
    std::string suite = "standard";
    std::string tests;  // "1,3,6"; empty: use mask
    int mask = 255;
    bool interactive = false;  // redraw the bars in place
    bool compare = false;      // the reference comparison after the results
    ReportOptions report;
    std::string jsonPath;  // "-" is standard output; empty: no JSON
};

// A test list as the custom benchmark builds its mask: all bits set, less
// the tests not listed, so listing all seven is a full run. Returns nothing
// and says why in `error` for a malformed list.
std::optional<int> maskFromTestList(const std::string& list, std::string& error);

// Suite numbers by the names the command line takes.
std::optional<int> suiteFromName(const std::string& name);

// `veltrane-cli run`: the benchmark in the terminal. Returns the exit status.
int runBenchmark(const RunOptions& options, std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli

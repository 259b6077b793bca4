#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/RunReport.h"
#include "engine/TestInfo.h"
#include "reports/RunContext.h"

namespace veltrane::cli {

struct RunOptions {
    std::string suite = "standard";
    std::vector<int> tests;  // 1 to 7; empty: use mask
    int mask = 255;
    bool interactive = false;  // redraw the bars in place
    bool compare = false;      // the reference comparison after the results
    ReportOptions report;
    std::string jsonPath;      // "-" is standard output; empty: no JSON
    int repeat = 1;            // runs of the suite; more than one reports medians
    bool untilStable = false;  // run on while the figures spread, up to 3 x repeat
    bool noSave = false;       // keep nothing in the results history
    std::string database;      // the history file; empty: the user's own
    std::string threads;       // "N" or "all": the scaling run instead of a suite
    bool pin = false;          // with threads: one thread per allowed processor
};

// A test list as the custom benchmark builds its mask: all bits set, less
// the tests not listed, so listing all seven is a full run.
int maskFromTestList(const std::vector<int>& tests);

// Suite numbers by the names the command line takes.
inline const std::map<std::string, int> kSuiteNumbers = {
    {"sse", engine::SuiteSSE},           {"sse2", engine::SuiteSSE2}, {"3dnow", engine::Suite3DNow},
    {"standard", engine::SuiteStandard}, {"smp", engine::SuiteSMP},
};

// `veltrane-cli run`: the benchmark in the terminal. Returns the exit status.
int runBenchmark(const RunOptions& options, std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli

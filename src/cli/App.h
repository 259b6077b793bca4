#pragma once

#include <ostream>

namespace veltrane::cli {

// Parses the command line and runs the chosen command; returns the exit
// status (0 success, 1 failure, 2 usage error).
int runApp(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli

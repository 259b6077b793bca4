#pragma once

#include <ostream>

#include "cli/RunContext.h"

namespace veltrane::cli {

// Writes the HTML report of the run as the options say. Returns the exit
// status; a file that cannot be created is reported on `err`.
[[nodiscard]] int writeRunReport(const RunContext& context, const ReportOptions& options,
                                 std::ostream& err);

}  // namespace veltrane::cli

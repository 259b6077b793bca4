#pragma once

#include <ostream>
#include <string>

#include "reports/RunContext.h"

namespace veltrane::cli {

// The HTML report of a run: where it goes, the tester's texts and the
// sections to include (letters from "TCSXOB").
struct ReportOptions {
    std::string path;  // empty: no report
    std::string tester;
    std::string system;
    std::string comments;
    std::string sections = "TCSXOB";
};

// Writes the HTML report of the run as the options say. Returns the exit
// status; a file that cannot be created is reported on `err`.
[[nodiscard]] int writeRunReport(const reports::RunContext& context, const ReportOptions& options,
                                 std::ostream& err);

}  // namespace veltrane::cli

#pragma once

#include <ostream>
#include <string>

#include "cli/RunContext.h"

namespace veltrane::cli {

// Writes the run as JSON to `path` ("-" is standard output, `out`): the
// result record, the details, the machine facts and the run's conditions.
// Returns the exit status; a file that cannot be written is reported on `err`.
[[nodiscard]] int writeRunJson(const RunContext& context, const std::string& path,
                               std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli

#pragma once

#include <ostream>
#include <string>

#include "reports/RunContext.h"

namespace veltrane::cli {

// Writes the run as JSON to `path` ("-" is standard output, `out`): the
// result record, the details, the machine facts and the run's conditions.
// Returns the exit status; a file that cannot be written is reported on `err`.
// Writes a JSON text to `path` ("-" is standard output, `out`); returns the
// exit status, and says on `err` why a file could not be written.
[[nodiscard]] int writeJsonText(const std::string& text, const std::string& path, std::ostream& out,
                                std::ostream& err);

[[nodiscard]] int writeRunJson(const reports::RunContext& context, const std::string& path,
                               std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli

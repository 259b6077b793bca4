#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace veltrane::cli {

inline constexpr const char* kHistoryActions[] = {"list",   "show",   "compare",
                                                  "export", "import", "remove"};
inline constexpr const char* kExportFormats[] = {"line", "json", "csv"};

struct HistoryOptions {
    std::string action = "list";
    std::vector<std::string>
        ids;  // as typed (see HistoryIds.h): show, export and remove take one; compare two
    std::string format = "line";     // export
    std::string file;                // import
    std::string suite = "standard";  // import: the suite of reference lines
    std::string database;            // empty: the user's own history
};

// `veltrane-cli history`: the kept runs. Returns the exit status.
int runHistory(const HistoryOptions& options, std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli

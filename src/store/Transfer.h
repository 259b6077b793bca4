#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/ResultsStore.h"

namespace veltrane::store {

// What a file to import holds, ready to keep; nothing is kept when `error`
// is set.
struct ImportBatch {
    std::vector<RunRow> runs;
    int skippedLines = 0;  // reference lines with fewer than seventeen fields
    std::string error;
};

// A file's text: our JSON run record (a text starting with '{'), or lines of
// a reference file whose runs belong to suite `list`. Full runs whose checks
// passed go into the comparison lists as well.
ImportBatch importBatch(std::string_view text, int list, const std::string& importedAt);

// The run as a reference-file line, with a line end.
std::string exportLine(const RunRow& run);

// A heading line and one line per run, comma-separated, texts quoted.
std::string exportCsv(const std::vector<RunRow>& runs);

}  // namespace veltrane::store

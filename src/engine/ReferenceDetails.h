#pragma once

#include <string>
#include <vector>

#include "engine/BenchResult.h"
#include "engine/InfoRow.h"
#include "engine/ReferenceDatabase.h"
#include "engine/RunRequest.h"

namespace veltrane::engine {

// The "System Details" rows of one reference entry, rows 0 to 15.
std::vector<InfoRow> referenceDetailsRows(const ReferenceEntry& entry);

// The same for the entry at `position` of the list of suite `list` (0-4);
// an unknown list or position gives no rows.
std::vector<InfoRow> referenceDetailsRows(const ReferenceDatabase& database, int position,
                                          int list);

// The "Database" page: its column headings, and one row per entry of the
// list of suite `list` in file order (none for an unknown list), the user's
// own entries marked.
const std::vector<std::string>& databaseColumns();
std::vector<std::vector<std::string>> databaseRows(const ReferenceDatabase& database, int list);

// What the results-graph window hands its six pages, each page also getting
// the five reference lists and `suite`.
struct ChartPageValues {
    float overall = 0;            // page 0 "Overall results"
    float integer = 0;            // page 1 "ALU/FPU results"
    float fpu = 0;                // page 1: the mean of the single and double figures
    int floatSingle = 0;          // page 2 "FPU Single/Double Precision Results", truncated
    int floatDouble = 0;          // page 2, truncated
    float ramAlu = 0;             // page 3 "RAM - ALU/FPU Results"
    float ramFpu = 0;             // page 3
    float mips = 0;               // page 5 "MIPS/MFLOPS Result"
    float mflops = 0;             // page 5
    int suite = 0;                // page 4 "Database" gets only this and the lists
    bool overallMeasured = true;  // false: a custom run, with no overall score
};

ChartPageValues chartPageValues(const BenchResult& record);

}  // namespace veltrane::engine

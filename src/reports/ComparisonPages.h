#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/ReferenceDatabase.h"
#include "engine/ReferenceDetails.h"

namespace veltrane::reports {

// One bar group of a chart page: a system's name, its truncated values (one
// per series) and the picture shown beside its list.
struct ComparisonGroup {
    std::string name;
    std::vector<std::int32_t> values;
    std::string bitmapName;
};

// A chart page filled for one reference list: your system first, then the
// entries chosen in the four reference lists.
struct ComparisonPage {
    int pageIndex = 0;  // the graph window's page index
    std::string tabTitle;
    std::string chartTitle;
    std::vector<std::string> units;  // one unit word per series
    std::string caption;
    std::vector<ComparisonGroup> groups;
};

// The five chart pages in tab order (the database page, index 4, has no chart).
inline constexpr std::array<int, 5> kChartPageIndexes{0, 1, 2, 3, 5};

// Chosen positions of the four reference lists; a page starts at 0, 1, 2, 3.
using ReferenceChoice = std::array<int, 4>;
inline constexpr ReferenceChoice kFirstFourEntries{0, 1, 2, 3};

// Names of the reference lists by suite number, as the comparison list shows them.
const char* comparisonListName(int list);

// A reference entry as a chart page's group: its name (the chipset on the
// bandwidth page), its values truncated and its picture.
ComparisonGroup referenceGroup(int pageIndex, const engine::ReferenceEntry& entry);

// One chart page: your system from `values`, then the chosen entries of
// reference list `list` (0-4). A chosen position beyond the list's end gives
// no group, so a short list shows fewer systems.
ComparisonPage comparisonPage(int pageIndex, const engine::ChartPageValues& values,
                              const engine::ReferenceDatabase& database, int list,
                              const ReferenceChoice& choice = kFirstFourEntries);

// Every chart page for the list of the run's own suite.
std::vector<ComparisonPage> comparisonPages(const engine::ChartPageValues& values,
                                            const engine::ReferenceDatabase& database);

}  // namespace veltrane::reports

#pragma once

#include <ctime>

#include "engine/ReferenceDatabase.h"
#include "engine/ReferenceDetails.h"
#include "reports/ChartModel.h"
#include "reports/ComparisonPages.h"

namespace veltrane::reports {

inline constexpr int kChartGroups = 5;  // your system, then the four reference lists

// The number of a page's chart in configure and repaint requests (1 overall,
// 2 integer/FPU, 3 bandwidth, 4 FPU single/double, 5 MIPS/MFLOPS), and back.
int chartNumberOfPage(int pageIndex);    // 0 for the database page
int pageOfChartNumber(int chartNumber);  // -1 outside 1-5

// The entry at `position` of the list of suite `list`, or none.
const engine::ReferenceEntry* referenceEntry(const engine::ReferenceDatabase& database, int list,
                                             int position);

// Fills the chart of page `pageIndex`: your system, then the entries at the
// chosen positions of list `list`; a position beyond the list leaves its group
// empty. The subtitle tells when the page was filled. Colours and the fill
// mode are the chart's own and stay.
void fillComparisonChart(ChartData& chart, int pageIndex, const engine::ChartPageValues& values,
                         const engine::ReferenceDatabase& database, int list,
                         const ReferenceChoice& choice, const std::tm& filledAtUtc);

// Group `group` (1-4) takes the values of `entry`, or is emptied by none.
void setReferenceGroup(ChartData& chart, int pageIndex, int group,
                       const engine::ReferenceEntry* entry);

}  // namespace veltrane::reports

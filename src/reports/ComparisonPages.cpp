#include "reports/ComparisonPages.h"

#include "engine/RunEnd.h"
#include "engine/UserEntries.h"

namespace veltrane::reports {

namespace {

struct PageShape {
    int pageIndex;
    const char* tabTitle;
    const char* chartTitle;
    std::vector<std::string> units;
};

const PageShape* pageShape(int pageIndex) {
    static const PageShape kPages[] = {
        {0, "Overall results", "Overall Result", {"CPUMarks"}},
        {1, "ALU/FPU results", "Integer/FPU Performance", {"ALUMarks", "FPUMarks"}},
        {2,
         "FPU Single/Double Precision Results",
         "FPU Single/Double Precision Results",
         {"FPUMarks SP", "FPUMarks DP"}},
        {3, "RAM - ALU/FPU Results", "ALU/FPU Bandwidth (MByte/s)", {"MByte/s", "MByte/s"}},
        {5, "MIPS/MFLOPS Result", "MIPS/MFLOPS Results", {"MIPS", "MFLOPS"}},
    };
    for (const auto& page : kPages) {
        if (page.pageIndex == pageIndex) {
            return &page;
        }
    }
    return nullptr;
}

std::vector<std::int32_t> yourValues(int pageIndex, const engine::ChartPageValues& v) {
    using engine::truncatedInt;
    switch (pageIndex) {
        case 0:
            return {truncatedInt(v.overall)};
        case 1:
            return {truncatedInt(v.integer), truncatedInt(v.fpu)};
        case 2:
            return {v.floatSingle, v.floatDouble};
        case 3:
            return {truncatedInt(v.ramAlu), truncatedInt(v.ramFpu)};
        default:
            return {truncatedInt(v.mips), truncatedInt(v.mflops)};
    }
}

std::vector<std::int32_t> referenceValues(int pageIndex, const engine::ReferenceEntry& e) {
    using engine::truncatedInt;
    switch (pageIndex) {
        case 0:
            return {e.overall};
        case 1:
            return {e.alu, e.fpu};
        case 2:
            return {e.fpuSingle, e.fpuDouble};
        case 3:
            return {truncatedInt(e.ramAlu), truncatedInt(e.ramFpu)};
        default:
            return {truncatedInt(e.mips), truncatedInt(e.mflops)};
    }
}

}  // namespace

ComparisonGroup referenceGroup(int pageIndex, const engine::ReferenceEntry& entry) {
    // The bandwidth page names its systems by chipset.
    return {engine::listedName(pageIndex == 3 ? entry.chipset : entry.cpuName, entry),
            referenceValues(pageIndex, entry), entry.bitmapName};
}

const char* comparisonListName(int list) {
    static const char* const kNames[] = {"SSE Comparison", "SSE2 Comparison", "3DNow! Comparison",
                                         "Standard Comparison", "SMP Comparison"};
    return list >= 0 && list < engine::kReferenceListCount ? kNames[list] : "";
}

ComparisonPage comparisonPage(int pageIndex, const engine::ChartPageValues& values,
                              const engine::ReferenceDatabase& database, int list,
                              const ReferenceChoice& choice) {
    const PageShape* shape = pageShape(pageIndex);
    if (shape == nullptr) {
        return {};
    }
    ComparisonPage page{pageIndex,
                        shape->tabTitle,
                        shape->chartTitle,
                        shape->units,
                        pageIndex == 3 ? "Your System:   " : "Your System:",
                        {}};
    page.groups.push_back({page.caption, yourValues(pageIndex, values), {}});
    if (list < 0 || list >= engine::kReferenceListCount) {
        return page;
    }
    const auto& entries = database.lists[static_cast<std::size_t>(list)];
    for (const int position : choice) {
        if (position < 0 || static_cast<std::size_t>(position) >= entries.size()) {
            continue;
        }
        page.groups.push_back(
            referenceGroup(pageIndex, entries[static_cast<std::size_t>(position)]));
    }
    return page;
}

std::vector<ComparisonPage> comparisonPages(const engine::ChartPageValues& values,
                                            const engine::ReferenceDatabase& database) {
    std::vector<ComparisonPage> pages;
    for (const int pageIndex : kChartPageIndexes) {
        pages.push_back(comparisonPage(pageIndex, values, database, values.suite));
    }
    return pages;
}

}  // namespace veltrane::reports

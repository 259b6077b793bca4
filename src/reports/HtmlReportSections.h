#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "reports/ReportInputs.h"

// The rows of each report section; the page around them is HtmlReport.cpp's.
namespace veltrane::reports::sections {

enum class RowStyle { narrow, wide };

// A label and its value as page text: user and system texts already escaped.
struct ReportRow {
    std::string label;
    std::string value;
    RowStyle style = RowStyle::narrow;
};

struct ReportSection {
    std::string title;
    bool threeColumns = true;
    bool titleClosesParagraph = false;
    std::vector<ReportRow> rows;
};

ReportSection testerSection(const ReportTester& tester);
ReportSection cpuSection(const ident::MachineFacts& machine);
// What today's processors add: their names, topology, every cache level and
// every feature flag.
ReportSection todaySection(const ident::MachineFacts& machine);
ReportSection standardFeatureSection(std::uint32_t flags);
ReportSection extendedFeatureSection(std::uint32_t flags);
ReportSection osSection(const ident::OsInfo& os, const ident::MemoryInfo& memory);
ReportSection benchmarkSection(const engine::BenchResult& result);

}  // namespace veltrane::reports::sections

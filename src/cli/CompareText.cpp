#include "cli/CompareText.h"

#include "engine/ReferenceDetails.h"
#include "platform/Format.h"
#include "reports/ComparisonPages.h"

namespace veltrane::cli {

namespace {

std::string groupLine(const reports::ComparisonGroup& group,
                      const std::vector<std::string>& units) {
    std::string line = strprintf("  %-44s", group.name.c_str());
    for (std::size_t s = 0; s < group.values.size() && s < units.size(); ++s) {
        line += strprintf(" %12d %-12s", group.values[s], units[s].c_str());
    }
    return std::string(trimmedRight(line)) + '\n';
}

}  // namespace

std::string compareText(const engine::BenchResult& record,
                        const engine::ReferenceDatabase& database) {
    const auto values = engine::chartPageValues(record);
    const auto& list = database.lists.at(static_cast<std::size_t>(values.suite));
    std::string text = strprintf("\nComparison: %s (%zu reference system%s)\n",
                                 reports::comparisonListName(values.suite), list.size(),
                                 list.size() == 1 ? "" : "s");
    for (const auto& page : reports::comparisonPages(values, database)) {
        text += '\n' + page.chartTitle + '\n';
        for (const auto& group : page.groups) {
            text += groupLine(group, page.units);
        }
    }
    return text;
}

}  // namespace veltrane::cli

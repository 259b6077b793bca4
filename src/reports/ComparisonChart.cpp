#include "reports/ComparisonChart.h"

#include <array>

namespace veltrane::reports {

namespace {

constexpr PackedColor kYourOverall = 0x74E828;
constexpr PackedColor kReferenceOverall = 0x6363FF;
constexpr std::array<PackedColor, 2> kYourPair{0x74E801, 0xFFCC62};
constexpr std::array<PackedColor, 2> kReferencePair{0x0000FF, 0x00FFFF};

// Chart numbers by page index; the database page (4) has no chart.
constexpr std::array<int, 6> kChartNumbers{1, 2, 4, 3, 0, 5};

constexpr const char* kNotMeasured = "N/A";

// No reference position: only your system's group.
constexpr ReferenceChoice kNoReferences{-1, -1, -1, -1};

PackedColor barColor(bool yours, int seriesCount, int series) {
    if (seriesCount == 1) {
        return yours ? kYourOverall : kReferenceOverall;
    }
    const auto index = static_cast<std::size_t>(series % 2);
    return yours ? kYourPair[index] : kReferencePair[index];
}

// Group `group` shows `values`, or nothing at all when there are none.
void setGroup(ChartData& chart, int group, const std::vector<std::int32_t>* values) {
    for (int series = 0; series < chart.seriesCount; ++series) {
        const auto index = static_cast<std::size_t>(group * chart.seriesCount + series);
        if (index >= chart.entries.size()) {
            return;
        }
        ChartEntry& entry = chart.entries[index];
        const bool known = values != nullptr && static_cast<std::size_t>(series) < values->size();
        entry.value = known ? (*values)[static_cast<std::size_t>(series)] : 0;
        entry.color = barColor(group == 0, chart.seriesCount, series);
        entry.shown = known;
    }
}

}  // namespace

int chartNumberOfPage(int pageIndex) {
    return pageIndex >= 0 && pageIndex < static_cast<int>(kChartNumbers.size())
               ? kChartNumbers[static_cast<std::size_t>(pageIndex)]
               : 0;
}

int pageOfChartNumber(int chartNumber) {
    for (std::size_t page = 0; page < kChartNumbers.size(); ++page) {
        if (chartNumber != 0 && kChartNumbers[page] == chartNumber) {
            return static_cast<int>(page);
        }
    }
    return -1;
}

const engine::ReferenceEntry* referenceEntry(const engine::ReferenceDatabase& database, int list,
                                             int position) {
    if (list < 0 || list >= engine::kReferenceListCount || position < 0) {
        return nullptr;
    }
    const auto& entries = database.lists[static_cast<std::size_t>(list)];
    return static_cast<std::size_t>(position) < entries.size()
               ? &entries[static_cast<std::size_t>(position)]
               : nullptr;
}

void fillComparisonChart(ChartData& chart, int pageIndex, const engine::ChartPageValues& values,
                         const engine::ReferenceDatabase& database, int list,
                         const ReferenceChoice& choice, const std::tm& filledAtUtc) {
    const ComparisonPage page = comparisonPage(pageIndex, values, database, list, kNoReferences);
    chart.title = page.chartTitle;
    chart.subtitle = chartSubtitle(filledAtUtc);
    chart.units = page.units;
    chart.caption = page.caption;
    chart.groupCount = kChartGroups;
    chart.seriesCount = static_cast<int>(page.units.size());
    chart.showScale = true;
    chart.chartNumber = chartNumberOfPage(pageIndex);
    chart.entries.assign(static_cast<std::size_t>(kChartGroups * chart.seriesCount), {});
    setGroup(chart, 0, page.groups.empty() ? nullptr : &page.groups.front().values);
    // A custom run has no overall score: its bar says so rather than show 0.
    if (pageIndex == 0 && !values.overallMeasured && !chart.entries.empty()) {
        chart.entries.front().label = kNotMeasured;
    }
    for (int group = 1; group < kChartGroups; ++group) {
        const int position = choice[static_cast<std::size_t>(group - 1)];
        setReferenceGroup(chart, pageIndex, group, referenceEntry(database, list, position));
    }
}

void setReferenceGroup(ChartData& chart, int pageIndex, int group,
                       const engine::ReferenceEntry* entry) {
    if (group < 1 || group >= kChartGroups) {
        return;
    }
    if (entry == nullptr) {
        setGroup(chart, group, nullptr);
        return;
    }
    const ComparisonGroup values = referenceGroup(pageIndex, *entry);
    setGroup(chart, group, &values.values);
}

}  // namespace veltrane::reports

#include <gtest/gtest.h>

#include "reports/ComparisonChart.h"
#include "reports/ComparisonPages.h"

namespace veltrane::reports {
namespace {

using Values = std::vector<std::int32_t>;

// Entry i of the standard list scores 1000 + i overall.
engine::ReferenceDatabase databaseWithStandard(int count) {
    engine::ReferenceDatabase db;
    for (int i = 0; i < count; ++i) {
        engine::ReferenceEntry e;
        e.cpuName = "CPU " + std::to_string(i);
        e.chipset = e.cpuName + " chipset";
        e.bitmapName = e.cpuName + "Logo";
        e.overall = 1000 + i;
        e.alu = 2, e.fpu = 3, e.fpuSingle = 4, e.fpuDouble = 5;
        e.ramAlu = 1050.9f, e.ramFpu = 980.25f, e.mips = 2100.7f, e.mflops = 900;
        db.lists[3].push_back(e);
    }
    return db;
}

const engine::ChartPageValues kStandardRun{1500.9f, 1200.5f, 99.99f, 7,    8,
                                           30.7f,   40.2f,   5.9f,   6.1f, 3};

TEST(ComparisonPages, FiveChartPagesOfTheRunsOwnListWithYourSystemFirst) {
    const auto pages = comparisonPages(kStandardRun, databaseWithStandard(6));
    ASSERT_EQ(pages.size(), 5u);
    const int indexes[] = {0, 1, 2, 3, 5};
    // Yours truncated, not rounded; the first entry's in the page's order.
    const Values yours[] = {{1500}, {1200, 99}, {7, 8}, {30, 40}, {5, 6}};
    const Values first[] = {{1000}, {2, 3}, {4, 5}, {1050, 980}, {2100, 900}};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pages[i].pageIndex, indexes[i]);
        ASSERT_EQ(pages[i].groups.size(), 5u) << "your system and the first four entries";
        EXPECT_EQ(pages[i].groups[0].values, yours[i]);
        EXPECT_EQ(pages[i].groups[1].values, first[i]);
        EXPECT_EQ(pages[i].groups[1].name, indexes[i] == 3 ? "CPU 0 chipset" : "CPU 0");
        EXPECT_EQ(pages[i].groups[4].bitmapName, "CPU 3Logo");
        EXPECT_EQ(pages[i].caption, indexes[i] == 3 ? "Your System:   " : "Your System:");
    }
    EXPECT_EQ(pages[1].units, (std::vector<std::string>{"ALUMarks", "FPUMarks"}));
}

TEST(ComparisonPages, ShortOrEmptyListsAndChosenPositions) {
    const auto groups = [](int page, int entries, int list, ReferenceChoice choice = {0, 1, 2, 3}) {
        return comparisonPage(page, kStandardRun, databaseWithStandard(entries), list, choice)
            .groups;
    };
    EXPECT_EQ(groups(0, 2, 3).size(), 3u);
    EXPECT_EQ(groups(0, 0, 3).size(), 1u);
    EXPECT_EQ(groups(0, 6, 2).size(), 1u) << "the 3DNow! list is empty";
    const auto chosen = groups(0, 6, 3, {5, 1, 9, -1});
    ASSERT_EQ(chosen.size(), 3u);
    EXPECT_EQ(chosen[1].values, Values{1005});
    EXPECT_EQ(chosen[2].values, Values{1001});
    EXPECT_TRUE(groups(4, 6, 3).empty()) << "the database page has no chart";
}

// Five groups always, in list order: a position beyond the list leaves its
// group empty; the chart's own look stays, the page's numbers and colours are set.
TEST(ComparisonChart, FixedGroupsTheirColoursAndNumbers) {
    const auto db = databaseWithStandard(2);
    ChartData chart = chartPageDefaults();
    chart.backColor = 0x123456;
    chart.fillMode = FillMode::vertical;
    std::tm when{};
    when.tm_year = 126, when.tm_mon = 11, when.tm_mday = 6, when.tm_hour = 23;
    fillComparisonChart(chart, 1, kStandardRun, db, 3, {1, 0, 5, -1}, when);
    std::string bars;
    for (const ChartEntry& e : chart.entries) {
        bars += e.shown ? std::to_string(e.value) + "/" + std::to_string(e.color) + " " : "- ";
    }
    // Yours 0x74E801 and 0xFFCC62, the references' 0x0000FF and 0x00FFFF.
    EXPECT_EQ(bars, "1200/7661569 99/16764002 2/255 3/65535 2/255 3/65535 - - - - ");
    EXPECT_EQ(std::tuple(chart.chartNumber, chart.backColor, chart.fillMode, chart.title),
              std::tuple(2, PackedColor{0x123456}, FillMode::vertical,
                         std::string("Integer/FPU Performance")));
    EXPECT_EQ(chart.subtitle, chartSubtitle(when));
    setReferenceGroup(chart, 1, 3, &db.lists[3][1]);
    setReferenceGroup(chart, 1, 2, nullptr);
    EXPECT_EQ(std::tuple(chart.entries[4].shown, chart.entries[6].value, chart.entries[7].shown),
              std::tuple(false, 2, true));
    for (const auto& [page, number] : {std::pair(0, 1), {1, 2}, {2, 4}, {3, 3}, {4, 0}, {5, 5}}) {
        EXPECT_EQ(chartNumberOfPage(page), number) << page;
        EXPECT_EQ(pageOfChartNumber(number), number == 0 ? -1 : page) << page;
    }
    // A custom run's overall bar says it has no score; the other pages show figures.
    engine::ChartPageValues custom = kStandardRun;
    custom.overallMeasured = false;
    fillComparisonChart(chart, 0, custom, db, 3, kFirstFourEntries, when);
    EXPECT_EQ(chart.entries[0].label, "N/A");
    EXPECT_EQ(std::tuple(chart.entries[0].color, chart.entries[1].color, chart.seriesCount),
              std::tuple(PackedColor{0x74E828}, PackedColor{0x6363FF}, 1));
    fillComparisonChart(chart, 5, custom, db, 3, kFirstFourEntries, when);
    EXPECT_EQ(chart.entries[0].label, "");
}

TEST(DatabaseRows, OneRowPerEntryInTheColumnsOrder) {
    const auto rows = engine::databaseRows(databaseWithStandard(2), 3);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], (std::vector<std::string>{"CPU 1", "CPU 1 chipset", "1001", "2", "3", "4",
                                                 "5", "1051", "980", "2101", "900", ""}));
    EXPECT_EQ(rows[1].size(), engine::databaseColumns().size());
    EXPECT_TRUE(engine::databaseRows(databaseWithStandard(2), 5).empty());
}

}  // namespace
}  // namespace veltrane::reports

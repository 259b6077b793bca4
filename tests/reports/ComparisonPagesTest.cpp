#include <gtest/gtest.h>

#include "reports/ComparisonPages.h"

namespace veltrane::reports {
namespace {

engine::ReferenceEntry entry(const std::string& name, std::int32_t overall) {
    engine::ReferenceEntry e;
    e.cpuName = name;
    e.chipset = name + " chipset";
    e.bitmapName = name + "Logo";
    e.overall = overall;
    e.alu = 2;
    e.fpu = 3;
    e.ramAlu = 1050.9f;
    e.ramFpu = 980.25f;
    e.mips = 2100.7f;
    e.mflops = 900;
    return e;
}

engine::ReferenceDatabase databaseWithStandard(int count) {
    engine::ReferenceDatabase db;
    for (int i = 0; i < count; ++i) {
        db.lists[3].push_back(entry("CPU " + std::to_string(i), 1000 + i));
    }
    return db;
}

engine::ChartPageValues standardRunValues() {
    engine::ChartPageValues v;
    v.suite = 3;
    v.overall = 1500.9f;
    v.integer = 1200.5f;
    v.fpu = 99.99f;
    v.ramAlu = 30.7f;
    v.ramFpu = 40.2f;
    v.mips = 5.9f;
    v.mflops = 6.1f;
    return v;
}

TEST(ComparisonPages, FiveChartPagesOfTheRunsOwnListWithYourSystemFirst) {
    const auto pages = comparisonPages(standardRunValues(), databaseWithStandard(6));
    ASSERT_EQ(pages.size(), 5u);
    const int expectedIndexes[] = {0, 1, 2, 3, 5};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].pageIndex, expectedIndexes[i]);
        ASSERT_EQ(pages[i].groups.size(), 5u) << "your system and the first four entries";
        EXPECT_EQ(pages[i].groups[1].name, pages[i].pageIndex == 3 ? "CPU 0 chipset" : "CPU 0");
        EXPECT_EQ(pages[i].groups[4].bitmapName, "CPU 3Logo");
    }
    EXPECT_EQ(pages[0].groups[0].values, std::vector<std::int32_t>{1500})
        << "truncated, not rounded";
    EXPECT_EQ(pages[1].groups[0].values, (std::vector<std::int32_t>{1200, 99}));
    EXPECT_EQ(pages[3].caption, "Your System:   ");
    EXPECT_EQ(pages[4].caption, "Your System:");
    EXPECT_EQ(pages[3].groups[1].values, (std::vector<std::int32_t>{1050, 980}));
    EXPECT_EQ(pages[4].groups[1].values, (std::vector<std::int32_t>{2100, 900}));
    EXPECT_EQ(pages[1].units, (std::vector<std::string>{"ALUMarks", "FPUMarks"}));
}

TEST(ComparisonPages, ShortOrEmptyListsAndChosenPositions) {
    const auto values = standardRunValues();
    EXPECT_EQ(comparisonPage(0, values, databaseWithStandard(2), 3).groups.size(), 3u);
    EXPECT_EQ(comparisonPage(0, values, databaseWithStandard(0), 3).groups.size(), 1u);
    EXPECT_EQ(comparisonPage(0, values, databaseWithStandard(6), 2).groups.size(), 1u)
        << "the 3DNow! list is empty";
    const auto chosen = comparisonPage(0, values, databaseWithStandard(6), 3, {5, 1, 9, -1});
    ASSERT_EQ(chosen.groups.size(), 3u);
    EXPECT_EQ(chosen.groups[1].values, std::vector<std::int32_t>{1005});
    EXPECT_EQ(chosen.groups[2].values, std::vector<std::int32_t>{1001});
    EXPECT_TRUE(comparisonPage(4, values, databaseWithStandard(6), 3).groups.empty())
        << "the database page has no chart";
}

}  // namespace
}  // namespace veltrane::reports

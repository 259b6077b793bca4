#include <gtest/gtest.h>

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

}  // namespace
}  // namespace veltrane::reports

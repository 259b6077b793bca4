#include <gtest/gtest.h>

#include <climits>

#include "cli/CompareText.h"

namespace veltrane::cli {
namespace {

TEST(CompareStyle, TerminalWidthThenColumnsThenEightyAndBlocksOnlyOnAUtf8Terminal) {
    struct Case {
        TerminalFacts facts;
        int columns;
        bool unicode;
    };
    const Case cases[] = {
        {{.isTerminal = true, .windowColumns = 120, .lang = "en_US.UTF-8"}, 120, true},
        {{.isTerminal = true, .windowColumns = 120, .columnsVariable = "50"}, 120, false},
        {{.isTerminal = true, .columnsVariable = "100", .lcAll = "C.utf8"}, 100, true},
        {{.windowColumns = 120, .columnsVariable = "100", .lang = "en_US.UTF-8"}, 100, false},
        {{.columnsVariable = "0"}, 80, false},
        {{.columnsVariable = "-5"}, 80, false},
        {{.columnsVariable = "100x"}, 80, false},
        {{.columnsVariable = "99999999999"}, 80, false},
        {{.isTerminal = true, .lcAll = "C", .lang = "en_US.UTF-8"}, 80, false},
        {{.isTerminal = true, .lcAll = "", .lcCtype = "de_DE.Utf-8", .lang = "C"}, 80, true},
        {{.isTerminal = true, .lcCtype = "POSIX", .lang = "en_US.UTF-8"}, 80, false},
    };
    for (const auto& c : cases) {
        const auto style = compareStyleFor(c.facts);
        EXPECT_EQ(style.columns, c.columns) << &c - cases;
        EXPECT_EQ(style.unicodeBlocks, c.unicode) << &c - cases;
    }
}

TEST(CompareBars, ScaledToTheMaximumInWholeCellsOrEighths) {
    struct Case {
        std::int32_t value, maximum;
        int width;
        bool unicode;
        const char* bar;
    };
    const Case cases[] = {
        {100, 100, 4, false, "####"},
        {49, 100, 10, false, "#####     "},
        {0, 100, 3, true, "   "},
        {-5, 100, 3, true, "   "},
        {5, 0, 3, true, "   "},
        {5, -3, 3, false, "   "},
        {1, 8, 1, true, "\u258F"},
        {3, 8, 1, true, "\u258D"},
        {7, 8, 1, true, "\u2589"},
        {10, 16, 3, true, "\u2588\u2589 "},
        {INT_MAX, INT_MAX, 2, true, "\u2588\u2588"},
        {INT_MAX / 2, INT_MAX, 2, true, "\u2588 "},
        {INT_MAX, 1, 2, false, "##"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(barText(c.value, c.maximum, c.width, c.unicode), c.bar) << &c - cases;
    }
}

TEST(ComparePages, OneBarLinePerSeriesScaledToThePageLongNamesOnTheirOwnLine) {
    reports::ComparisonPage bandwidth{3, "", "Bandwidth", {"MByte/s", "MByte/s"}, "", {}};
    bandwidth.groups = {{"Your System:   ", {50, 0}, ""}, {"Old", {25, 100}, ""}};
    reports::ComparisonPage extremes{0, "", "Overall", {"CPUMarks"}, "", {}};
    extremes.groups = {{"A long reference name", {INT_MAX}, ""}, {"B", {INT_MIN}, ""}};
    struct Case {
        reports::ComparisonPage page;
        CompareStyle style;
        const char* text;
    };
    const Case cases[] = {
        {bandwidth,
         {48, false},
         "\nBandwidth\n"
         "  Your System: #########          50 MByte/s ALU\n"
         "                                   0 MByte/s FPU\n"
         "  Old          ####               25 MByte/s ALU\n"
         "               ################# 100 MByte/s FPU\n"},
        {extremes,
         {30, true},
         "\nOverall\n"
         "  A long reference name\n"
         "   \u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588  2147483647 CPUMarks\n"
         "  B\n"
         "              -2147483648 CPUMarks\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(comparePagesText({c.page}, c.style), c.text) << &c - cases;
    }
}

}  // namespace
}  // namespace veltrane::cli

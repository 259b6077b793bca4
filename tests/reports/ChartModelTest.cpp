// The result chart as numbers: geometry, bars, scale, texts and fills of the
// 400 x 300 example, and the subtitle of a run's time. The graph configurator's
// Apply: each changed step sets the chart and asks its repaint, in the order of
// the steps; nothing changed asks nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>

#include "reports/ChartLook.h"
#include "reports/ChartModel.h"

namespace veltrane::reports {

void PrintTo(const ChartRect& r, std::ostream* out) {
    *out << "{" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << "}";
}

namespace {

constexpr int kW = 400;
constexpr int kH = 300;

// A chart page of `groups` x `series` entries with these values, each red.
ChartData chartOf(int groups, int series, const std::vector<std::int32_t>& values) {
    ChartData chart = chartPageDefaults();
    chart.groupCount = groups;
    chart.seriesCount = series;
    chart.units = {"MU", "KU"};
    for (std::int32_t v : values) {
        chart.entries.push_back({v, packedColor(200, 40, 40)});
    }
    return chart;
}

struct BarExtent {
    int y;
    int width;
    const char* label;
};

void expectBars(const ChartData& chart, const std::vector<BarExtent>& expected) {
    const auto bars = chartBars(chart, chartGeometry(chart, kW, kH));
    ASSERT_EQ(bars.size(), expected.size());
    for (std::size_t i = 0; i < bars.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bars[i].rect, (ChartRect{166, expected[i].y, expected[i].width,
                                           chartGeometry(chart, kW, kH).thick}));
        EXPECT_EQ(bars[i].label.text, expected[i].label);
        EXPECT_EQ(bars[i].label.x, 266);
        EXPECT_EQ(bars[i].label.y, expected[i].y);
    }
}

TEST(ChartModel, GeometryOfTheExampleWithOneAndTwoSeries) {
    const auto one = chartGeometry(chartOf(5, 1, {7, 3}), kW, kH);
    EXPECT_EQ(std::tuple(one.top, one.bottom, one.left, one.plotWidth, one.slot, one.thick),
              std::tuple(45, 250, 166, 224, 41, 32));
    EXPECT_FLOAT_EQ(one.step, 34.05f);
    EXPECT_EQ(one.maxValue, 7);
    const auto two = chartGeometry(chartOf(5, 2, {}), kW, kH);
    EXPECT_EQ(std::tuple(two.thick, two.maxValue), std::tuple(16, 0));
    EXPECT_FLOAT_EQ(two.step, 18.05f);
    EXPECT_EQ(subtitleBand(one, kW), (ChartRect{0, 0, 400, 45}));
    EXPECT_EQ(plotRect(one), (ChartRect{166, 45, 224, 205}));
    // No groups, or a control too low for them: no slot rather than a fault.
    EXPECT_EQ(chartGeometry(chartOf(0, 1, {}), kW, kH).slot, 0);
    EXPECT_EQ(chartGeometry(chartOf(5, 1, {}), kW, 40).thick, 0);
    // Labels as thick as their bars, between 8 and 25 pixels.
    EXPECT_EQ(barLabelPixels(one), 25);
    EXPECT_EQ(barLabelPixels(two), 16);
    EXPECT_EQ(barLabelPixels(chartGeometry(chartOf(5, 1, {}), kW, 40)), 8);
}

TEST(ChartModel, BarExtentsAndLabels) {
    // The largest ends on the last grid line; 0 and negative have no width.
    expectBars(chartOf(5, 1, {1000, 500, 250, 0, -5}), {{45, 224, " 1000 MU"},
                                                        {86, 112, " 500 MU"},
                                                        {127, 56, " 250 MU"},
                                                        {168, 0, " 0 MU"},
                                                        {209, 0, " -5 MU"}});
    // Two series: the second bar of a group is one step lower, its unit its own.
    expectBars(
        chartOf(5, 2, {100, 50, 25, 75}),
        {{45, 224, " 100 MU"}, {63, 112, " 50 KU"}, {86, 56, " 25 MU"}, {104, 168, " 75 KU"}});
    // Nothing largest above 0: no bar has width.
    expectBars(chartOf(5, 1, {0, 0}), {{45, 0, " 0 MU"}, {86, 0, " 0 MU"}});
    // value x plotWidth overflows 32 bits; the widths are still right.
    expectBars(chartOf(5, 1, {INT32_MAX, INT32_MAX - 1, INT32_MAX / 2, 10'000'000}),
               {{45, 224, " 2147483647 MU"},
                {86, 223, " 2147483646 MU"},
                {127, 111, " 1073741823 MU"},
                {168, 1, " 10000000 MU"}});
    // Fewer entries than groups: only the bars that have an entry.
    EXPECT_EQ(chartBars(chartOf(5, 1, {1, 2}), chartGeometry(chartOf(5, 1, {1, 2}), kW, kH)).size(),
              2u);
}

TEST(ChartModel, ScaleLinesLabelsAndTheirColour) {
    ChartData chart = chartOf(5, 1, {1000, 20});
    const auto scale = chartScale(chart, chartGeometry(chart, kW, kH));
    ASSERT_TRUE(scale);
    EXPECT_EQ(scale->axis, (ChartRect{165, 35, 1, 190}));
    std::vector<int> xs;
    for (const ChartRect& line : scale->gridLines) {
        EXPECT_EQ(line.y, 35);
        EXPECT_EQ(line.width, 1);
        EXPECT_EQ(line.height, 190);
        xs.push_back(line.x);
    }
    EXPECT_EQ(xs, (std::vector<int>{210, 255, 300, 345, 390}));
    const ChartRect largest = chartBars(chart, chartGeometry(chart, kW, kH))[0].rect;
    EXPECT_EQ(largest.x + largest.width, xs.back()) << "the largest bar ends on the last line";
    EXPECT_EQ(scale->low.text, "0 MU");
    EXPECT_EQ(scale->high.text, "1000 MU");
    EXPECT_EQ(std::pair(scale->low.x, scale->low.y), std::pair(168, 250));
    EXPECT_EQ(std::pair(scale->high.x, scale->high.y), std::pair(340, 250));

    const std::pair<PackedColor, PackedColor> labelColours[] = {
        {0x000000, 0xFFFFFF}, {0xFFFFFF, 0x000000}, {0x0000FF, 0x000000}};
    for (const auto& [grid, label] : labelColours) {
        chart.gridColor = grid;
        EXPECT_EQ(chartScale(chart, chartGeometry(chart, kW, kH))->labelColor, label) << grid;
    }
    const ChartData zero = chartOf(5, 1, {0, 0});
    const auto zeroScale = chartScale(zero, chartGeometry(zero, kW, kH));
    EXPECT_EQ(zeroScale->low.text, "0 MU");
    EXPECT_EQ(zeroScale->high.text, "0 MU");
    chart.showScale = false;
    EXPECT_FALSE(chartScale(chart, chartGeometry(chart, kW, kH)));
}

TEST(ChartModel, TextAnchorsCountCharactersNotBytes) {
    ChartData chart = chartOf(5, 1, {1});
    chart.caption = "Your System:";
    chart.title = "Overall";  // 7 characters
    chart.subtitle =
        "Gr\xC3\xB6\xC3\x9F"
        "e";  // "Größe": 5 characters, 7 bytes
    const auto texts = chartTexts(chart, kW, chartGeometry(chart, kW, kH));
    EXPECT_EQ(std::tuple(texts.caption.text, texts.caption.x, texts.caption.y),
              std::tuple(std::string("Your System:"), 120, 47));
    EXPECT_EQ(std::tuple(texts.title.x, texts.title.y), std::tuple(203, 0));
    EXPECT_EQ(std::tuple(texts.subtitle.x, texts.subtitle.y), std::tuple(202, 40));
}

TEST(ChartModel, StandardFillClampsEachComponentInsteadOfBorrowing) {
    const std::tuple<PackedColor, PackedColor> cases[] = {
        {packedColor(0x80, 0x90, 0xA0), packedColor(0x5E, 0x6E, 0x7E)},
        {packedColor(0x10, 0x80, 0xFF), packedColor(0x00, 0x5E, 0xDD)},  // red below 34
        {0x000000, 0x000000},
    };
    for (const auto& [color, darker] : cases) {
        EXPECT_EQ(fillLines(color, FillMode::standard, 3), std::vector<PackedColor>(3, darker))
            << std::hex << color;
    }
    EXPECT_TRUE(fillLines(0xFFFFFF, FillMode::standard, 0).empty());
}

TEST(ChartModel, CylindricalFillIsBrightestInTheMiddle) {
    const PackedColor c = packedColor(255, 200, 20);
    const auto lines = fillLines(c, FillMode::cylindrical, 32);  // its lines: VerticalFill...
    const auto brightness = [](PackedColor p) { return redOf(p) + greenOf(p) + blueOf(p); };
    std::vector<int> levels;
    std::transform(lines.begin(), lines.end(), std::back_inserter(levels), brightness);
    EXPECT_EQ(levels[16], *std::max_element(levels.begin(), levels.end()));
    EXPECT_TRUE(std::is_sorted(levels.begin(), levels.begin() + 17)) << "the upper half brightens";
    EXPECT_TRUE(std::is_sorted(levels.rbegin(), levels.rbegin() + 16)) << "the lower half darkens";
    EXPECT_GT(levels[16], levels[17]);
}

// Whatever the colour and height, a gradient's components move in whole
// steps between the start's and 255: a wrap would show below the start.
TEST(ChartModel, GradientComponentsStayWithinRange) {
    for (PackedColor c : {0x000000u, 0xFFFFFFu, 0x0102FEu, 0x22FF01u, 0x808080u}) {
        for (FillMode mode : {FillMode::cylindrical, FillMode::vertical}) {
            for (int thick = 1; thick <= 400; thick += 7) {
                for (const auto& lines : {fillLines(c, mode, thick), swatchLines(c, mode, thick)}) {
                    ASSERT_EQ(lines.size(), static_cast<std::size_t>(thick));
                    for (PackedColor line : lines) {
                        ASSERT_GE(redOf(line), redOf(lines[0]));
                        ASSERT_GE(greenOf(line), greenOf(lines[0]));
                        ASSERT_GE(blueOf(line), blueOf(lines[0]));
                        ASSERT_EQ(line >> 24, 0u);
                    }
                }
            }
        }
    }
}

// The cylinder's and the vertical gradient's lines; the swatch uses its own steps
// (380 / h and 200 / h) and paints mode 0 in the colour itself.
TEST(ChartModel, CylindricalAndVerticalFillAndSwatchSteps) {
    const PackedColor c = packedColor(255, 200, 20);
    using Lines = std::vector<PackedColor> (*)(PackedColor, FillMode, int);
    const std::tuple<Lines, FillMode, int, int, PackedColor> rows[] = {
        {fillLines, FillMode::cylindrical, 32, 0, packedColor(102, 80, 8)},     // c - 60 %
        {fillLines, FillMode::cylindrical, 32, 1, packedColor(114, 92, 20)},    // + 390/32 below c
        {fillLines, FillMode::cylindrical, 32, 16, packedColor(246, 200, 20)},  // capped, and at c
        {fillLines, FillMode::cylindrical, 32, 17, packedColor(234, 188, 8)},   // the lower half
        {fillLines, FillMode::cylindrical, 32, 31, packedColor(102, 80, 8)},    // not below start
        {fillLines, FillMode::vertical, 32, 0, packedColor(77, 60, 6)},  // c - 70 %, 180/32 = 5
        {fillLines, FillMode::vertical, 32, 1, packedColor(82, 65, 11)},
        {fillLines, FillMode::vertical, 32, 4, packedColor(97, 80, 21)},  // blue stops at 20
        {fillLines, FillMode::vertical, 32, 31, packedColor(232, 200, 21)},
        {swatchLines, FillMode::standard, 5, 4, c},
        {swatchLines, FillMode::cylindrical, 30, 1, packedColor(114, 92, 20)},  // 380/30 = 12
        {swatchLines, FillMode::cylindrical, 30, 15, packedColor(246, 200, 20)},
        {swatchLines, FillMode::cylindrical, 30, 16, packedColor(234, 188, 8)},
        {swatchLines, FillMode::vertical, 40, 1, packedColor(82, 65, 11)},  // 200/40 = 5
    };
    for (const auto& [lines, mode, height, row, expected] : rows) {
        EXPECT_EQ(lines(c, mode, height).at(static_cast<std::size_t>(row)), expected)
            << int(mode) << " " << height << " " << row;
    }
    for (FillMode mode : {FillMode::standard, FillMode::cylindrical, FillMode::vertical}) {
        EXPECT_TRUE(swatchLines(c, mode, 0).empty() && swatchLines(c, mode, -3).empty());
    }
}

TEST(ChartModel, OnlyLowColourDirectDisplaysFillStandard) {
    const std::tuple<int, bool, bool> cases[] = {
        {1, false, true},  {4, false, true}, {4, true, false},   {7, false, true},
        {8, false, false}, {8, true, false}, {16, false, false}, {32, false, false}};
    for (const auto& [bits, palette, standard] : cases) {
        EXPECT_EQ(fillsOnlyStandard(bits, palette), standard) << bits << " " << palette;
    }
}

TEST(ChartModel, SubtitleOfTheRunsUtcTime) {
    const auto at = [](int year, int month, int day, int hour, int minute) {
        std::tm utc{};
        utc.tm_year = year - 1900, utc.tm_mon = month - 1, utc.tm_mday = day;
        utc.tm_hour = hour, utc.tm_min = minute;
        utc.tm_wday = 3;  // wrong on purpose: the weekday comes from the date
        return chartSubtitle(utc);
    };
    EXPECT_EQ(at(2004, 3, 7, 23, 5), "Benchmark executed on Sunday 3/7/2004, at 24.5");
    EXPECT_EQ(at(2023, 11, 15, 0, 59), "Benchmark executed on Wednesday 11/15/2023, at 1.59");
    EXPECT_EQ(at(2000, 1, 1, 12, 30), "Benchmark executed on Saturday 1/1/2000, at 13.30");
}

using Repaints = std::vector<ChartRepaint>;

ChartData pageChart() {
    ChartData chart = chartPageDefaults();
    chart.title = "Overall";
    chart.subtitle = "Benchmark executed on Sunday 3/7/2004, at 24.5";
    return chart;
}

// Nothing changed also holds what the configurator loads: a field loaded from the wrong one of
// the chart's would come back from Apply as a change.
TEST(ChartLook, EachStepAsksItsRepaintOnlyWhenSomethingChanged) {
    const std::pair<std::function<void(ChartLook&)>, Repaints> cases[] = {
        {[](ChartLook&) {}, {}},  // like Cancel: nothing changed
        {[](ChartLook& l) { l.title = "Overall "; }, {ChartRepaint::whole}},
        {[](ChartLook& l) { l.title = "overall"; }, {ChartRepaint::whole}},  // case counts
        {[](ChartLook& l) { l.titleColor = 0xFF; }, {ChartRepaint::whole}},
        {[](ChartLook& l) { l.subtitle = "x"; }, {ChartRepaint::subtitleBand}},
        {[](ChartLook& l) { l.subtitleColor = 0xFF00; }, {ChartRepaint::subtitleBand}},
        {[](ChartLook& l) { l.backColor = 0; }, {ChartRepaint::whole}},
        {[](ChartLook& l) { l.barTextColor = 0xFFFFFF; }, {ChartRepaint::plot}},
        {[](ChartLook& l) { l.gridColor = 0x808080; }, {ChartRepaint::whole}},
        {[](ChartLook& l) { l.showScale = false; }, {ChartRepaint::whole}},
        {[](ChartLook& l) { l.fillMode = FillMode::vertical; }, {ChartRepaint::plot}},
        {[](ChartLook& l) {
             l.fillMode = FillMode::standard;
             l.subtitle = "y";
             l.barTextColor = 0x123456;
             l.title = "T";
         },
         {ChartRepaint::whole, ChartRepaint::subtitleBand, ChartRepaint::plot, ChartRepaint::plot}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        ChartData chart = pageChart();
        ChartLook pending = chartLook(chart);
        cases[i].first(pending);
        EXPECT_EQ(applyChartLook(chart, pending), cases[i].second);
        EXPECT_EQ(chartLook(chart), pending);
        EXPECT_EQ(applyChartLook(chart, pending), Repaints{}) << "a second Apply changes nothing";
        EXPECT_EQ(chart.units, pageChart().units);
    }
}

}  // namespace
}  // namespace veltrane::reports

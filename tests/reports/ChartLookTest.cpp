// The graph configurator's Apply: each changed step sets the chart and asks
// its repaint, in the order of the steps; nothing changed asks nothing.
#include <gtest/gtest.h>

#include <functional>

#include "reports/ChartLook.h"

namespace veltrane::reports {
namespace {

using Repaints = std::vector<ChartRepaint>;

ChartData pageChart() {
    ChartData chart = chartPageDefaults();
    chart.title = "Overall";
    chart.subtitle = "Benchmark executed on Sunday 3/7/2004, at 24.5";
    return chart;
}

TEST(ChartLook, LoadsTheChartsLook) {
    const ChartLook look = chartLook(pageChart());
    EXPECT_EQ(look.title, "Overall");
    EXPECT_EQ(look.backColor, 0xD6D6D6u);
    EXPECT_TRUE(look.showScale);
    EXPECT_EQ(look.fillMode, FillMode::cylindrical);
}

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

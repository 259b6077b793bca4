#pragma once

// The graph configurator's side of a chart: the look it loads when shown and
// what its Apply changes and asks to repaint. Qt-free.

#include <string>
#include <vector>

#include "reports/ChartModel.h"

namespace veltrane::reports {

// The configurator's pending values.
struct ChartLook {
    std::string title;
    std::string subtitle;
    PackedColor titleColor = 0;
    PackedColor subtitleColor = 0;
    PackedColor backColor = 0;
    PackedColor barTextColor = 0;
    PackedColor gridColor = 0;
    bool showScale = false;
    FillMode fillMode = FillMode::cylindrical;
    bool operator==(const ChartLook&) const = default;
};

// What the configurator loads when shown.
ChartLook chartLook(const ChartData& chart);

enum class ChartRepaint { whole, subtitleBand, plot };

// Apply: each step that finds something changed sets it on the chart and
// asks for its repaint; the repaints asked, in the order of the steps.
// Texts compare exactly; applying the same look again asks nothing.
std::vector<ChartRepaint> applyChartLook(ChartData& chart, const ChartLook& pending);

}  // namespace veltrane::reports

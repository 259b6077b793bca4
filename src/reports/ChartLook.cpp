#include "reports/ChartLook.h"

namespace veltrane::reports {

namespace {

// Sets `field` to `wanted` where it differs; whether it did.
template <typename T>
bool changed(T& field, const T& wanted) {
    if (field == wanted) {
        return false;
    }
    field = wanted;
    return true;
}

}  // namespace

ChartLook chartLook(const ChartData& chart) {
    return {chart.title,         chart.subtitle,  chart.titleColor,
            chart.subtitleColor, chart.backColor, chart.barTextColor,
            chart.gridColor,     chart.showScale, chart.fillMode};
}

std::vector<ChartRepaint> applyChartLook(ChartData& chart, const ChartLook& pending) {
    std::vector<ChartRepaint> repaints;
    const auto step = [&](bool anyChanged, ChartRepaint repaint) {
        if (anyChanged) {
            repaints.push_back(repaint);
        }
    };
    // Both fields of a step are set, so `|` and not `||`.
    step(changed(chart.title, pending.title) | changed(chart.titleColor, pending.titleColor),
         ChartRepaint::whole);
    step(changed(chart.subtitle, pending.subtitle) |
             changed(chart.subtitleColor, pending.subtitleColor),
         ChartRepaint::subtitleBand);
    step(changed(chart.backColor, pending.backColor), ChartRepaint::whole);
    step(changed(chart.barTextColor, pending.barTextColor), ChartRepaint::plot);
    step(changed(chart.gridColor, pending.gridColor), ChartRepaint::whole);
    step(changed(chart.showScale, pending.showScale), ChartRepaint::whole);
    step(changed(chart.fillMode, pending.fillMode), ChartRepaint::plot);
    return repaints;
}

}  // namespace veltrane::reports

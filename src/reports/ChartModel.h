#pragma once

// The result chart as numbers: what the horizontal bar chart of the graph
// window paints where, in which colours, computed without Qt so that the
// widget only draws what these functions give.

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::reports {

using PackedColor = std::uint32_t;  // red in the low byte, blue in the third

constexpr PackedColor packedColor(int red, int green, int blue) {
    return static_cast<PackedColor>(red & 0xFF) | (static_cast<PackedColor>(green & 0xFF) << 8) |
           (static_cast<PackedColor>(blue & 0xFF) << 16);
}
constexpr int redOf(PackedColor c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int greenOf(PackedColor c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blueOf(PackedColor c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

enum class FillMode { standard = 0, cylindrical = 1, vertical = 2 };
inline constexpr std::array<const char*, 3> kFillModeNames{
    "Standard Fill Mode", "Cylindrical Gradient", "Vertical Gradient"};

struct ChartEntry {
    ChartEntry() = default;
    ChartEntry(std::int32_t barValue, PackedColor barColor) : value(barValue), color(barColor) {}

    std::int32_t value = 0;
    PackedColor color = 0;
    bool shown = true;  // false: a group with no system, neither bar nor label
    std::string label;  // in place of the value and unit when set ("N/A")
};

// The chart control's fields, with its construction defaults.
struct ChartData {
    std::string title;
    std::string subtitle;
    std::vector<std::string> units;  // one unit word per series
    std::string caption;
    int groupCount = 0;
    int seriesCount = 1;
    bool showScale = false;
    std::vector<ChartEntry> entries;  // group-major: group g, series s at g * seriesCount + s
    int chartNumber = 0;              // 1-5 once a page sets it
    PackedColor backColor = 0x000000;
    PackedColor titleColor = 0xFFFFFF;
    PackedColor subtitleColor = 0xFFFFFF;
    PackedColor barTextColor = 0xFFFFFF;
    PackedColor gridColor = 0xFFFFFF;
    FillMode fillMode = FillMode::cylindrical;
};

// What the chart pages start from: grey back, black texts and grid, scale on,
// five groups.
ChartData chartPageDefaults();

struct ChartRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ChartRect&) const = default;
};

// x, y as the painting step gives them: the horizontal centre and the top for
// centred texts, the left and the top for the scale labels.
struct ChartText {
    std::string text;
    int x = 0;
    int y = 0;
};

struct ChartGeometry {
    int top = 0;
    int bottom = 0;
    int left = 0;
    int plotWidth = 0;
    int slot = 0;    // height of one group
    int thick = 0;   // height of one bar
    float step = 0;  // from one series' bar to the next within a group
    std::int32_t maxValue = 0;
};

// The chart's geometry for a control of width x height pixels.
ChartGeometry chartGeometry(const ChartData& chart, int width, int height);

// One bar: its rectangle (width 0 for a bar with no width), the colour of
// each of its pixel rows top down (mode 0: thick copies of the one colour)
// and the value label written after it.
struct ChartBar {
    ChartRect rect;
    std::vector<PackedColor> lines;
    ChartText label;
};

// The bar labels' font size in pixels: 25, or less where a chart of many
// groups has thinner bars, so one bar's label never runs into the next.
int barLabelPixels(const ChartGeometry& geometry);

// Every bar, group by group and series by series within a group.
std::vector<ChartBar> chartBars(const ChartData& chart, const ChartGeometry& geometry);

struct ChartScale {
    ChartRect axis;
    std::vector<ChartRect> gridLines;  // at 20, 40, 60, 80 and 100 % of the plot
    ChartText low;
    ChartText high;
    PackedColor labelColor = 0;
};

// The axis, grid lines and scale labels; empty when showScale is off.
std::optional<ChartScale> chartScale(const ChartData& chart, const ChartGeometry& geometry);

struct ChartTexts {
    ChartText caption;
    ChartText title;
    ChartText subtitle;
};

ChartTexts chartTexts(const ChartData& chart, int width, const ChartGeometry& geometry);

// The colour of each pixel row of a bar `thick` rows high filled by `mode`.
std::vector<PackedColor> fillLines(PackedColor color, FillMode mode, int thick);
// The colour of each pixel row of the configurator's swatch `height` rows high.
std::vector<PackedColor> swatchLines(PackedColor color, FillMode mode, int height);

// The low-colour display rule: a display with fewer than 8 bits per pixel
// that is not palette-based fills only in the standard mode.
bool fillsOnlyStandard(int bitsPerPixel, bool paletteBased);

ChartRect subtitleBand(const ChartGeometry& geometry, int width);  // (0, 0) to (width, top)
ChartRect plotRect(const ChartGeometry& geometry);  // (left, top) to (left + plotWidth, bottom)

// "Benchmark executed on Sunday 3/7/2004, at 24.5" for a UTC time: the
// weekday of the date, month, day, year, UTC hour plus one (not wrapped) and
// minute.
std::string chartSubtitle(const std::tm& utc);

}  // namespace veltrane::reports

#include "reports/ChartModel.h"

#include <algorithm>
#include <chrono>

namespace veltrane::reports {

namespace {

// trunc(fraction x value): the float product truncated toward zero.
int truncatedShare(double fraction, int value) {
    return static_cast<int>(fraction * value);
}

// c minus (trunc(fraction x r), trunc(fraction x g), trunc(fraction x b)).
PackedColor darkenedShare(PackedColor c, double fraction) {
    return packedColor(redOf(c) - truncatedShare(fraction, redOf(c)),
                       greenOf(c) - truncatedShare(fraction, greenOf(c)),
                       blueOf(c) - truncatedShare(fraction, blueOf(c)));
}

// The one gradient both the bars and the swatch fill with: `count` rows from
// c's darkened share. A vertical gradient rises by `step` after every row; a
// cylindrical one rises in the upper half and falls back in the lower half.
// A component only rises while below c's own and below 255 - step, and only
// falls while above the start's; as it moves in whole steps from the start it
// stays within the start and 255.
std::vector<PackedColor> gradientLines(PackedColor c, FillMode mode, int count, int spread) {
    if (count <= 0) {
        return {};
    }
    const double dark = mode == FillMode::cylindrical ? 0.6 : 0.7;
    const PackedColor start = darkenedShare(c, dark);
    const int step = spread / count;
    const std::array<int, 3> target{redOf(c), greenOf(c), blueOf(c)};
    const std::array<int, 3> floor{redOf(start), greenOf(start), blueOf(start)};
    std::array<int, 3> now = floor;
    std::vector<PackedColor> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        lines.push_back(packedColor(now[0], now[1], now[2]));
        const bool rising = mode == FillMode::vertical || k < count / 2;
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (rising && now[i] < target[i] && now[i] < 255 - step) {
                now[i] += step;
            } else if (!rising && now[i] > floor[i] && now[i] > 0) {
                now[i] -= step;
            }
        }
    }
    return lines;
}

// The unit word of series `series`, empty where the chart names none.
const std::string& unitOf(const ChartData& chart, int series) {
    static const std::string none;
    return series >= 0 && static_cast<std::size_t>(series) < chart.units.size()
               ? chart.units[static_cast<std::size_t>(series)]
               : none;
}

// Characters, not bytes, of a UTF-8 text.
int characterCount(const std::string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char ch) {
        return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    }));
}

// value x plotWidth / maxValue, truncated. The product of two 32-bit
// figures overflows 32 bits from a value of about 10 million on a wide
// chart, so it is taken in 64 bits; for 0 <= value <= maxValue the quotient
// is at most plotWidth and fits back. A negative value, or a chart whose
// largest value is not positive, has no width.
int barWidth(std::int32_t value, std::int32_t maxValue, int plotWidth) {
    if (value <= 0 || maxValue <= 0) {
        return 0;
    }
    return static_cast<int>(static_cast<std::int64_t>(value) * plotWidth / maxValue);
}

}  // namespace

ChartData chartPageDefaults() {
    ChartData chart;
    chart.backColor = 0xD6D6D6;
    chart.titleColor = chart.subtitleColor = chart.barTextColor = chart.gridColor = 0x000000;
    chart.showScale = true;
    chart.groupCount = 5;
    return chart;
}

ChartGeometry chartGeometry(const ChartData& chart, int width, int height) {
    ChartGeometry g;
    g.top = truncatedShare(0.15, height);
    g.bottom = height - 50;
    g.left = truncatedShare(0.415, width);
    g.plotWidth = width - g.left - 10;
    // A control too small for its groups, or a chart of none, has no bars
    // rather than bars of a negative height.
    g.slot = chart.groupCount > 0 ? std::max(0, (g.bottom - g.top) / chart.groupCount) : 0;
    g.thick = chart.seriesCount > 0 ? static_cast<int>(g.slot * 0.8 / chart.seriesCount) : 0;
    g.step = static_cast<float>(g.thick) + 0.05f * static_cast<float>(g.slot);
    for (std::size_t i = 0; i < chart.entries.size(); ++i) {
        g.maxValue = i == 0 ? chart.entries[i].value : std::max(g.maxValue, chart.entries[i].value);
    }
    return g;
}

int barLabelPixels(const ChartGeometry& geometry) {
    return std::clamp(geometry.thick, 8, 25);
}

std::vector<ChartBar> chartBars(const ChartData& chart, const ChartGeometry& geometry) {
    std::vector<ChartBar> bars;
    for (int g = 0; g < chart.groupCount; ++g) {
        for (int s = 0; s < chart.seriesCount; ++s) {
            const auto e =
                static_cast<std::size_t>(g) * static_cast<std::size_t>(chart.seriesCount) +
                static_cast<std::size_t>(s);
            if (e >= chart.entries.size()) {
                return bars;
            }
            const ChartEntry& entry = chart.entries[e];
            if (!entry.shown) {
                continue;
            }
            const int y = static_cast<int>(static_cast<float>(geometry.top + g * geometry.slot) +
                                           static_cast<float>(s) * geometry.step);
            ChartBar bar;
            bar.rect = {geometry.left, y,
                        barWidth(entry.value, geometry.maxValue, geometry.plotWidth),
                        geometry.thick};
            bar.lines = fillLines(entry.color, chart.fillMode, geometry.thick);
            const std::string text = entry.label.empty()
                                         ? std::to_string(entry.value) + " " + unitOf(chart, s)
                                         : entry.label;
            bar.label = {" " + text, geometry.left + 100, y};
            bars.push_back(std::move(bar));
        }
    }
    return bars;
}

std::optional<ChartScale> chartScale(const ChartData& chart, const ChartGeometry& geometry) {
    if (!chart.showScale) {
        return std::nullopt;
    }
    ChartScale scale;
    // The height of a very low control's axis is kept at 0, not negative.
    const auto lineAt = [&](int x) {
        return ChartRect{x, geometry.top - 10, 1, std::max(0, geometry.bottom - 60)};
    };
    scale.axis = lineAt(geometry.left - 1);
    for (double share : {0.2, 0.4, 0.6, 0.8}) {
        scale.gridLines.push_back(
            lineAt(static_cast<int>(share * geometry.plotWidth + geometry.left)));
    }
    scale.gridLines.push_back(lineAt(geometry.left + geometry.plotWidth));
    const std::string& unit = unitOf(chart, 0);
    scale.low = {"0 " + unit, geometry.left + 2, geometry.bottom};
    scale.high = {std::to_string(geometry.maxValue) + " " + unit,
                  geometry.left + geometry.plotWidth - 50, geometry.bottom};
    scale.labelColor = chart.gridColor != 0 ? 0x000000 : 0xFFFFFF;
    return scale;
}

ChartTexts chartTexts(const ChartData& chart, int width, const ChartGeometry& geometry) {
    return {{chart.caption, 120, geometry.top + 2},
            {chart.title, (width + characterCount(chart.title)) / 2, 0},
            {chart.subtitle, (width + characterCount(chart.subtitle)) / 2, 40}};
}

std::vector<PackedColor> fillLines(PackedColor color, FillMode mode, int thick) {
    if (mode == FillMode::standard) {
        // The original took 0x222222 off the packed value in one subtraction,
        // which borrows from the next component when one is below 34: a dark
        // red 0x000010 came out as 0xFFDDDDEE, a light grey. Each component is
        // clamped at 0 instead.
        const PackedColor darker =
            packedColor(std::max(0, redOf(color) - 0x22), std::max(0, greenOf(color) - 0x22),
                        std::max(0, blueOf(color) - 0x22));
        return std::vector<PackedColor>(static_cast<std::size_t>(std::max(0, thick)), darker);
    }
    return gradientLines(color, mode, thick, mode == FillMode::cylindrical ? 390 : 180);
}

std::vector<PackedColor> swatchLines(PackedColor color, FillMode mode, int height) {
    if (mode == FillMode::standard) {
        return std::vector<PackedColor>(static_cast<std::size_t>(std::max(0, height)), color);
    }
    return gradientLines(color, mode, height, mode == FillMode::cylindrical ? 380 : 200);
}

bool fillsOnlyStandard(int bitsPerPixel, bool paletteBased) {
    return !paletteBased && bitsPerPixel < 8;
}

ChartRect subtitleBand(const ChartGeometry& geometry, int width) {
    return {0, 0, width, geometry.top};
}

ChartRect plotRect(const ChartGeometry& geometry) {
    return {geometry.left, geometry.top, geometry.plotWidth, geometry.bottom - geometry.top};
}

std::string chartSubtitle(const std::tm& utc) {
    static constexpr std::array<const char*, 7> kDays{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                      "Thursday", "Friday", "Saturday"};
    using namespace std::chrono;
    // The weekday from the date itself, so a hand-filled tm needs no tm_wday.
    const year_month_day date{year{utc.tm_year + 1900},
                              month{static_cast<unsigned>(utc.tm_mon + 1)},
                              day{static_cast<unsigned>(utc.tm_mday)}};
    const unsigned weekday = date.ok() ? std::chrono::weekday{sys_days{date}}.c_encoding()
                                       : static_cast<unsigned>(utc.tm_wday) % 7;
    return std::string("Benchmark executed on ") + kDays[weekday] + " " +
           std::to_string(utc.tm_mon + 1) + "/" + std::to_string(utc.tm_mday) + "/" +
           std::to_string(utc.tm_year + 1900) + ", at " + std::to_string(utc.tm_hour + 1) + "." +
           std::to_string(utc.tm_min);
}

}  // namespace veltrane::reports

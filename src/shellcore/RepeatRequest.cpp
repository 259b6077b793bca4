#include "shellcore/RepeatRequest.h"

#include <algorithm>

#include "engine/RunEnd.h"
#include "platform/Format.h"

namespace veltrane::shell {

namespace {

constexpr int kRepeatShift = 8;

std::string rangeText(const engine::FigureStats& figure) {
    if (figure.figure->field == &engine::BenchResult::overallResult) {
        return strprintf("%d - %d CPUMarks", engine::truncatedInt(static_cast<float>(figure.min)),
                         engine::truncatedInt(static_cast<float>(figure.max)));
    }
    return strprintf("%s %.2f - %.2f", figure.figure->label, figure.min, figure.max);
}

}  // namespace

std::intptr_t runRequestArgument(int mask, int runs) {
    const int extra = std::clamp(runs, 1, engine::kMaxRepeatRuns) - 1;
    return static_cast<std::intptr_t>(mask & 0xFF) | static_cast<std::intptr_t>(extra)
                                                         << kRepeatShift;
}

int repeatCountOf(std::intptr_t argument) {
    const std::intptr_t extra = argument >> kRepeatShift;
    return extra < 0 || extra >= engine::kMaxRepeatRuns ? 1 : static_cast<int>(extra) + 1;
}

std::string runCountText(int run, int runs) {
    return runs > 1 ? strprintf("Run %d of %d", run, runs) : std::string();
}

std::string spreadText(const std::vector<engine::FigureStats>& stats, int runs) {
    if (runs < 2 || stats.empty()) {
        return {};
    }
    // The overall score comes first when measured, else the total time.
    const engine::FigureStats& headline = stats.front();
    std::string text = strprintf("Median of %d runs: %s, RSD %.1f %%", runs,
                                 rangeText(headline).c_str(), headline.rsdPercent);
    const auto most =
        std::max_element(stats.begin(), stats.end(),
                         [](const auto& a, const auto& b) { return a.rsdPercent < b.rsdPercent; });
    if (most->rsdPercent > headline.rsdPercent) {
        text += strprintf("\nMost spread: %s, RSD %.1f %%", most->figure->label, most->rsdPercent);
    }
    return text;
}

}  // namespace veltrane::shell

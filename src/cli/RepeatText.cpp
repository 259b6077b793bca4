#include "cli/RepeatText.h"

#include "platform/Format.h"

namespace veltrane::cli {

namespace {

std::string unsettledFigures(const std::vector<engine::FigureStats>& stats) {
    std::string names;
    for (const auto& figure : stats) {
        if (figure.rsdPercent > engine::kSettledRsdPercent) {
            names += (names.empty() ? "" : ", ") + std::string(figure.figure->label);
        }
    }
    return names;
}

std::string untilStableLine(const reports::RepeatOutcome& outcome) {
    const auto runs = static_cast<int>(outcome.runs.size());
    if (outcome.settled) {
        return strprintf(
            "Until stable: %d runs; the figures settled (every RSD at most %.1f %%).\n", runs,
            engine::kSettledRsdPercent);
    }
    return strprintf(
        "Until stable: %d runs, the most allowed; the figures did not settle (RSD "
        "above %.1f %%: %s).\n",
        runs, engine::kSettledRsdPercent, unsettledFigures(outcome.stats).c_str());
}

}  // namespace

std::string runHeading(int run, const engine::RepeatPlan& plan) {
    if (run <= plan.planned) {
        return strprintf("\nRun %d of %d\n", run, plan.planned);
    }
    return strprintf("\nRun %d of at most %d (the figures have not settled yet)\n", run,
                     plan.limit());
}

std::string repeatTable(const reports::RepeatOutcome& outcome) {
    std::string text = strprintf("Repeat Statistics: %d runs; the results above are the medians\n",
                                 static_cast<int>(outcome.runs.size()));
    text += strprintf("  %-24s %12s %12s %12s %7s\n", "Figure", "Median", "Min", "Max", "RSD %");
    for (const auto& figure : outcome.stats) {
        text += strprintf("  %-24s %12.2f %12.2f %12.2f %7.1f\n", figure.figure->label,
                          figure.median, figure.min, figure.max, figure.rsdPercent);
    }
    if (outcome.untilStable) {
        text += untilStableLine(outcome);
    }
    return text;
}

}  // namespace veltrane::cli

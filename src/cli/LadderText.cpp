#include "cli/LadderText.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "cli/FeatureFlagsText.h"
#include "platform/Format.h"

namespace veltrane::cli {

namespace {

constexpr std::size_t kNoteColumns = 78;

std::string figureText(const engine::RungResult& rung) {
    return rung.measured() ? strprintf("%.0f", rung.mbPerSecond)
                           : "check failed: " + rung.check.detail;
}

std::string table(const engine::LadderResult& result) {
    std::string text = strprintf("%11s  %-11s  %10s\n", "Working set", "Level", "MB/s");
    for (std::size_t i = 0; i < result.rungs.size(); ++i) {
        const auto& rung = result.rungs[i];
        text += strprintf("%11s  %-11s  %10s%s\n",
                          engine::workingSetText(rung.rung.workingSetBytes).c_str(),
                          rung.rung.level.c_str(), figureText(rung).c_str(),
                          engine::isMainMemoryRung(result, i) ? "  <- main memory" : "");
    }
    return text;
}

std::string chart(const engine::LadderResult& result) {
    double widest = 0;
    for (const auto& rung : result.rungs) {
        widest = std::max(widest, rung.measured() ? rung.mbPerSecond : 0.0);
    }
    std::string text;
    for (const auto& rung : result.rungs) {
        text += strprintf(
            "%11s |%s\n", engine::workingSetText(rung.rung.workingSetBytes).c_str(),
            rung.measured() ? ladderBar(rung.mbPerSecond, widest).c_str() : " (check failed)");
    }
    return text;
}

}  // namespace

std::string ladderBar(double value, double widest) {
    if (!(value > 0) || !(widest > 0)) {
        return {};
    }
    const long count = std::lround(kLadderBarWidth * std::min(value / widest, 1.0));
    return std::string(static_cast<std::size_t>(std::max(count, 1L)), '#');
}

std::string formatLadder(const engine::LadderResult& result) {
    std::string text = "Memory ladder\n\n";
    if (result.rungs.empty()) {
        text += "No rung was measured.\n";
    } else {
        text += table(result) + "\n" + chart(result);
    }
    text += "\n";
    // Notes wrap like the flag lines, so they read in an 80-column terminal.
    for (const std::string& note : engine::ladderNotes(result)) {
        std::vector<std::string> words;
        std::istringstream split(note);
        for (std::string word; split >> word;) {
            words.push_back(word);
        }
        for (const auto& line : wrappedWords(words, 0, kNoteColumns)) {
            text += line + "\n";
        }
    }
    return text;
}

}  // namespace veltrane::cli

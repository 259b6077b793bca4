#include "cli/CompareText.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <string_view>

#include "engine/ReferenceDetails.h"
#include "platform/Format.h"

namespace veltrane::cli {

namespace {

// A COLUMNS of a billion must not make a line of a billion cells.
constexpr int kMaxColumns = 1000;
// However narrow the terminal, a bar keeps room to tell the systems apart.
constexpr int kMinBarWidth = 10;

bool utf8Locale(const TerminalFacts& facts) {
    // The first of these that is set decides, as it does for the C library.
    std::string name;
    for (const char* value : {facts.lcAll, facts.lcCtype, facts.lang}) {
        if (value != nullptr && *value != '\0') {
            name = value;
            break;
        }
    }
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name.find("utf-8") != std::string::npos || name.find("utf8") != std::string::npos;
}

int positiveNumber(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    const std::string_view digits(text);
    int value = 0;
    const auto [stop, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && stop == digits.data() + digits.size() && value > 0 ? value : 0;
}

// Columns a name takes on a UTF-8 terminal: continuation bytes take none.
int displayWidth(std::string_view text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The bandwidth page gives both its series the same unit; its title says
// which is which.
std::vector<std::string> seriesWords(const reports::ComparisonPage& page) {
    auto words = page.units;
    if (page.pageIndex == 3 && words.size() == 2) {
        words[0] += " ALU";
        words[1] += " FPU";
    }
    return words;
}

std::string pageText(const reports::ComparisonPage& page, const CompareStyle& style) {
    const auto words = seriesWords(page);
    std::int32_t maximum = 0;
    int figureWidth = 1;
    int wordWidth = 0;
    for (const auto& group : page.groups) {
        for (const std::int32_t value : group.values) {
            maximum = std::max(maximum, value);
            figureWidth = std::max(figureWidth, static_cast<int>(std::to_string(value).size()));
        }
    }
    for (const auto& word : words) {
        wordWidth = std::max(wordWidth, static_cast<int>(word.size()));
    }
    // A line: indent, name, bar, figure and unit, a space between each. The
    // name column takes the longest name that leaves the bar its share.
    const int room =
        std::clamp(style.columns, 1, kMaxColumns) - 2 - 1 - (1 + figureWidth + 1 + wordWidth);
    const int widestName = std::max(0, room - std::max(kMinBarWidth, room / 3));
    int nameWidth = 0;
    for (const auto& group : page.groups) {
        const int width = displayWidth(trimmedRight(group.name));
        if (width <= widestName) {
            nameWidth = std::max(nameWidth, width);
        }
    }
    const int barWidth = std::max(kMinBarWidth, room - nameWidth);
    const std::string blankLead(static_cast<std::size_t>(2 + nameWidth), ' ');

    std::string text = '\n' + page.chartTitle + '\n';
    for (const auto& group : page.groups) {
        const std::string_view name = trimmedRight(group.name);
        const int width = displayWidth(name);
        // A name longer than the name column has a line of its own.
        std::string lead = blankLead;
        if (width > nameWidth) {
            text += "  " + std::string(name) + '\n';
        } else {
            lead = "  " + std::string(name) +
                   std::string(static_cast<std::size_t>(nameWidth - width), ' ');
        }
        for (std::size_t s = 0; s < group.values.size() && s < words.size(); ++s) {
            text += lead + ' ' + barText(group.values[s], maximum, barWidth, style.unicodeBlocks) +
                    strprintf(" %*d %s\n", figureWidth, group.values[s], words[s].c_str());
            lead = blankLead;
        }
    }
    return text;
}

}  // namespace

CompareStyle compareStyleFor(const TerminalFacts& facts) {
    CompareStyle style;
    if (facts.isTerminal && facts.windowColumns > 0) {
        style.columns = facts.windowColumns;
    } else if (const int columns = positiveNumber(facts.columnsVariable); columns > 0) {
        style.columns = columns;
    }
    style.unicodeBlocks = facts.isTerminal && utf8Locale(facts);
    return style;
}

CompareStyle detectCompareStyle(int fd) {
    TerminalFacts facts;
    facts.isTerminal = ::isatty(fd) == 1;
    winsize size{};
    if (facts.isTerminal && ::ioctl(fd, TIOCGWINSZ, &size) == 0) {
        facts.windowColumns = size.ws_col;
    }
    facts.columnsVariable = std::getenv("COLUMNS");
    facts.lcAll = std::getenv("LC_ALL");
    facts.lcCtype = std::getenv("LC_CTYPE");
    facts.lang = std::getenv("LANG");
    return compareStyleFor(facts);
}

std::string barText(std::int32_t value, std::int32_t maximum, int width, bool unicodeBlocks) {
    width = std::max(width, 0);
    const std::int64_t parts = unicodeBlocks ? 8 : 1;  // steps a cell is drawn in
    std::int64_t steps = 0;
    if (value > 0 && maximum > 0) {
        steps = (std::int64_t{value} * width * parts + maximum / 2) / maximum;
        steps = std::min(steps, width * parts);
    }
    const auto full = static_cast<int>(steps / parts);
    const auto rest = static_cast<int>(steps % parts);
    std::string bar;
    for (int cell = 0; cell < full; ++cell) {
        bar += unicodeBlocks ? "\u2588" : "#";
    }
    if (rest > 0) {
        // U+2589 (seven eighths) down to U+258F (one eighth).
        bar += {'\xE2', '\x96', static_cast<char>(0x90 - rest)};
    }
    bar.append(static_cast<std::size_t>(width - full - (rest > 0 ? 1 : 0)), ' ');
    return bar;
}

std::string comparePagesText(const std::vector<reports::ComparisonPage>& pages,
                             const CompareStyle& style) {
    std::string text;
    for (const auto& page : pages) {
        text += pageText(page, style);
    }
    return text;
}

std::string compareText(const engine::BenchResult& record,
                        const engine::ReferenceDatabase& database, const CompareStyle& style) {
    const auto values = engine::chartPageValues(record);
    const auto& list = database.lists.at(static_cast<std::size_t>(values.suite));
    std::string text = strprintf("\nComparison: %s (%zu reference system%s)\n",
                                 reports::comparisonListName(values.suite), list.size(),
                                 list.size() == 1 ? "" : "s");
    return text + comparePagesText(reports::comparisonPages(values, database), style);
}

}  // namespace veltrane::cli

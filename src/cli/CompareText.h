#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/BenchResult.h"
#include "engine/ReferenceDatabase.h"
#include "reports/ComparisonPages.h"

namespace veltrane::cli {

// How the comparison's bars are drawn: the width of the line, and block
// characters (eighths of a cell) or plain '#'.
struct CompareStyle {
    int columns = 80;
    bool unicodeBlocks = false;
};

// What the style is decided from; detectCompareStyle gathers it.
struct TerminalFacts {
    bool isTerminal = false;
    int windowColumns = 0;                  // the terminal's own width, 0 when unknown
    const char* columnsVariable = nullptr;  // COLUMNS
    const char* lcAll = nullptr;
    const char* lcCtype = nullptr;
    const char* lang = nullptr;
};

CompareStyle compareStyleFor(const TerminalFacts& facts);

// The style for what is written to `fd`.
CompareStyle detectCompareStyle(int fd);

// `value` as a share of `maximum` drawn `width` cells wide, padded with spaces
// to the full width; nothing for a value or maximum of zero or less.
std::string barText(std::int32_t value, std::int32_t maximum, int width, bool unicodeBlocks);

// Each chart page as horizontal bars scaled to the page's largest figure,
// one line per series, each figure with its unit beside it.
std::string comparePagesText(const std::vector<reports::ComparisonPage>& pages,
                             const CompareStyle& style);

// The comparison as the chart pages show it: for each page your system and
// the first four entries of the run's reference list.
std::string compareText(const engine::BenchResult& record,
                        const engine::ReferenceDatabase& database, const CompareStyle& style);

}  // namespace veltrane::cli

#include "engine/IntegerBenchmark.h"

#include "platform/Format.h"

namespace veltrane::engine {

namespace {

bool comesAfter(const SortRecord& a, const SortRecord& b) {
    return compareTexts(a.first.c_str(), b.first.c_str()) > 0 &&
           compareTexts(a.second.c_str(), b.second.c_str()) > 0 &&
           compareTexts(a.third.c_str(), b.third.c_str()) > 0 && a.key > b.key;
}

}  // namespace

void fillSortTable(SortTable& table) {
    std::string working = "abcdefghilmnopqrstuw";
    for (int i = kSortRecords - 1; i >= 1; --i) {
        working = strprintf("%s %d", working.c_str(), i);
        const SharedText text(working);
        SortRecord& element = table[static_cast<std::size_t>(i)];
        element.key = i;
        element.first = text;
        element.second = text;
        element.third = text;
    }
}

// One pass of the bubble sort. With the table as filled no swap happens, but
// every comparison is made: that is the work being timed.
[[gnu::noinline]] void sortPass(SortTable& table) {
    for (std::size_t n = kSortRecords - 1; n >= 2; --n) {
        for (std::size_t j = 0; j < n; ++j) {
            if (comesAfter(table[j], table[j + 1])) {
                const SortRecord temporary = table[j];
                table[j] = table[j + 1];
                table[j + 1] = temporary;
            }
        }
    }
}

}  // namespace veltrane::engine

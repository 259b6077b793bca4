#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/BenchResult.h"
#include "engine/TestShapes.h"

namespace veltrane::engine {

// A text that assignment shares rather than copies; an empty text has no storage.
class SharedText {
public:
    SharedText() = default;
    explicit SharedText(std::string text)
        : text_(std::make_shared<const std::string>(std::move(text))) {}
    const char* c_str() const { return text_ ? text_->c_str() : ""; }
    std::size_t size() const { return text_ ? text_->size() : 0; }

private:
    std::shared_ptr<const std::string> text_;
};

struct SortRecord {
    std::int32_t key = 0;
    SharedText first;
    SharedText second;
    SharedText third;
};

inline constexpr int kSortRecords = 300;
using SortTable = std::array<SortRecord, kSortRecords>;

// The table lives from the first run of test 1 to the end of the process;
// each form keeps its own.
struct IntegerState {
    std::unique_ptr<SortTable> table;
};

template <int Table>
IntegerState& integerStateFor() {
    static IntegerState state;
    return state;
}

// Byte by byte on unsigned characters up to the first difference or the
// terminating zero: -1, 0 or +1. Our own loop, so the work timed does not
// depend on which vector code the C library picks for this processor.
inline int compareTexts(const char* a, const char* b) {
    const auto* p = reinterpret_cast<const unsigned char*>(a);
    const auto* q = reinterpret_cast<const unsigned char*>(b);
    while (*p != 0 && *p == *q) {
        ++p;
        ++q;
    }
    return (*p > *q) - (*p < *q);
}

// The timed work of test 1, one piece each.
void fillSortTable(SortTable& table);
void sortPass(SortTable& table);
// After the passes: keys 1 to 299 in order, and element 1's texts the
// longest of all, "abcdefghilmnopqrstuw 299 298 ... 1".
TestCheck checkSortTable(const SortTable& table);

template <IntegerShape S = IntegerShape{}>
void IntegerBenchmark(BenchResult& record, IntegerState& state = integerStateFor<S.table>());

}  // namespace veltrane::engine

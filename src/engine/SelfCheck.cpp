#include "engine/SelfCheck.h"

#include <atomic>
#include <cmath>

#include "engine/BenchResult.h"
#include "engine/IntegerBenchmark.h"
#include "platform/Format.h"

namespace veltrane::engine {

namespace {

std::atomic<int> damagedCheck{0};

constexpr double kRelativeTolerance = 1e-13;

// a, b and c of every element after the passes, by the same arithmetic.
template <typename T>
struct StreamValues {
    T a;
    T b;
    T c;
};

template <typename T>
StreamValues<T> streamValuesAfter(int passes) {
    StreamValues<T> v{T(0), T(2), T(1)};
    for (int pass = 0; pass < passes; ++pass) {
        v.a = v.c;
        v.b = T(3) * v.b;
        v.a = v.b + v.c;
        v.c = T(3) * v.a + v.b;
    }
    return v;
}

bool matches(std::uint32_t value, std::uint32_t expected) {
    return value == expected;
}

bool matches(double value, double expected) {
    return std::fabs(value - expected) <= kRelativeTolerance * std::fabs(expected);
}

template <typename T>
TestCheck checkArrays(const T* a, const T* b, const T* c, std::size_t count, int passes) {
    const StreamValues<T> expected = streamValuesAfter<T>(passes);
    const std::pair<const T*, T> arrays[] = {{a, expected.a}, {b, expected.b}, {c, expected.c}};
    for (std::size_t k = 0; k < 3; ++k) {
        for (std::size_t i = 0; i < count; ++i) {
            if (!matches(arrays[k].first[i], arrays[k].second)) {
                return checkFailed(strprintf("array %c element %zu is %.17g, not %.17g",
                                             static_cast<char>('a' + k), i,
                                             static_cast<double>(arrays[k].first[i]),
                                             static_cast<double>(arrays[k].second)));
            }
        }
    }
    return checkPassed();
}

}  // namespace

TestCheck checkPassed() {
    return {CheckState::Passed, {}};
}

TestCheck checkFailed(std::string detail) {
    return {CheckState::Failed, std::move(detail)};
}

bool figuresTrusted(const BenchResult& record) {
    for (const TestCheck& check : record.checks) {
        if (check.failed()) {
            return false;
        }
    }
    return true;
}

bool figureInvalid(const BenchResult& record, int test) {
    return test >= 1 && test <= static_cast<int>(record.checks.size()) &&
           record.checks[static_cast<std::size_t>(test - 1)].failed();
}

TestCheck checkTicks(std::int64_t counted, std::int64_t expected) {
    if (counted == expected) {
        return checkPassed();
    }
    return checkFailed(strprintf("%lld progress ticks counted, %lld expected",
                                 static_cast<long long>(counted),
                                 static_cast<long long>(expected)));
}

std::int64_t expectedTicks(std::int32_t start, std::int32_t step, std::int32_t limit,
                           std::int32_t every) {
    if (step <= 0 || every <= 0) {
        return 0;
    }
    std::int64_t ticks = 0;
    // Every multiple of `every` in range that the counter steps on.
    const std::int64_t first = (static_cast<std::int64_t>(start) + every - 1) / every * every;
    for (std::int64_t m = std::max<std::int64_t>(first, 0); m < limit; m += every) {
        ticks += (m - start) % step == 0 ? 1 : 0;
    }
    return ticks;
}

TestCheck checkSortTable(const SortTable& table) {
    for (int i = 1; i < kSortRecords; ++i) {
        const std::int32_t key = table[static_cast<std::size_t>(i)].key;
        if (key != i) {
            return checkFailed(strprintf("element %d holds key %d", i, key));
        }
    }
    std::string longest = "abcdefghilmnopqrstuw";
    for (int i = kSortRecords - 1; i >= 1; --i) {
        longest += " " + std::to_string(i);
    }
    const SortRecord& first = table[1];
    for (const SharedText* text : {&first.first, &first.second, &first.third}) {
        if (longest != text->c_str()) {
            return checkFailed("element 1's text is not the longest one");
        }
    }
    return checkPassed();
}

TestCheck checkAluArrays(const std::uint32_t* a, const std::uint32_t* b, const std::uint32_t* c,
                         std::size_t count, int passes) {
    return checkArrays(a, b, c, count, passes);
}

TestCheck checkFpuArrays(const double* a, const double* b, const double* c, std::size_t count,
                         int passes) {
    return checkArrays(a, b, c, count, passes);
}

void setDamagedCheck(int test) {
    damagedCheck.store(test);
}

bool checkInputDamaged(int test) {
    return damagedCheck.load() == test;
}

}  // namespace veltrane::engine

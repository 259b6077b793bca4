#include "engine/SelfCheck.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "engine/BenchResult.h"
#include "engine/IntegerBenchmark.h"
#include "engine/MatrixTransform.h"
#include "engine/PiBenchmark.h"
#include "platform/EffectiveClock.h"
#include "platform/Format.h"

namespace veltrane::engine {

namespace {

std::atomic<int> damagedCheck{0};
std::atomic<float> clockReferenceMHz{0};

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

double rotationScaleTolerance(std::int64_t steps) {
    // Each step rounds the two products and the sum of each entry to single
    // precision (unit roundoff u = 2^-24): a relative error of a few u in the
    // squared scale, of either sign and independent from step to step, so
    // after n steps a random walk of about sqrt(n) u. Sixteen times that
    // (and never under 64 u) is never reached by rounding: a run of 4 x 10^7
    // steps here strays by 4 x 10^-6 against a tolerance of 6 x 10^-3, while
    // one damaged element strays by far more or breaks the exact form.
    const double u = std::ldexp(1.0, -24);
    return std::max(16.0 * std::sqrt(static_cast<double>(steps)) * u, 64.0 * u);
}

TestCheck checkRunningRotation(const D3DMatrix& running, const D3DMatrix& rotation,
                               std::int64_t steps) {
    const auto& m = running.m;
    const bool axesKept = m[1][0] == 0 && m[1][1] == 1 && m[1][2] == 0 && m[1][3] == 0 &&
                          m[3][0] == 0 && m[3][1] == 0 && m[3][2] == 0 && m[3][3] == 1 &&
                          m[0][1] == 0 && m[0][3] == 0 && m[2][1] == 0 && m[2][3] == 0;
    if (!axesKept || m[0][0] != m[2][2] || m[0][2] != -m[2][0]) {
        return checkFailed("the running matrix has lost the form of a rotation about Y");
    }
    // Products of floats are exact in double precision.
    const double scale =
        static_cast<double>(m[0][0]) * m[0][0] + static_cast<double>(m[0][2]) * m[0][2];
    const long double c = rotation.m[0][0];
    const long double s = rotation.m[0][2];
    const auto expected =
        static_cast<double>(std::pow(c * c + s * s, static_cast<long double>(steps)));
    const double stray = std::fabs(scale - expected) / expected;
    if (!(stray <= rotationScaleTolerance(steps))) {
        return checkFailed(
            strprintf("the running matrix's squared scale is %.9g, not %.9g", scale, expected));
    }
    return checkPassed();
}

double piSeriesTolerance(double terms) {
    // The sum is 5 (1 - 1/3 + 1/5 - ...): an alternating series strays from
    // its limit 5 pi / 4 by less than its next term, 5 / (2 terms + 1); each
    // addition to a sum below 8 rounds by at most 2^-51, and each term's
    // division by at most half an ulp of the term. Four fifths of the whole.
    return 0.8 * (5.0 / (2.0 * terms + 1.0) + terms * std::ldexp(1.0, -50));
}

TestCheck checkPiSeries(const PiState& s) {
    // The denominator starts at -1 and gains 2 a term: exact in doubles.
    const double terms = (s.piDenominator + 1.0) / 2.0;
    if (!(terms >= 1.0) || terms != std::floor(terms)) {
        return checkFailed(
            strprintf("the denominator %.17g counts no whole number of terms", s.piDenominator));
    }
    const double sign = std::fmod(terms, 2.0) == 0.0 ? -s.five : s.five;
    if (s.piSign != sign) {
        return checkFailed(
            strprintf("after %.0f terms the sign is %g, not %g", terms, s.piSign, sign));
    }
    const double pi = 0.8 * s.piSum;
    if (!(std::fabs(pi - M_PI) <= piSeriesTolerance(terms))) {
        return checkFailed(strprintf("after %.0f terms the series gives pi as %.12f", terms, pi));
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

void setEffectiveClockReference(float tscMHz) {
    clockReferenceMHz.store(tscMHz);
}

float sampleEffectiveClock() {
    const float reference = clockReferenceMHz.load();
    return reference > 0 ? static_cast<float>(platform::effectiveClockMHz(reference)) : 0.0f;
}

std::vector<std::string> throttlingWarnings(const BenchResult& record) {
    std::vector<std::string> warnings;
    for (std::size_t i = 0; i < record.clocks.size(); ++i) {
        const TestClock& clock = record.clocks[i];
        if (clock.throttled()) {
            warnings.push_back(strprintf(
                "test %zu slowed the core from %.0f to %.0f MHz while it ran: the processor "
                "throttled, figures will be low",
                i + 1, static_cast<double>(clock.beforeMHz), static_cast<double>(clock.afterMHz)));
        }
    }
    return warnings;
}

void setDamagedCheck(int test) {
    damagedCheck.store(test);
}

bool checkInputDamaged(int test) {
    return damagedCheck.load() == test;
}

}  // namespace veltrane::engine

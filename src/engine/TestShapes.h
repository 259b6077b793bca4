#pragma once

#include <cstddef>
#include <cstdint>

namespace veltrane::engine {

// The sizes and forms of the timed loops. The defaults are the standard
// suite's own; the other suites and the tests' small instances change the
// fields they need.

// How a progress check finds its remainder: the standard forms divide, the
// optimised ones multiply by the reciprocal of a constant.
enum class Remainder { Divide, Reciprocal };

struct IntegerShape {
    int passes = 90;
    int tickEvery = 9;
    std::uint32_t settleMs = 200;
    int lessMs = 0;            // taken off the measured interval
    double reference = 80.85;  // ALUMarks = reference / time x 10000
    Remainder remainder = Remainder::Divide;
    std::int64_t tickParam = 0;  // wParam of the ticks: the thread number in the SMP suite
    int table = 0;               // which process-wide table the form keeps
    bool operator==(const IntegerShape&) const = default;
};

// Test 2's product per iteration: M x R (standard) or R x M (SSE, SSE2).
enum class Product { MTimesR, RTimesM };

struct MatrixShape {
    std::int32_t iterations = 40'000'000;
    std::int32_t tickEvery = 4'000'000;
    std::uint32_t settleMs = 200;
    bool resetBar = false;  // set the current-test bar to 0 before settling
    Product product = Product::MTimesR;
    Remainder remainder = Remainder::Divide;
    std::int64_t tickParam = 0;
    bool threeDNow = false;  // SinCos3DNow and MatrixMultiply3DNow instead of the x87 routines
    bool operator==(const MatrixShape&) const = default;
};

struct PiShape {
    std::int32_t limit = 512'000'000;  // sign flips, and terms, per loop
    std::int32_t tickEvery = 51'200'000;
    std::uint32_t settleMs = 200;
    int warmUpFlips = 8;   // per iteration; 1: counter 1 to limit, tick after the step
    int seriesTerms = 16;  // per iteration; 1 likewise
    Remainder remainder = Remainder::Divide;
    std::int64_t tickParam = 0;
    int state = 0;  // which process-wide series variables the form keeps
    bool operator==(const PiShape&) const = default;
};

struct MipsShape {
    std::int32_t start = 0;
    std::int32_t step = 2;
    std::int32_t limit = 512'000'000;  // the counter stays below it
    std::int32_t tickEvery = 51'200'000;
    std::uint32_t settleMs = 200;
    Remainder remainder = Remainder::Divide;
    double mflopsFactor = 1.0 / 33.0;  // MFLOPS = 1 / (time x 1/512 x factor)
    std::int64_t tickParam = 0;
    bool operator==(const MipsShape&) const = default;
};

enum class Prefetch { None, T1, ThreeDNow };

struct StreamShape {
    std::size_t doubles =
        1'000'000;  // elements of each double array; int arrays hold twice as many
    int passes = 300;
    int tickEvery = 10;
    std::uint32_t settleMs = 200;
    int aluPerIteration = 5;
    int fpuPerIteration = 10;
    Prefetch prefetch = Prefetch::None;
    bool x87Assign = false;       // test 7's Assign through the x87, not integer moves
    bool byteTableRates = false;  // rates as bytes x 1e-6 x passes / time
    Remainder remainder = Remainder::Divide;
    int arraySet = 0;  // which of the five static sets of arrays
    std::int64_t tickParam = 0;
    bool operator==(const StreamShape&) const = default;
};

struct SuiteShape {
    IntegerShape integer{};
    MatrixShape matrix{};
    PiShape pi{};
    MipsShape mips{};
    MipsShape mflops{.settleMs = 200};
    StreamShape stream{};
    bool operator==(const SuiteShape&) const = default;
};

inline constexpr SuiteShape kFullSuite{};

// Small enough for unit tests, with the same ticks and pauses as the real sizes.
inline constexpr SuiteShape kSmallSuite{
    .integer = {.passes = 10, .tickEvery = 1},
    .matrix = {.iterations = 40'000, .tickEvery = 4'000},
    .pi = {.limit = 512'000, .tickEvery = 51'200},
    .mips = {.limit = 512'000, .tickEvery = 51'200},
    .mflops = {.limit = 512'000, .tickEvery = 51'200},
    .stream = {.doubles = 4'000},
};

}  // namespace veltrane::engine

#pragma once

#include <cstddef>
#include <cstdint>

namespace veltrane::engine {

// The sizes of the timed loops. The defaults are the benchmark's own; tests
// run small instances of the same code, and one integration test the real one.

struct IntegerShape {
    int passes = 90;
    int tickEvery = 9;
    std::uint32_t settleMs = 200;
};

struct MatrixShape {
    std::int32_t iterations = 40'000'000;
    std::int32_t tickEvery = 4'000'000;
    std::uint32_t settleMs = 200;
};

struct PiShape {
    std::int32_t limit = 512'000'000;  // i runs in steps of 8 (warm-up) and 16 (series)
    std::int32_t tickEvery = 51'200'000;
    std::uint32_t settleMs = 200;
};

struct MipsShape {
    std::int32_t limit = 512'000'000;  // i runs in steps of 2
    std::int32_t tickEvery = 51'200'000;
    std::uint32_t settleMs = 200;
};

struct StreamShape {
    std::size_t doubles =
        1'000'000;  // elements of each double array; int arrays hold twice as many
    int passes = 300;
    int tickEvery = 10;
    std::uint32_t settleMs = 200;
};

struct SuiteShape {
    IntegerShape integer{};
    MatrixShape matrix{};
    PiShape pi{};
    MipsShape mips{};
    StreamShape stream{};
};

inline constexpr SuiteShape kFullSuite{};

// Small enough for unit tests, with the same tick points relative to size.
inline constexpr SuiteShape kSmallSuite{
    {18, 9, 0}, {40'000, 4'000, 0}, {512'000, 51'200, 0}, {512'000, 51'200, 0}, {4'000, 20, 10, 0},
};

}  // namespace veltrane::engine

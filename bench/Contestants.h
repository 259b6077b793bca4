#pragma once
// The contestants of veltrane-bench. Each function runs one contestant once
// and returns its work count; the caller reads the time stamp counter around it.

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/StreamBenchmark.h"
#include "engine/TestShapes.h"

namespace veltrane::bench {

using FullArrays = engine::StreamArrays<engine::kFullSuite.stream.doubles>;

inline constexpr std::size_t kArrayBytes = sizeof(double) * FullArrays::kDoubles;

// Shapes of our routines with no settle sleep and sizes for a few tenths of a
// second; the tick divisors stay those of the full run.
inline constexpr engine::MipsShape kMipsShape{
    .limit = 360'000'000, .tickEvery = 51'200'000, .settleMs = 0};
inline constexpr engine::PiShape kPiShape{
    .limit = 64'000'000, .tickEvery = 51'200'000, .settleMs = 0};
// A tick divisor beyond the count, so the run never takes the one-millisecond
// pause of the full run; the compiler then drops the never-true modulo test,
// which costs about a cycle beside the hundreds of an iteration.
inline constexpr engine::MatrixShape kMatrixShape{
    .iterations = 4'000'000, .tickEvery = 2'000'000'000, .settleMs = 0};

// --- Ours (built with the fixed flags of the timed routines) ---

struct StreamKernel {
    const char* name;
    void (*run)(FullArrays&);
    int arraysMoved;  // arrays of kArrayBytes read or written per pass
    bool integer;
};

std::span<const StreamKernel> streamKernels();

// The values the benchmark fills its arrays with; touches every page.
void fillStreamArrays(FullArrays& arrays);

// timedDivisionLoop of kMipsShape; returns iterations (limit / 2).
std::int64_t ourDivisionLoop();

// A whole PI run of kPiShape on a fresh state; returns series terms (limit).
std::int64_t ourPiRun();

// The PI warm-up loop alone, the same code as in the whole run; returns the
// series terms of that run, so its share can be subtracted per term.
std::int64_t ourPiWarmUp();

// Test 2 of kMatrixShape; returns iterations.
std::int64_t ourMatrixTest();

// The two calls of a test 2 iteration, each on its own, as many times.
std::int64_t ourRotationOnly();
std::int64_t ourMultiplyOnly();

// --- Plain loops (same fixed flags) ---

// i = 0, 2, 4, ... < limit with a signed i % divisor; counts zero remainders.
std::int64_t plainDivisionLoop(std::int32_t limit, std::int32_t divisor, std::int64_t& zeros);

// sum += sign / den; den += 2.0; sign = -sign; on registers, `terms` times.
double plainSeries(std::int32_t terms);

// A chain of register adds, each waiting for the one before: one core cycle
// per add, so it converts ticks into core cycles. Returns the adds done.
std::int64_t dependentAdds(std::int64_t iterations);

// --- Reference Triad (built for this processor, vectorised) ---

void fillReferenceArrays();
void referenceTriadDouble();  // c = 3.0 * a + b on three arrays of kArrayBytes
void referenceTriadInt();     // c = 3u * a + b on three uint32 arrays of kArrayBytes

}  // namespace veltrane::bench

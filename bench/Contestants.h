#pragma once
// The contestants of veltrane-bench. Each function runs its loop once and
// returns the units of work done; the caller reads the time stamp counter
// around it. Ours and the plain loops get the same fixed flags.

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
inline constexpr engine::MipsShape kReciprocalMipsShape{.step = 1,
                                                        .limit = 360'000'000,
                                                        .tickEvery = 51'200'000,
                                                        .settleMs = 0,
                                                        .remainder = engine::Remainder::Reciprocal};
inline constexpr engine::PiShape kPiShape{
    .limit = 32'000'000, .tickEvery = 51'200'000, .settleMs = 0};
// A tick divisor beyond the count, so the run never takes the one-millisecond
// pause of the full run; the check itself is still made every iteration.
inline constexpr engine::MatrixShape kMatrixShape{
    .iterations = 2'000'000, .tickEvery = 2'000'000'000, .settleMs = 0};
inline constexpr int kSortPasses = 3;

// One of our timed loops and the plain loop it is held against.
struct Pair {
    const char* name;
    const char* unit;
    std::int64_t (*ours)();
    std::int64_t (*plain)();
};

std::span<const Pair> pairs();

// The eight STREAM kernels of the standard form, a pass each, with the
// arrays each moves (for MB/s) and its element type.
struct StreamKernel {
    const char* name;
    void (*ours)(FullArrays&);
    void (*plain)(FullArrays&);
    int arraysMoved;
    bool integer;
};

std::span<const StreamKernel> streamKernels();
FullArrays& benchArrays();
void fillStreamArrays(FullArrays& arrays);  // the benchmark's values; touches every page

// --- Plain loops: the same operations written the obvious way ---
std::int64_t plainSortPasses();
std::int64_t plainMatrixLoop();
std::int64_t plainWarmUp();
std::int64_t plainSeries();
std::int64_t plainDivisionLoop();
std::int64_t plainReciprocalLoop();
void plainAluAssign(FullArrays& s);
void plainAluScale(FullArrays& s);
void plainAluAdd(FullArrays& s);
void plainAluTriad(FullArrays& s);
void plainFpuAssign(FullArrays& s);
void plainFpuScale(FullArrays& s);
void plainFpuAdd(FullArrays& s);
void plainFpuTriad(FullArrays& s);

// A chain of register adds, each waiting for the one before: one core cycle
// per add, so it converts ticks into core cycles. Returns the adds done.
std::int64_t dependentAdds(std::int64_t iterations);

// --- Reference Triad (built for this processor, vectorised): information ---
void fillReferenceArrays();
void referenceTriadDouble();  // c = 3.0 * a + b on three arrays of kArrayBytes
void referenceTriadInt();     // c = 3u * a + b on three uint32 arrays of kArrayBytes

}  // namespace veltrane::bench

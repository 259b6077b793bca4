// The reference Triad: the plain loop built for this processor with full
// optimisation, so the compiler vectorises it. It sets the bar for our scalar
// kernels on arrays of the same size.
#include <cstdint>

#include "Contestants.h"

namespace veltrane::bench {

namespace {

constexpr std::size_t kDoubles = kArrayBytes / sizeof(double);
constexpr std::size_t kInts = kArrayBytes / sizeof(std::uint32_t);

alignas(64) double refA[kDoubles];
alignas(64) double refB[kDoubles];
alignas(64) double refC[kDoubles];
alignas(64) std::uint32_t refIntA[kInts];
alignas(64) std::uint32_t refIntB[kInts];
alignas(64) std::uint32_t refIntC[kInts];

}  // namespace

void fillReferenceArrays() {
    for (std::size_t i = 0; i < kDoubles; ++i) {
        refA[i] = 1.0;
        refB[i] = 2.0;
        refC[i] = 0.0;
    }
    for (std::size_t i = 0; i < kInts; ++i) {
        refIntA[i] = 1u;
        refIntB[i] = 2u;
        refIntC[i] = 0u;
    }
}

[[gnu::noinline]] void referenceTriadDouble() {
    for (std::size_t i = 0; i < kDoubles; ++i) {
        refC[i] = 3.0 * refA[i] + refB[i];
    }
    // The results must reach memory however the caller uses them.
    asm volatile("" : : "r"(refC) : "memory");
}

[[gnu::noinline]] void referenceTriadInt() {
    for (std::size_t i = 0; i < kInts; ++i) {
        refIntC[i] = 3u * refIntA[i] + refIntB[i];
    }
    asm volatile("" : : "r"(refIntC) : "memory");
}

}  // namespace veltrane::bench

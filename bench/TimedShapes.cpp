// Our routines in the shapes veltrane-bench runs them in. Built with the fixed
// flags of the timed routines, so these instances compile as the real ones do.
#include <array>

#include "Contestants.h"
#include "engine/StandardSuiteImpl.h"

namespace veltrane::engine {

template double timedDivisionLoop<bench::kMipsShape>(const BenchResult&);
template void PiBenchmark<bench::kPiShape>(BenchResult&, PiState&);
template void runMatrixTest<bench::kMatrixShape>(BenchResult&);

}  // namespace veltrane::engine

namespace veltrane::bench {

namespace {

using namespace engine;

// The warm-up loop of PiBenchmark on its own, so its share of a whole run can
// be timed.
template <PiShape S>
[[gnu::noinline]] double piWarmUp(const BenchResult& record, PiState& state) {
    if (!state.started) {
        state.piSign = -state.five;
        state.piY = -state.one;
        state.started = true;
    }
    pi_detail::Series series(state);
    return timedWarmUp<S>(record, series, opaque(S.limit));
}

constexpr std::array<StreamKernel, 8> kKernels{{
    {"STREAM ALU Assign", &stream_detail::aluAssign<kFullSuite.stream, FullArrays>, 2, true},
    {"STREAM ALU Scale", &stream_detail::aluScale<kFullSuite.stream, FullArrays>, 2, true},
    {"STREAM ALU Add", &stream_detail::aluAdd<kFullSuite.stream, FullArrays>, 3, true},
    {"STREAM ALU Triad", &stream_detail::aluTriad<kFullSuite.stream, FullArrays>, 3, true},
    {"STREAM FPU Assign", &stream_detail::fpuAssign<kFullSuite.stream, FullArrays>, 2, false},
    {"STREAM FPU Scale", &stream_detail::fpuScale<kFullSuite.stream, FullArrays>, 2, false},
    {"STREAM FPU Add", &stream_detail::fpuAdd<kFullSuite.stream, FullArrays>, 3, false},
    {"STREAM FPU Triad", &stream_detail::fpuTriad<kFullSuite.stream, FullArrays>, 3, false},
}};

}  // namespace

std::span<const StreamKernel> streamKernels() {
    return kKernels;
}

void fillStreamArrays(FullArrays& arrays) {
    stream_detail::fill(arrays.aluA, 0u);
    stream_detail::fill(arrays.aluB, 2u);
    stream_detail::fill(arrays.aluC, 1u);
    stream_detail::fill(arrays.fpuA, 0.0);
    stream_detail::fill(arrays.fpuB, 2.0);
    stream_detail::fill(arrays.fpuC, 1.0);
}

std::int64_t ourDivisionLoop() {
    const BenchResult record{};
    timedDivisionLoop<kMipsShape>(record);
    return kMipsShape.limit / 2;
}

std::int64_t ourPiRun() {
    BenchResult record{};
    PiState state{};
    PiBenchmark<kPiShape>(record, state);
    return kPiShape.limit;
}

std::int64_t ourPiWarmUp() {
    const BenchResult record{};
    PiState state{};
    piWarmUp<kPiShape>(record, state);
    keepAlive(&state);
    return kPiShape.limit;
}

std::int64_t ourMatrixTest() {
    BenchResult record{};
    runMatrixTest<kMatrixShape>(record);
    return kMatrixShape.iterations;
}

std::int64_t ourRotationOnly() {
    D3DMatrix rotation;
    const float angle = matrixTestAngle();
    for (std::int32_t i = 0; i < kMatrixShape.iterations; ++i) {
        BuildRotationY(rotation, angle);
    }
    keepAlive(&rotation);
    return kMatrixShape.iterations;
}

std::int64_t ourMultiplyOnly() {
    D3DMatrix running = identityMatrix();
    D3DMatrix rotation;
    BuildRotationY(rotation, matrixTestAngle());
    for (std::int32_t i = 0; i < kMatrixShape.iterations; ++i) {
        MatrixMultiply4x4(running, rotation, running);
    }
    keepAlive(&running);
    return kMatrixShape.iterations;
}

}  // namespace veltrane::bench

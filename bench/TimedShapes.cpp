// Our routines in the shapes veltrane-bench runs them in. Built with the fixed
// flags of the timed routines, so these instances compile as the real ones do.
#include <array>

#include "Contestants.h"
#include "engine/Remainder.h"
#include "engine/StandardSuiteImpl.h"

namespace veltrane::engine {

template double timedDivisionLoop<bench::kMipsShape>(const BenchResult&);
template double timedDivisionLoop<bench::kReciprocalMipsShape>(const BenchResult&);
template double timedWarmUp<bench::kPiShape>(const BenchResult&, PiState&, std::int32_t);
template double timedSeries<bench::kPiShape>(const BenchResult&, PiState&, std::int32_t);
template void runMatrixTest<bench::kMatrixShape>(BenchResult&);

static_assert(fixedPointReciprocal(51'200'000).multiplier == 2'814'749'768 &&
                  fixedPointReciprocal(51'200'000).shift == 57,
              "the plain reciprocal loop spells out the same constants");

}  // namespace veltrane::engine

namespace veltrane::bench {

namespace {

using namespace engine;

PiState& benchSeries() {
    static PiState state = [] {
        PiState s;
        s.piSign = -5.0;
        s.piY = -1.0;
        s.piDenominator = -1.0;
        return s;
    }();
    return state;
}

std::int64_t ourSortPasses() {
    static IntegerState state;
    if (!state.table) {
        state.table = std::make_unique<SortTable>();
        fillSortTable(*state.table);
    }
    const ProgressCheck<Remainder::Divide, 9> check;
    for (int pass = 0; pass < kSortPasses; ++pass) {
        sortPass(*state.table);
        if (check.due(pass)) {
            keepAlive(state.table.get());
        }
    }
    return kSortPasses;
}

std::int64_t ourMatrixLoop() {
    BenchResult record{};
    runMatrixTest<kMatrixShape>(record);
    return kMatrixShape.iterations;
}

std::int64_t ourWarmUp() {
    timedWarmUp<kPiShape>(BenchResult{}, benchSeries(), opaque(kPiShape.limit));
    return kPiShape.limit;
}

std::int64_t ourSeries() {
    timedSeries<kPiShape>(BenchResult{}, benchSeries(), opaque(kPiShape.limit));
    return kPiShape.limit;
}

std::int64_t ourDivisionLoop() {
    timedDivisionLoop<kMipsShape>(BenchResult{});
    return kMipsShape.limit / 2;
}

std::int64_t ourReciprocalLoop() {
    timedDivisionLoop<kReciprocalMipsShape>(BenchResult{});
    return kReciprocalMipsShape.limit;
}

constexpr std::array<Pair, 6> kPairs{{
    {"Test 1 sort pass", "pass", &ourSortPasses, &plainSortPasses},
    {"Test 2 rotate + multiply", "iteration", &ourMatrixLoop, &plainMatrixLoop},
    {"Test 3 warm-up (memory)", "flip", &ourWarmUp, &plainWarmUp},
    {"Test 3 series (memory)", "term", &ourSeries, &plainSeries},
    {"Tests 4/5 idiv remainder", "iteration", &ourDivisionLoop, &plainDivisionLoop},
    {"Tests 4/5 reciprocal remainder", "iteration", &ourReciprocalLoop, &plainReciprocalLoop},
}};

constexpr StreamShape kStream = kFullSuite.stream;

constexpr std::array<StreamKernel, 8> kKernels{{
    {"STREAM ALU Assign", &stream_detail::aluAssign<kStream, FullArrays>, &plainAluAssign, 2, true},
    {"STREAM ALU Scale", &stream_detail::aluScale<kStream, FullArrays>, &plainAluScale, 2, true},
    {"STREAM ALU Add", &stream_detail::aluAdd<kStream, FullArrays>, &plainAluAdd, 3, true},
    {"STREAM ALU Triad", &stream_detail::aluTriad<kStream, FullArrays>, &plainAluTriad, 3, true},
    {"STREAM FPU Assign", &stream_detail::fpuAssign<kStream, FullArrays>, &plainFpuAssign, 2,
     false},
    {"STREAM FPU Scale", &stream_detail::fpuScale<kStream, FullArrays>, &plainFpuScale, 2, false},
    {"STREAM FPU Add", &stream_detail::fpuAdd<kStream, FullArrays>, &plainFpuAdd, 3, false},
    {"STREAM FPU Triad", &stream_detail::fpuTriad<kStream, FullArrays>, &plainFpuTriad, 3, false},
}};

}  // namespace

std::span<const Pair> pairs() {
    return kPairs;
}

std::span<const StreamKernel> streamKernels() {
    return kKernels;
}

FullArrays& benchArrays() {
    return streamArrays<FullArrays::kDoubles>();
}

void fillStreamArrays(FullArrays& arrays) {
    stream_detail::fill(arrays.aluA, 0u);
    stream_detail::fill(arrays.aluB, 2u);
    stream_detail::fill(arrays.aluC, 1u);
    stream_detail::fill(arrays.fpuA, 0.0);
    stream_detail::fill(arrays.fpuB, 2.0);
    stream_detail::fill(arrays.fpuC, 1.0);
}

}  // namespace veltrane::bench

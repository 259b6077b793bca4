// The small forms the scaling tests run, built like the benchmark's own.
#include "engine/StandardSuiteImpl.h"
#include "suites/ScalingShapes.h"

namespace veltrane::engine {

using suites::test::kScalingSmall;

template void IntegerBenchmark<kScalingSmall.integer>(BenchResult&, IntegerState&);
template void runMatrixTest<kScalingSmall.matrix>(BenchResult&);
template void PiBenchmark<kScalingSmall.pi>(BenchResult&, PiState&);
template void MipsBenchmark<kScalingSmall.mips>(BenchResult&);
template void MflopsBenchmark<kScalingSmall.mflops>(BenchResult&);
template void StreamAluBenchmark<kScalingSmall.stream>(BenchResult&,
                                                       StreamArraysFor<kScalingSmall.stream>&);
template void StreamFpuBenchmark<kScalingSmall.stream>(BenchResult&,
                                                       StreamArraysFor<kScalingSmall.stream>&);

}  // namespace veltrane::engine

// The benchmark's own instances of the timed routines. This file and the
// routines' own files are built with fixed flags whatever the build type.
#include "engine/StandardSuiteImpl.h"

namespace veltrane::engine {

template void StandardSuiteThread<kFullSuite>(BenchResult&);
template void IntegerBenchmark<kFullSuite.integer>(BenchResult&, IntegerState&);
template void runMatrixTest<kFullSuite.matrix>(BenchResult&);
template void PiBenchmark<kFullSuite.pi>(BenchResult&, PiState&);
template void MipsBenchmark<kFullSuite.mips>(BenchResult&);
template void MflopsBenchmark<kFullSuite.mflops>(BenchResult&);
template void StreamAluBenchmark<kFullSuite.stream>(BenchResult&,
                                                    StreamArraysFor<kFullSuite.stream>&);
template void StreamFpuBenchmark<kFullSuite.stream>(BenchResult&,
                                                    StreamArraysFor<kFullSuite.stream>&);

}  // namespace veltrane::engine

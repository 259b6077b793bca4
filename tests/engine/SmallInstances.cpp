#include "engine/SmallShapes.h"
#include "engine/StandardSuiteImpl.h"

namespace veltrane::engine {

using namespace veltrane::test;

template void StandardSuiteThread<kSmallSuite>(BenchResult&);
template void IntegerBenchmark<kSmallSuite.integer>(BenchResult&, IntegerState&);
template void runMatrixTest<kSmallSuite.matrix>(BenchResult&);
template void runMatrixTest<kMatrixOneTick>(BenchResult&);
template void PiBenchmark<kSmallSuite.pi>(BenchResult&, PiState&);
template void PiBenchmark<kPiTwoTerms>(BenchResult&, PiState&);
template void MipsBenchmark<kSmallSuite.mips>(BenchResult&);
template void MipsBenchmark<kMipsTwoTicks>(BenchResult&);
template void MflopsBenchmark<kSmallSuite.mflops>(BenchResult&);
template void StreamAluBenchmark<kStreamOnePass>(BenchResult&, StreamArrays<40>&);
template void StreamFpuBenchmark<kStreamOnePass>(BenchResult&, StreamArrays<40>&);
template void StreamAluBenchmark<kStreamFullPasses>(BenchResult&, StreamArrays<40>&);
template void StreamFpuBenchmark<kStreamFullPasses>(BenchResult&, StreamArrays<40>&);

}  // namespace veltrane::engine

// Small instances of the suites, built like the benchmark's own.
#include "suites/SmallSuiteShapes.h"
#include "suites/SuiteThreadsImpl.h"

namespace veltrane::suites {

template void SuiteThreadSSE<SuiteSize::Small>(engine::BenchResult&);
template void SuiteThreadSSE2<SuiteSize::Small>(engine::BenchResult&);
template void SuiteThread3DNow<SuiteSize::Small>(engine::BenchResult&);
template void SmpSuiteThread1<SuiteSize::Small>(engine::BenchResult&, SmpSync&);
template void SmpSuiteThread2<SuiteSize::Small>(engine::BenchResult&, SmpSync&);

}  // namespace veltrane::suites

namespace veltrane {

using suites::sse2Suite;
using suites::SuiteSize;
using suites::threeDNowSuite;
namespace test = suites::test;

// Forms with a tick at every step, to count their iterations.
template void engine::MipsBenchmark<test::everyStep(threeDNowSuite(SuiteSize::Small).mips)>(
    engine::BenchResult&);
template void engine::MflopsBenchmark<test::everyStep(sse2Suite(SuiteSize::Small).mflops)>(
    engine::BenchResult&);
template void engine::MipsBenchmark<test::everyStep(sse2Suite(SuiteSize::Small).mips)>(
    engine::BenchResult&);
template void engine::PiBenchmark<test::kSsePiEveryStep>(engine::BenchResult&, engine::PiState&);
template void engine::PiBenchmark<test::k3DNowPiEveryIteration>(engine::BenchResult&,
                                                                engine::PiState&);

}  // namespace veltrane

// The benchmark's own instances of the suites' timed routines. Built with
// the fixed flags of the timed routines, whatever the build type.
#include "suites/SuiteThreadsImpl.h"

namespace veltrane::suites {

template void SuiteThreadSSE<SuiteSize::Full>(engine::BenchResult&);
template void SuiteThreadSSE2<SuiteSize::Full>(engine::BenchResult&);
template void SuiteThread3DNow<SuiteSize::Full>(engine::BenchResult&);
template void SmpSuiteThread1<SuiteSize::Full>(engine::BenchResult&, SmpSync&);
template void SmpSuiteThread2<SuiteSize::Full>(engine::BenchResult&, SmpSync&);

}  // namespace veltrane::suites

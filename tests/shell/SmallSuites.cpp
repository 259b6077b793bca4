// Small instances of the suites for the window tests, built with the timed
// routines' own flags: every test and tick of a real run, in a moment.
#include "FrameTestSupport.h"
#include "suites/SuiteThreadsImpl.h"

namespace veltrane::shell::test {

suites::SuiteProcedures smallSuiteThreads() {
    using suites::SuiteSize;
    // By suite number: SSE, SSE2, 3DNow!, standard.
    static constexpr suites::SuiteThread kSingle[] = {
        &suites::SuiteThreadSSE<SuiteSize::Small>, &suites::SuiteThreadSSE2<SuiteSize::Small>,
        &suites::SuiteThread3DNow<SuiteSize::Small>,
        &engine::StandardSuiteThread<engine::kSmallSuite>};
    return {[](int suite) { return suite >= 0 && suite < 4 ? kSingle[suite] : nullptr; },
            [](engine::BenchResult& record) { suites::SmpSuiteThread1<SuiteSize::Small>(record); },
            [](engine::BenchResult& record) { suites::SmpSuiteThread2<SuiteSize::Small>(record); }};
}

}  // namespace veltrane::shell::test

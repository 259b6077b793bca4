// Small instances of the suites for the window tests, built with the timed
// routines' own flags: every test and tick of a real run, in a moment.
#include "FrameTestSupport.h"
#include "suites/SuiteThreadsImpl.h"

namespace veltrane::shell::test {

namespace {

using suites::SuiteSize;

engine::SuiteThread smallSuite(int suite) {
    switch (suite) {
        case engine::SuiteSSE:
            return &suites::SuiteThreadSSE<SuiteSize::Small>;
        case engine::SuiteSSE2:
            return &suites::SuiteThreadSSE2<SuiteSize::Small>;
        case engine::Suite3DNow:
            return &suites::SuiteThread3DNow<SuiteSize::Small>;
        case engine::SuiteStandard:
            return &engine::StandardSuiteThread<engine::kSmallSuite>;
        default:
            return nullptr;
    }
}

void smallSmpFirst(engine::BenchResult& record) {
    suites::SmpSuiteThread1<SuiteSize::Small>(record);
}

void smallSmpSecond(engine::BenchResult& record) {
    suites::SmpSuiteThread2<SuiteSize::Small>(record);
}

}  // namespace

SuiteThreadFactory smallSuiteThreads() {
    return {&smallSuite, &smallSmpFirst, &smallSmpSecond};
}

}  // namespace veltrane::shell::test

#include "suites/SuiteRegistry.h"

#include "engine/StandardSuite.h"
#include "engine/TestInfo.h"
#include "suites/SuiteThreads.h"

namespace veltrane::suites {

SuiteThread suiteThreadFor(int suite) {
    switch (suite) {
        case engine::SuiteSSE:
            return &SuiteThreadSSE<SuiteSize::Full>;
        case engine::SuiteSSE2:
            return &SuiteThreadSSE2<SuiteSize::Full>;
        case engine::Suite3DNow:
            return &SuiteThread3DNow<SuiteSize::Full>;
        case engine::SuiteStandard:
            return &engine::StandardSuiteThread<engine::kFullSuite>;
        default:
            return nullptr;
    }
}

}  // namespace veltrane::suites

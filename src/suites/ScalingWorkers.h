#pragma once

#include <memory>

#include "engine/IntegerBenchmark.h"
#include "engine/MipsBenchmark.h"
#include "engine/PiBenchmark.h"
#include "engine/StandardSuite.h"
#include "engine/StreamBenchmark.h"
#include "suites/ScalingRun.h"

namespace veltrane::suites {

// One thread's state for the standard suite's routines of shape S: the same
// instances the suite runs, each given this thread's table, series and
// arrays instead of the process-wide ones. Made on its own thread, so the
// arrays' pages are first touched where they are used.
template <engine::SuiteShape S>
class ScalingState final : public ScalingWorker {
public:
    void runTest(int test, engine::BenchResult& record) override {
        switch (test) {
            case 1:
                engine::IntegerBenchmark<S.integer>(record, integer);
                break;
            case 2:
                engine::runMatrixTest<S.matrix>(record);
                break;
            case 3:
                engine::PiBenchmark<S.pi>(record, pi);
                break;
            case 4:
                engine::MipsBenchmark<S.mips>(record);
                break;
            case 5:
                engine::MflopsBenchmark<S.mflops>(record);
                break;
            case 6:
                engine::StreamAluBenchmark<S.stream>(record, *arrays);
                break;
            case 7:
                engine::StreamFpuBenchmark<S.stream>(record, *arrays);
                break;
            default:
                break;
        }
    }

    engine::IntegerState integer;
    engine::PiState pi;
    // Filled by each memory test before it reads them.
    std::unique_ptr<engine::StreamArraysFor<S.stream>> arrays =
        std::make_unique_for_overwrite<engine::StreamArraysFor<S.stream>>();
};

template <engine::SuiteShape S>
ScalingWorkerFactory scalingWorkers() {
    return
        [](int) -> std::unique_ptr<ScalingWorker> { return std::make_unique<ScalingState<S>>(); };
}

}  // namespace veltrane::suites

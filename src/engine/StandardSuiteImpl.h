#pragma once
// Definitions of the timed templates; included only by files built with the
// fixed flags of the timed routines.

#include "engine/IntegerBenchmarkImpl.h"
#include "engine/MatrixTransform.h"
#include "engine/MipsBenchmarkImpl.h"
#include "engine/Opaque.h"
#include "engine/PiBenchmarkImpl.h"
#include "engine/StandardSuite.h"
#include "engine/StreamBenchmarkImpl.h"
#include "engine/TestInfo.h"

namespace veltrane::engine {

template <MatrixShape S>
void runMatrixTest(BenchResult& record) {
    platform::sleepMs(S.settleMs);
    D3DMatrix running = identityMatrix();
    D3DMatrix rotation;
    const float angle = matrixTestAngle();
    const float t0 = startReading();
    for (std::int32_t i = 1; i <= S.iterations; ++i) {
        BuildRotationY(rotation, angle);
        MatrixMultiply4x4(running, rotation, running);
        if (i % S.tickEvery == 0) {
            sendTick(record);
            platform::sleepMs(1);
        }
    }
    const std::uint32_t t1 = platform::timeGetTime();
    keepAlive(&running);
    const double seconds = elapsedSeconds(t0, t1, 10);
    record.floatTime = static_cast<float>(seconds);
    record.floatResult = static_cast<float>(floatScore(seconds));
}

template <SuiteShape S>
void runStandardTest(int test, BenchResult& record) {
    switch (test) {
        case 1:
            IntegerBenchmark<S.integer>(record);
            break;
        case 2:
            runMatrixTest<S.matrix>(record);
            break;
        case 3:
            PiBenchmark<S.pi>(record);
            break;
        case 4:
            MipsBenchmark<S.mips>(record);
            break;
        case 5:
            MflopsBenchmark<S.mips>(record);
            break;
        case 6:
            StreamAluBenchmark<S.stream>(record);
            break;
        case 7:
            StreamFpuBenchmark<S.stream>(record);
            break;
        default:
            break;
    }
}

template <SuiteShape S>
void StandardSuiteThread(BenchResult& record) {
    const float t0 = startReading();
    clearResultFields(record);
    for (int test = 1; test <= kTestCount; ++test) {
        if (record.fullRun == 0 && record.selected[static_cast<std::size_t>(test - 1)] == 0) {
            continue;
        }
        record.progressWindow->send(WM_THREAD_BEGIN, test, 0);
        runStandardTest<S>(test, record);
        record.progressWindow->send(WM_THREAD_END, 0, 0);
    }
    const std::uint32_t t1 = platform::timeGetTime();
    record.overallResult = record.fullRun != 0 ? overallScore(record) : 0.0f;
    record.overallTime = static_cast<float>((static_cast<double>(t1) - t0) * 0.001f);
    record.progressWindow->post(WM_BENCH_DONE, 0, 0);
}

}  // namespace veltrane::engine

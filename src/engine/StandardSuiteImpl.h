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
#include "engine/SuiteFrame.h"
#include "engine/TestInfo.h"

namespace veltrane::engine {

template <MatrixShape S>
void runMatrixTest(BenchResult& record) {
    if constexpr (S.resetBar) {
        record.progressWindow->send(PBM_SETPOS, 0, 0);
    }
    platform::sleepMs(S.settleMs);
    D3DMatrix running = identityMatrix();
    D3DMatrix rotation;
    const float angle = S.product == Product::MTimesR ? matrixTestAngle() : kMatrixTestAngle;
    const ProgressCheck<S.remainder, S.tickEvery> check;
    const float t0 = startReading();
    for (std::int32_t i = 1; i <= S.iterations; ++i) {
        BuildRotationY(rotation, angle);
        if constexpr (S.product == Product::MTimesR) {
            MatrixMultiply4x4(running, rotation, running);
        } else {
            MatrixMultiply4x4(running, running, rotation);
        }
        if (check.due(i)) {
            sendTick(record, S.tickParam);
            platform::sleepMs(1);
        }
    }
    const std::uint32_t t1 = platform::timeGetTime();
    keepAlive(&running);
    if (checkInputDamaged(2)) {
        running.m[0][0] *= 1.001f;
    }
    record.checks[1] = checkRunningRotation(running, rotation, S.iterations);
    const double seconds = elapsedSeconds(t0, t1, 10);
    record.floatTime = static_cast<float>(seconds);
    record.floatResult = static_cast<float>(floatScore(seconds));
}

// Runs test `test` in the forms of the suite S; test 2 by `MatrixTest`,
// which a suite with routines of its own for it puts in.
template <SuiteShape S, void (*MatrixTest)(BenchResult&) = &runMatrixTest<S.matrix>>
void runStandardTest(int test, BenchResult& record) {
    switch (test) {
        case 1:
            IntegerBenchmark<S.integer>(record);
            break;
        case 2:
            MatrixTest(record);
            break;
        case 3:
            PiBenchmark<S.pi>(record);
            break;
        case 4:
            MipsBenchmark<S.mips>(record);
            break;
        case 5:
            MflopsBenchmark<S.mflops>(record);
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
    runSuiteFrame<SuiteFrame{}>(record, &runStandardTest<S>, [](BenchResult&) { return true; });
}

}  // namespace veltrane::engine

#pragma once
// Definitions of the suites' timed templates; included only by files built
// with the fixed flags of the timed routines.

#include "engine/StandardSuiteImpl.h"
#include "suites/SuiteThreads.h"
#include "suites/Vector3DNow.h"

namespace veltrane::suites {

using engine::BenchResult;
using engine::SuiteFrame;

template <MatrixShape S>
void runMatrixTest3DNow(BenchResult& record) {
    record.progressWindow->send(engine::PBM_SETPOS, 0, 0);
    platform::sleepMs(S.settleMs);
    engine::D3DMatrix running = engine::identityMatrix();
    engine::D3DMatrix rotation = engine::identityMatrix();  // the constant entries, set once
    const float angle = engine::matrixTestAngle();
    const engine::ProgressCheck<S.remainder, S.tickEvery> check;
    const float t0 = engine::startReading();
    for (std::int32_t i = 1; i <= S.iterations; ++i) {
        PackedPair cs;
        SinCos3DNow(angle, &cs);
        setRotation3DNow(rotation, cs);
        MatrixMultiply3DNow(running, rotation, running);
        if (check.due(i)) {
            engine::sendTick(record, S.tickParam);
            platform::sleepMs(1);
        }
    }
    const std::uint32_t t1 = platform::timeGetTime();
    engine::keepAlive(&running);
    if (engine::checkInputDamaged(2)) {
        running.m[0][0] *= 1.001f;
    }
    record.checks[1] = engine::checkRunningRotation(running, rotation, S.iterations);
    const double seconds = engine::elapsedSeconds(t0, t1, 10);
    record.floatTime = static_cast<float>(seconds);
    record.floatResult = static_cast<float>(engine::floatScore(seconds));
}

namespace detail {

inline bool postTheEnd(BenchResult&) {
    return true;
}

// Runs test `test` in the forms of the suite S, test 2 with the 3DNow!
// routines where its form says so.
template <SuiteShape S>
void runSuiteTest(int test, BenchResult& record) {
    if constexpr (S.matrix.threeDNow) {
        engine::runStandardTest<S, &runMatrixTest3DNow<S.matrix>>(test, record);
    } else {
        engine::runStandardTest<S>(test, record);
    }
}

template <SuiteSize Z>
void runSseTest(int test, BenchResult& record) {
    if (record.fullRun != 0) {
        runSuiteTest<sseSuite(Z, true)>(test, record);
    } else {
        runSuiteTest<sseSuite(Z, false)>(test, record);
    }
}

}  // namespace detail

template <SuiteSize Z>
void SuiteThreadSSE(BenchResult& record) {
    engine::runSuiteFrame<SuiteFrame{}>(record, &detail::runSseTest<Z>, &detail::postTheEnd);
}

template <SuiteSize Z>
void SuiteThreadSSE2(BenchResult& record) {
    engine::runSuiteFrame<SuiteFrame{}>(record, &detail::runSuiteTest<sse2Suite(Z)>,
                                        &detail::postTheEnd);
}

template <SuiteSize Z>
void SuiteThread3DNow(BenchResult& record) {
    engine::runSuiteFrame<SuiteFrame{}>(record, &detail::runSuiteTest<threeDNowSuite(Z)>,
                                        &detail::postTheEnd);
}

template <SuiteSize Z>
void SmpSuiteThread1(BenchResult& record, SmpSync& sync) {
    engine::runSuiteFrame<SuiteFrame{.endWParam = 1}>(record, &detail::runSuiteTest<smpSuite(Z, 1)>,
                                                      [&sync](BenchResult&) {
                                                          sync.waitForSecond();
                                                          return true;
                                                      });
}

template <SuiteSize Z>
void SmpSuiteThread2(BenchResult& record, SmpSync& sync) {
    constexpr SuiteFrame frame{
        .lastTest = 5, .beginLParam = 1, .endWParam = 2, .overallScore = false};
    engine::runSuiteFrame<frame>(record, &detail::runSuiteTest<smpSuite(Z, 2)>,
                                 [&sync](BenchResult&) {
                                     sync.secondFinished();
                                     return false;
                                 });
}

}  // namespace veltrane::suites

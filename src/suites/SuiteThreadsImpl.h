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
    const std::int32_t modulus = engine::tickModulus<S.remainder>(S.tickEvery);
    const float t0 = engine::startReading();
    for (std::int32_t i = 1; i <= S.iterations; ++i) {
        PackedPair cs;
        SinCos3DNow(angle, &cs);
        rotation.m[0][0] = cs.lane0;
        rotation.m[0][2] = -cs.lane1;
        rotation.m[2][0] = cs.lane1;
        rotation.m[2][2] = cs.lane0;
        MatrixMultiply3DNow(running, rotation, running);
        if (i % modulus == 0) {
            engine::sendTick(record, S.tickParam);
            platform::sleepMs(1);
        }
    }
    const std::uint32_t t1 = platform::timeGetTime();
    engine::keepAlive(&running);
    const double seconds = engine::elapsedSeconds(t0, t1, 10);
    record.floatTime = static_cast<float>(seconds);
    record.floatResult = static_cast<float>(engine::floatScore(seconds));
}

namespace detail {

inline bool postTheEnd(BenchResult&) {
    return true;
}

// Runs test `test` of a suite whose forms are the given shapes.
template <IntegerShape I, PiShape P, MipsShape M4, MipsShape M5, StreamShape St>
void runCommonForms(int test, BenchResult& record) {
    switch (test) {
        case 1:
            engine::IntegerBenchmark<I>(record);
            break;
        case 3:
            engine::PiBenchmark<P>(record);
            break;
        case 4:
            engine::MipsBenchmark<M4>(record);
            break;
        case 5:
            engine::MflopsBenchmark<M5>(record);
            break;
        case 6:
            engine::StreamAluBenchmark<St>(record);
            break;
        case 7:
            engine::StreamFpuBenchmark<St>(record);
            break;
        default:
            break;
    }
}

template <SuiteSize Z>
void runSseTest(int test, BenchResult& record) {
    constexpr auto stream = sseStream(Z, 8, kSseArrays);
    if (test == 2) {
        engine::runMatrixTest<sseMatrix(Z)>(record);
    } else if (record.fullRun != 0) {
        runCommonForms<sharedOptimisedInteger(Z), ssePi(Z, kSsePi), sseMips(Z, true),
                       sseMflops(Z, true), stream>(test, record);
    } else {
        runCommonForms<sharedOptimisedInteger(Z), ssePi(Z, kSsePi), sseMips(Z, false),
                       sseMflops(Z, false), stream>(test, record);
    }
}

template <SuiteSize Z>
void runSse2Test(int test, BenchResult& record) {
    if (test == 2) {
        engine::runMatrixTest<sseMatrix(Z)>(record);
        return;
    }
    runCommonForms<sse2Integer(Z), ssePi(Z, kSse2Pi),
                   countingLoop(Z, 0, 1, 100, Remainder::Reciprocal), sse2Mflops(Z),
                   sseStream(Z, 16, kSse2Arrays)>(test, record);
}

template <SuiteSize Z>
void run3DNowTest(int test, BenchResult& record) {
    if (test == 2) {
        runMatrixTest3DNow<threeDNowMatrix(Z)>(record);
        return;
    }
    runCommonForms<sharedOptimisedInteger(Z), threeDNowPi(Z), threeDNowCounting(Z, 200),
                   threeDNowCounting(Z, 100), threeDNowStream(Z)>(test, record);
}

template <SuiteSize Z, std::int64_t Thread>
void runSmpTest(int test, BenchResult& record) {
    constexpr IntegerShape integer = Thread == 1 ? smpFirstInteger(Z) : smpSecondInteger(Z);
    if (test == 2) {
        engine::runMatrixTest<smpMatrix(Z, Thread)>(record);
        return;
    }
    runCommonForms<integer, smpPi(Z, Thread), smpCounting(Z, Thread), smpCounting(Z, Thread),
                   smpStream(Z)>(test, record);
}

}  // namespace detail

template <SuiteSize Z>
void SuiteThreadSSE(BenchResult& record) {
    engine::runSuiteFrame<SuiteFrame{}>(record, &detail::runSseTest<Z>, &detail::postTheEnd);
}

template <SuiteSize Z>
void SuiteThreadSSE2(BenchResult& record) {
    engine::runSuiteFrame<SuiteFrame{}>(record, &detail::runSse2Test<Z>, &detail::postTheEnd);
}

template <SuiteSize Z>
void SuiteThread3DNow(BenchResult& record) {
    engine::runSuiteFrame<SuiteFrame{}>(record, &detail::run3DNowTest<Z>, &detail::postTheEnd);
}

template <SuiteSize Z>
void SmpSuiteThread1(BenchResult& record, SmpSync& sync) {
    engine::runSuiteFrame<SuiteFrame{.endWParam = 1}>(record, &detail::runSmpTest<Z, 1>,
                                                      [&sync](BenchResult&) {
                                                          sync.waitForSecond();
                                                          return true;
                                                      });
}

template <SuiteSize Z>
void SmpSuiteThread2(BenchResult& record, SmpSync& sync) {
    constexpr SuiteFrame frame{
        .lastTest = 5, .beginLParam = 1, .endWParam = 2, .overallScore = false};
    engine::runSuiteFrame<frame>(record, &detail::runSmpTest<Z, 2>, [&sync](BenchResult&) {
        sync.secondFinished();
        return false;
    });
}

}  // namespace veltrane::suites

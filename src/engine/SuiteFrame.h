#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/BenchResult.h"
#include "engine/ProgressSink.h"
#include "engine/Scores.h"
#include "engine/SelfCheck.h"
#include "engine/TestInfo.h"
#include "platform/Tick.h"

namespace veltrane::engine {

// What one suite's thread procedure puts around its tests.
struct SuiteFrame {
    int lastTest = kTestCount;     // the second SMP thread stops after test 5
    std::int64_t beginLParam = 0;  // 1 for the second SMP thread
    std::int64_t endWParam = 0;    // the SMP thread number
    bool overallScore = true;      // a full run's CPUMarks from this record
};

// The driver every suite shares: start time, cleared results, the selected
// tests in order with their announcement and end, the overall score of a
// full run, the run time. `runTest(test, record)` runs one test's form;
// `finish(record)` returns whether to post WM_BENCH_DONE. A stop asked for
// between tests ends the run through the same end, with no overall score.
template <SuiteFrame F, typename RunTest, typename Finish>
void runSuiteFrame(BenchResult& record, RunTest runTest, Finish finish) {
    const float t0 = startReading();
    clearResultFields(record);
    for (int test = 1; test <= F.lastTest; ++test) {
        if (record.fullRun == 0 && record.selected[static_cast<std::size_t>(test - 1)] == 0) {
            continue;
        }
        if (record.progressWindow->stopRequested()) {
            record.stopped = true;
            break;
        }
        record.progressWindow->send(WM_THREAD_BEGIN, test, F.beginLParam);
        auto& clock = record.clocks[static_cast<std::size_t>(test - 1)];
        clock.beforeMHz = sampleEffectiveClock();
        runTest(test, record);
        clock.afterMHz = sampleEffectiveClock();
        record.progressWindow->send(WM_THREAD_END, F.endWParam, 0);
    }
    const std::uint32_t t1 = platform::timeGetTime();
    record.overallResult =
        F.overallScore && record.fullRun != 0 && !record.stopped && figuresTrusted(record)
            ? overallScore(record)
            : 0.0f;
    record.overallTime = static_cast<float>((static_cast<double>(t1) - t0) * 0.001f);
    if (finish(record)) {
        record.progressWindow->post(WM_BENCH_DONE, 0, 0);
    }
}

}  // namespace veltrane::engine

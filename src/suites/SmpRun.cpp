#include "suites/SmpRun.h"

#include "engine/RunEnd.h"
#include "engine/TestInfo.h"
#include "platform/Threads.h"
#include "suites/SuiteThreads.h"

namespace veltrane::suites {

namespace {

void firstSmpThread(engine::BenchResult& record) {
    SmpSuiteThread1<SuiteSize::Full>(record);
}
void secondSmpThread(engine::BenchResult& record) {
    SmpSuiteThread2<SuiteSize::Full>(record);
}

}  // namespace

std::optional<std::string> smpUnavailable(int processorCount) {
    if (processorCount < 2) {
        return std::string(kSmpOnlyError);
    }
    return std::nullopt;
}

SmpBenchmarkRun::SmpBenchmarkRun() {
    for (auto& record : records_) {
        engine::clearOnWindowSetup(record);
    }
}

SmpBenchmarkRun::~SmpBenchmarkRun() {
    finish();
}

bool SmpBenchmarkRun::start(const engine::RunPlan& plan, engine::ProgressSink& sink,
                            Thread firstThread, Thread secondThread) {
    if (inProgress_.exchange(true)) {
        return false;
    }
    for (auto& thread : threads_) {
        if (thread.joinable()) {
            thread.join();
        }
    }
    for (auto& record : records_) {
        record.progressWindow = &sink;
        record.fullRun = plan.fullRun ? 1 : 0;
        if (!plan.fullRun) {
            record.selected = plan.selected;
        }
        record.suite = engine::SuiteSMP;
    }
    smpSync().reset();
    const Thread procedures[2] = {firstThread != nullptr ? firstThread : &firstSmpThread,
                                  secondThread != nullptr ? secondThread : &secondSmpThread};
    for (std::size_t i = 0; i < 2; ++i) {
        threads_[i] = platform::startThread(
            platform::ThreadPriority::TimeCritical,
            [procedure = procedures[i], &record = records_[i]] { procedure(record); });
    }
    return true;
}

void SmpBenchmarkRun::finish() {
    for (auto& thread : threads_) {
        if (thread.joinable()) {
            thread.join();
        }
    }
    inProgress_.store(false);
}

void SmpBenchmarkRun::combineInto(engine::BenchResult& current) const {
    engine::combineSmpResults(current, records_[0], records_[1]);
    current.fullRun = records_[0].fullRun;
    current.suite = engine::SuiteSMP;
}

}  // namespace veltrane::suites

#include "engine/BenchmarkRun.h"

#include "engine/TestInfo.h"
#include "platform/Threads.h"

namespace veltrane::engine {

BenchmarkRun::BenchmarkRun() {
    clearOnWindowSetup(record_);
}

BenchmarkRun::~BenchmarkRun() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool BenchmarkRun::start(const RunPlan& plan, ProgressSink& sink, SuiteThread thread) {
    if (inProgress_.exchange(true)) {
        return false;
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    record_.fullRun = plan.fullRun ? 1 : 0;
    if (!plan.fullRun) {
        record_.selected = plan.selected;
    }
    record_.progressWindow = &sink;
    record_.suite = plan.suite;
    thread_ = platform::startThread(platform::ThreadPriority::TimeCritical,
                                    [this, thread] { thread(record_); });
    return true;
}

void BenchmarkRun::finish() {
    if (thread_.joinable()) {
        thread_.join();
    }
    inProgress_.store(false);
}

}  // namespace veltrane::engine

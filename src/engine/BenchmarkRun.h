#pragma once

#include <atomic>
#include <thread>

#include "engine/BenchResult.h"
#include "engine/RunRequest.h"

namespace veltrane::engine {

class ProgressSink;

using SuiteThread = void (*)(BenchResult&);

// One progress window's record and its benchmark thread. Starting a run
// while one is in progress is refused, so two threads never share a record.
class BenchmarkRun {
public:
    BenchmarkRun();
    ~BenchmarkRun();
    BenchmarkRun(const BenchmarkRun&) = delete;
    BenchmarkRun& operator=(const BenchmarkRun&) = delete;

    // Starts `thread` on the plan at time-critical priority. Returns false,
    // and changes nothing, while a run is in progress.
    bool start(const RunPlan& plan, ProgressSink& sink, SuiteThread thread);

    // The answer to WM_BENCH_DONE: the thread has posted its last message.
    void finish();

    bool inProgress() const { return inProgress_.load(); }

    // Read only while no run is in progress.
    BenchResult& record() { return record_; }
    const BenchResult& record() const { return record_; }

private:
    BenchResult record_;
    std::thread thread_;
    std::atomic<bool> inProgress_{false};
};

}  // namespace veltrane::engine

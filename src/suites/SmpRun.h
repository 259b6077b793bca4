#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "engine/BenchResult.h"
#include "engine/RunRequest.h"
#include "suites/RunSession.h"

namespace veltrane::engine {
class ProgressSink;
}

namespace veltrane::suites {

// The SMP suite needs two processors; the error text for fewer.
std::optional<std::string> smpUnavailable(int processorCount);

// The two-thread progress window's records and threads. A request while a
// run is in progress is refused.
class SmpBenchmarkRun {
public:
    using Thread = void (*)(engine::BenchResult&);

    SmpBenchmarkRun();
    ~SmpBenchmarkRun();
    SmpBenchmarkRun(const SmpBenchmarkRun&) = delete;
    SmpBenchmarkRun& operator=(const SmpBenchmarkRun&) = delete;

    // Starts both threads at time-critical priority, the first first. The
    // defaults are the suite's own thread procedures.
    bool start(const engine::RunPlan& plan, engine::ProgressSink& sink,
               Thread firstThread = nullptr, Thread secondThread = nullptr);

    // The answer to the first thread's WM_BENCH_DONE; by then the second
    // thread has ended too.
    void finish();

    bool inProgress() const { return inProgress_.load(); }
    engine::BenchResult& first() { return records_[0]; }
    engine::BenchResult& second() { return records_[1]; }

    // The combined result: scores of tests 1 to 5 summed, the rest from the
    // first thread; full run flag and suite number as the request set them.
    void combineInto(engine::BenchResult& current) const;

private:
    engine::BenchResult records_[2];
    std::thread threads_[2];
    std::atomic<bool> inProgress_{false};
};

}  // namespace veltrane::suites

#pragma once

#include <array>
#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "engine/BenchResult.h"
#include "engine/RunRequest.h"
#include "platform/Affinity.h"
#include "suites/SuiteRegistry.h"

namespace veltrane::ident {
class ProcessorIdentity;
}
namespace veltrane::engine {
class ProgressSink;
}

namespace veltrane::suites {

inline constexpr const char* kSmpOnlyError =
    "Error: This benchmark is for SMP PCs only!! Run Default Benchmark Instead of SMP Benchmark";

// The thread procedures a session starts. The program uses the suites' own;
// tests put in small ones so a whole run takes a moment.
struct SuiteProcedures {
    SuiteThread (*single)(int suite) = &suiteThreadFor;
    // nullptr: the SMP suite's own threads.
    SuiteThread smpFirst = nullptr;
    SuiteThread smpSecond = nullptr;
};

// A run request on this processor: what runs, or why nothing does.
struct SessionPlan {
    engine::RunPlan run;
    std::optional<std::string> refusal;  // the error text to show instead
};

// Every benchmark run of a front end, single-thread or SMP: its plan, its
// threads, its end and its result. A run can be started while none is in
// progress, so two threads never share a record.
class RunSession {
public:
    explicit RunSession(SuiteProcedures procedures = {});
    ~RunSession();
    RunSession(const RunSession&) = delete;
    RunSession& operator=(const RunSession&) = delete;

    // Any of the five suites: an optimised suite the processor cannot run
    // falls back to the standard one; the SMP suite needs two processors the
    // program may run on (a recorded processor's count stands for the machine).
    static SessionPlan plan(
        int suite, int mask, const ident::ProcessorIdentity& identity,
        const platform::AffinitySource& affinity = platform::nativeAffinitySource());

    // Starts the plan's threads at time-critical priority, the first first,
    // reporting to `sink`. False, and nothing changes, while a run is in
    // progress, for a refused plan, or without a procedure for its suite.
    bool start(const SessionPlan& plan, engine::ProgressSink& sink);

    // The answer to WM_BENCH_DONE: joins the run's threads (the first SMP
    // thread posts only once the second has ended) and makes the result.
    // False when no run was in progress.
    bool finish();

    bool inProgress() const { return inProgress_.load(); }

    // The last finished run's result: the thread's record, or for an SMP run
    // both records combined. `stopped` says it ended early.
    const engine::BenchResult& result() const { return result_; }
    // A thread's own record: 0 the only or first thread, 1 the second SMP
    // thread. Read only while no run is in progress.
    const engine::BenchResult& threadRecord(int thread) const;

private:
    // The first and, for the SMP suite, the second thread's procedure.
    std::array<SuiteThread, 2> proceduresFor(int suite) const;
    void join();

    SuiteProcedures procedures_;
    std::array<engine::BenchResult, 2> records_;
    std::array<std::thread, 2> threads_;
    engine::BenchResult result_;
    std::atomic<bool> inProgress_{false};
};

}  // namespace veltrane::suites

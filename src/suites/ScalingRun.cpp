#include "suites/ScalingRun.h"

#include <algorithm>
#include <barrier>
#include <chrono>
#include <new>
#include <system_error>
#include <thread>

#include "engine/ProgressSink.h"
#include "engine/RunRequest.h"
#include "platform/Affinity.h"
#include "platform/Threads.h"

namespace veltrane::suites {

namespace {

using Clock = std::chrono::steady_clock;

// A thread's ticks, passed on with its number.
class ThreadSink final : public engine::ProgressSink {
public:
    ThreadSink(ScalingEvents& events, int thread) : events_(events), thread_(thread) {}
    void send(engine::WindowMessage message, std::int64_t, std::int64_t) override {
        if (message == engine::WM_THREAD_TICK) {
            events_.tick(thread_);
        }
    }
    void post(engine::WindowMessage, std::int64_t, std::int64_t) override {}

private:
    ScalingEvents& events_;
    int thread_;
};

// One thread count: the coordinator (the caller) and the workers meet at a
// barrier before each test (to start it together) and after it (to wait for
// the slowest). A test number of 0 tells the workers to end.
class StepRun {
public:
    StepRun(int threads, const std::vector<int>& pinTo, ScalingEvents& events)
        : threads_(threads), pinTo_(pinTo), events_(events), sync_(threads + 1) {
        step_.threads = threads;
        step_.perThread.resize(static_cast<std::size_t>(threads));
        step_.processors.assign(static_cast<std::size_t>(threads), -1);
        step_.startedAt.resize(static_cast<std::size_t>(threads));
        step_.endedAt.resize(static_cast<std::size_t>(threads));
        for (int thread = 0; thread < threads; ++thread) {
            sinks_.push_back(std::make_unique<ThreadSink>(events, thread));
            engine::BenchResult& record = step_.perThread[static_cast<std::size_t>(thread)];
            record.progressWindow = sinks_.back().get();
            record.fullRun = 1;
            record.suite = engine::SuiteStandard;
        }
    }

    // Empty when every thread started and made its state; otherwise why not.
    std::string run(const ScalingWorkerFactory& workers) {
        start(workers);
        sync_.arrive_and_wait();  // every thread has its state, or knows it has none
        if (startError_.empty() && failedThreads_.load() > 0) {
            startError_ = "not enough memory for every thread's arrays";
        }
        if (startError_.empty()) {
            runTests();
        }
        test_ = 0;
        sync_.arrive_and_wait();
        for (auto& thread : workers_) {
            thread.join();
        }
        return startError_;
    }

    ScalingStep& step() { return step_; }

private:
    void start(const ScalingWorkerFactory& workers) {
        begin_ = Clock::now();
        for (int thread = 0; thread < threads_; ++thread) {
            try {
                workers_.push_back(
                    platform::startThread(platform::ThreadPriority::TimeCritical,
                                          [this, thread, &workers] { work(thread, workers); }));
            } catch (const std::system_error& error) {
                startError_ = std::string("a thread could not start: ") + error.what();
                // Those that did not start leave the barrier for good.
                for (int missing = thread; missing < threads_; ++missing) {
                    sync_.arrive_and_drop();
                }
                return;
            }
        }
    }

    void runTests() {
        for (int test = 1; test <= engine::kTestCount; ++test) {
            if (events_.stopRequested()) {
                step_.stopped = true;
                return;
            }
            test_ = test;
            events_.testBegins(threads_, test);
            sync_.arrive_and_wait();  // all start
            sync_.arrive_and_wait();  // all ended
            const auto index = static_cast<std::size_t>(test - 1);
            double first = step_.startedAt.front()[index];
            double last = 0;
            for (int thread = 0; thread < threads_; ++thread) {
                first = std::min(first, step_.startedAt[static_cast<std::size_t>(thread)][index]);
                last = std::max(last, step_.endedAt[static_cast<std::size_t>(thread)][index]);
            }
            step_.slowestSeconds[index] = last - first;
            events_.testEnds(step_, test);
        }
    }

    double now() const { return std::chrono::duration<double>(Clock::now() - begin_).count(); }

    void work(int thread, const ScalingWorkerFactory& workers) {
        const auto slot = static_cast<std::size_t>(thread);
        if (!pinTo_.empty() && platform::pinCurrentThread(pinTo_[slot])) {
            step_.processors[slot] = pinTo_[slot];
        }
        std::unique_ptr<ScalingWorker> worker;
        try {
            worker = workers(thread);
        } catch (const std::bad_alloc&) {
            ++failedThreads_;
        }
        engine::BenchResult& record = step_.perThread[slot];
        engine::clearResultFields(record);
        sync_.arrive_and_wait();
        for (;;) {
            sync_.arrive_and_wait();
            const int test = test_;
            if (test == 0) {
                return;
            }
            const auto index = static_cast<std::size_t>(test - 1);
            step_.startedAt[slot][index] = now();
            worker->runTest(test, record);
            step_.endedAt[slot][index] = now();
            sync_.arrive_and_wait();
        }
    }

    int threads_;
    const std::vector<int>& pinTo_;
    ScalingEvents& events_;
    ScalingStep step_;
    std::vector<std::unique_ptr<ThreadSink>> sinks_;
    std::vector<std::thread> workers_;
    std::barrier<> sync_;
    int test_ = 0;  // written by the coordinator between barriers only
    std::atomic<int> failedThreads_{0};
    std::string startError_;
    Clock::time_point begin_;
};

std::vector<int> firstPins(const std::vector<int>& pinTo, int threads) {
    if (pinTo.empty()) {
        return {};
    }
    return {pinTo.begin(), pinTo.begin() + std::min<std::ptrdiff_t>(threads, std::ssize(pinTo))};
}

}  // namespace

ScalingOutcome runScaling(const engine::ScalingPlan& plan, ScalingEvents& events,
                          const ScalingWorkerFactory& workers) {
    ScalingOutcome outcome;
    if (plan.refusal) {
        outcome.error = *plan.refusal;
        return outcome;
    }
    for (const int threads : plan.threadCounts) {
        events.stepBegins(threads);
        const std::vector<int> pins = firstPins(plan.pinTo, threads);
        StepRun run(threads, pins, events);
        outcome.error = run.run(workers);
        if (!outcome.error.empty()) {
            return outcome;
        }
        ScalingStep& step = run.step();
        const engine::ScalingSummary* one =
            outcome.summaries.empty() ? nullptr : &outcome.summaries.front();
        engine::ScalingSummary summary =
            engine::summariseScaling(step.perThread, step.slowestSeconds, one);
        if (step.stopped) {
            summary.multiCoreScore = 0;  // not every test ran
        }
        events.stepEnds(step, summary);
        outcome.summaries.push_back(summary);
        outcome.stopped = step.stopped;
        outcome.steps.push_back(std::move(step));
        if (outcome.stopped) {
            break;
        }
    }
    return outcome;
}

}  // namespace veltrane::suites

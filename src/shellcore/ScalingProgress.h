#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "engine/ProgressBar.h"
#include "suites/ScalingRun.h"

namespace veltrane::shell {

// One thread's row of the multi-core progress window.
struct ScalingRowView {
    std::string label;  // "Thread 3"
    engine::ProgressBar bar;
    std::string state;
};

// What the multi-core progress window shows at one moment.
struct ScalingProgressView {
    std::string heading;  // the thread count measured and the test under way
    std::vector<ScalingRowView> rows;
    bool stopping = false;
};

// Listens to a scaling run and answers the window's timer with a view.
// Ticks arrive from the timed intervals of the worker threads, so they only
// bump an atomic counter; everything else comes from the run's own thread
// and sits behind a lock that the window holds only while it copies.
class ScalingMonitor final : public suites::ScalingEvents {
public:
    // `threadCounts` are the plan's, in order: one row per thread of the largest.
    explicit ScalingMonitor(std::vector<int> threadCounts);

    void stepBegins(int threads) override;
    void testBegins(int threads, int test) override;
    void tick(int thread) override;
    void testEnds(const suites::ScalingStep& step, int test) override;
    void stepEnds(const suites::ScalingStep& step, const engine::ScalingSummary& summary) override;
    bool stopRequested() override;

    // From any thread: the run ends before its next test.
    void requestStop();
    int rowCount() const { return static_cast<int>(ticks_.size()); }
    ScalingProgressView view() const;

private:
    // Both under the lock.
    std::string rowState(int row) const;
    std::string heading() const;
    int stepThreads() const;

    std::vector<int> threadCounts_;
    std::vector<std::atomic<int>> ticks_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    int step_ = -1;  // index into threadCounts_; -1 before the first
    int test_ = 0;   // the test begun last in the step; 0 before the first
    bool testRunning_ = false;
    bool stepDone_ = false;
    bool stopped_ = false;
};

// The current-test bar after `ticks` steps from its start.
engine::ProgressBar barAfterTicks(int ticks);

}  // namespace veltrane::shell

#include "shellcore/ScalingProgress.h"

#include <algorithm>

#include "engine/TestInfo.h"
#include "platform/Format.h"

namespace veltrane::shell {

namespace {

std::string threadsText(int threads) {
    return strprintf("%d thread%s", threads, threads == 1 ? "" : "s");
}

std::string testText(int test) {
    const engine::TestInfo* info = engine::testInfo(test);
    return strprintf("test %d of %d (%s)", test, engine::kTestCount,
                     info != nullptr ? info->name : "?");
}

}  // namespace

engine::ProgressBar barAfterTicks(int ticks) {
    engine::ProgressBar bar;
    if (ticks > 0) {
        // stepIt() from the start, ticks times, wrapping past the maximum.
        const int stepsPerSweep = (bar.maximum - bar.minimum) / bar.step;
        bar.position = bar.minimum + ((ticks - 1) % stepsPerSweep + 1) * bar.step;
    }
    return bar;
}

ScalingMonitor::ScalingMonitor(std::vector<int> threadCounts)
    : threadCounts_(std::move(threadCounts)),
      ticks_(static_cast<std::size_t>(
          std::max(1, threadCounts_.empty()
                          ? 1
                          : *std::max_element(threadCounts_.begin(), threadCounts_.end())))) {}

void ScalingMonitor::stepBegins(int /*threads*/) {
    const std::lock_guard lock(mutex_);
    ++step_;
    test_ = 0;
    testRunning_ = false;
    stepDone_ = false;
}

void ScalingMonitor::testBegins(int /*threads*/, int test) {
    // The workers wait at the barrier now: no tick races the reset.
    for (auto& count : ticks_) {
        count.store(0, std::memory_order_relaxed);
    }
    const std::lock_guard lock(mutex_);
    test_ = test;
    testRunning_ = true;
}

void ScalingMonitor::tick(int thread) {
    if (thread >= 0 && static_cast<std::size_t>(thread) < ticks_.size()) {
        ticks_[static_cast<std::size_t>(thread)].fetch_add(1, std::memory_order_relaxed);
    }
}

void ScalingMonitor::testEnds(const suites::ScalingStep& /*step*/, int /*test*/) {
    const std::lock_guard lock(mutex_);
    testRunning_ = false;
}

void ScalingMonitor::stepEnds(const suites::ScalingStep& step,
                              const engine::ScalingSummary& /*summary*/) {
    const std::lock_guard lock(mutex_);
    stepDone_ = true;
    stopped_ = step.stopped;
}

bool ScalingMonitor::stopRequested() {
    return stop_.load();
}

void ScalingMonitor::requestStop() {
    stop_.store(true);
}

int ScalingMonitor::stepThreads() const {
    return step_ >= 0 && static_cast<std::size_t>(step_) < threadCounts_.size()
               ? threadCounts_[static_cast<std::size_t>(step_)]
               : 0;
}

std::string ScalingMonitor::heading() const {
    if (step_ < 0) {
        return "Starting the threads";
    }
    const std::string step = strprintf("Step %d of %zu: %s", step_ + 1, threadCounts_.size(),
                                       threadsText(stepThreads()).c_str());
    if (stopped_) {
        return step + ", stopped";
    }
    if (stepDone_) {
        return step + ", done";
    }
    return test_ == 0 ? step + ", starting" : step + ", " + testText(test_);
}

std::string ScalingMonitor::rowState(int row) const {
    if (step_ < 0) {
        return "Waiting";
    }
    if (stopped_) {
        return row < stepThreads() ? "Stopped" : "Not run";
    }
    if (row >= stepThreads()) {
        const auto later = std::find_if(threadCounts_.begin() + step_ + 1, threadCounts_.end(),
                                        [row](int threads) { return row < threads; });
        return later != threadCounts_.end() ? strprintf("Waits for the %d-thread step", *later)
                                            : std::string("Not in this step");
    }
    if (stepDone_) {
        return "Done";
    }
    if (test_ == 0) {
        return "Starting";
    }
    const engine::TestInfo* info = engine::testInfo(test_);
    const std::string name = info != nullptr ? info->name : "?";
    return testRunning_ ? "Running " + name : name + " ended";
}

ScalingProgressView ScalingMonitor::view() const {
    ScalingProgressView view;
    view.stopping = stop_.load();
    const std::lock_guard lock(mutex_);
    view.heading = heading();
    if (view.stopping && !stepDone_) {
        view.heading += " (stopping after this test)";
    }
    for (int row = 0; row < rowCount(); ++row) {
        const int ticks = ticks_[static_cast<std::size_t>(row)].load(std::memory_order_relaxed);
        view.rows.push_back({strprintf("Thread %d", row + 1),
                             row < stepThreads() ? barAfterTicks(ticks) : engine::ProgressBar{},
                             rowState(row)});
    }
    return view;
}

}  // namespace veltrane::shell

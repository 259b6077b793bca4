#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "suites/ScalingRun.h"

namespace veltrane::cli {

// One thread's progress in the current test: a bar when the test's ticks
// are known from the one-thread count (`expected` > 0), else the count.
std::string threadProgressLine(int thread, int ticks, int expected);

// The line that closes a test: its name, each thread's ticks and the
// slowest thread's time.
std::string testEndLine(int test, const std::vector<int>& ticks, double slowestSeconds);

// A scaling run on a terminal: a heading per thread count, a line per test
// and every thread's progress. Interactive, the threads' lines are redrawn
// in place while a test runs; otherwise each test ends in one line.
class ScalingProgress final : public suites::ScalingEvents {
public:
    ScalingProgress(std::ostream& out, bool interactive);
    ~ScalingProgress() override;
    ScalingProgress(const ScalingProgress&) = delete;
    ScalingProgress& operator=(const ScalingProgress&) = delete;

    void setStopCheck(bool (*check)()) { stopCheck_ = check; }

    void stepBegins(int threads) override;
    void testBegins(int threads, int test) override;
    void tick(int thread) override;
    void testEnds(const suites::ScalingStep& step, int test) override;
    bool stopRequested() override;

private:
    std::vector<int> tickCounts() const;
    void startRedraw();
    void stopRedraw();
    void draw();

    std::ostream& out_;
    bool interactive_;
    bool (*stopCheck_)() = nullptr;
    int threads_ = 0;
    int test_ = 0;
    bool firstStep_ = true;
    // Counted by the worker threads, read by whoever draws.
    std::unique_ptr<std::atomic<int>[]> ticks_;
    std::array<int, 7> expected_{};  // each test's ticks in the one-thread count
    int linesDrawn_ = 0;

    std::thread redraw_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool testRunning_ = false;
};

}  // namespace veltrane::cli

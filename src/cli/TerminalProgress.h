#pragma once

#include <condition_variable>
#include <mutex>
#include <ostream>

#include "engine/ProgressModel.h"
#include "engine/ProgressSink.h"

namespace veltrane::cli {

// The progress window on a terminal: per thread the test counter, the
// test's texts, a bar for the current test and one for the whole run. On a
// terminal the bars are redrawn in place; elsewhere each step is a plain
// line. Both threads of an SMP run may report at once.
class TerminalProgress final : public engine::ProgressSink {
public:
    TerminalProgress(std::ostream& out, bool interactive, bool twoThreads);

    void send(engine::WindowMessage message, std::int64_t wParam, std::int64_t lParam) override;
    void post(engine::WindowMessage message, std::int64_t wParam, std::int64_t lParam) override;

    // Before each run of a repeat: the bars and counters back to the start.
    void beginRun();

    // Blocks until the run has posted WM_BENCH_DONE.
    void waitForEnd();

    // Asked by the benchmark threads before each test.
    void setStopCheck(bool (*check)()) { stopRequested_ = check; }
    bool stopRequested() override;

private:
    void showBegin(int thread);
    void drawBars(int thread);

    std::ostream& out_;
    bool interactive_;
    engine::ProgressModel model_;
    bool grantShown_ = false;
    bool (*stopRequested_)() = nullptr;

    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
};

}  // namespace veltrane::cli

#pragma once

#include <condition_variable>
#include <mutex>
#include <ostream>

#include "engine/ProgressBar.h"
#include "engine/ProgressSink.h"

namespace veltrane::cli {

// The progress window on a terminal: the test counter, the test's texts, a
// bar for the current test and one for the whole run. On a terminal the bars
// are redrawn in place; elsewhere each step is a plain line.
class TerminalProgress final : public engine::ProgressSink {
public:
    TerminalProgress(std::ostream& out, bool interactive);

    void send(engine::WindowMessage message, std::int64_t wParam, std::int64_t lParam) override;
    void post(engine::WindowMessage message, std::int64_t wParam, std::int64_t lParam) override;

    // Blocks until the run has posted WM_BENCH_DONE.
    void waitForEnd();

    // Called after each test ends; returning true stops the program there.
    void setStopCheck(bool (*stopRequested)()) { stopRequested_ = stopRequested; }

private:
    void begin(std::int64_t test);
    void tick();
    void end();
    void drawBars();

    std::ostream& out_;
    bool interactive_;
    int testsBegun_ = 0;
    int overallPercent_ = 0;
    engine::ProgressBar current_{0, 100, 10, 0};
    engine::ProgressBar overall_{0, 7, 1, 0};
    bool grantShown_ = false;
    bool (*stopRequested_)() = nullptr;

    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
};

}  // namespace veltrane::cli

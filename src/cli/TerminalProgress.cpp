#include "cli/TerminalProgress.h"

#include <cstdlib>

#include "cli/ExitCodes.h"
#include "engine/TestInfo.h"
#include "platform/Format.h"
#include "platform/Threads.h"

namespace veltrane::cli {

namespace {

constexpr int kBarWidth = 20;
constexpr int kPercentPerTest = 14;

std::string bar(const engine::ProgressBar& b) {
    const int filled = (b.position - b.minimum) * kBarWidth / (b.maximum - b.minimum);
    return std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(kBarWidth - filled), '.');
}

}  // namespace

TerminalProgress::TerminalProgress(std::ostream& out, bool interactive)
    : out_(out), interactive_(interactive) {}

void TerminalProgress::send(engine::WindowMessage message, std::int64_t wParam, std::int64_t) {
    switch (message) {
        case engine::WM_THREAD_BEGIN:
            begin(wParam);
            break;
        case engine::WM_THREAD_TICK:
            tick();
            break;
        case engine::WM_THREAD_END:
            end();
            break;
        default:
            break;
    }
}

void TerminalProgress::post(engine::WindowMessage message, std::int64_t, std::int64_t) {
    if (message != engine::WM_BENCH_DONE) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        done_ = true;
    }
    ended_.notify_all();
}

void TerminalProgress::waitForEnd() {
    std::unique_lock lock(mutex_);
    ended_.wait(lock, [this] { return done_; });
}

void TerminalProgress::begin(std::int64_t test) {
    if (!grantShown_) {
        out_ << platform::timeCriticalGrantText(platform::timeCriticalGrant()) << '\n';
        grantShown_ = true;
    }
    ++testsBegun_;
    current_.reset();
    out_ << strprintf("\nNow processing thread %d of 7 \n", testsBegun_);
    if (const auto* info = engine::testInfo(static_cast<int>(test))) {
        out_ << "  " << info->name << "  [" << info->unit << "]\n  " << info->description << '\n';
    }
    drawBars();
}

void TerminalProgress::tick() {
    current_.stepIt();
    drawBars();
}

void TerminalProgress::end() {
    overall_.stepIt();
    overallPercent_ += kPercentPerTest;
    drawBars();
    if (interactive_) {
        out_ << '\n';
    }
    out_.flush();
    if (stopRequested_ != nullptr && stopRequested_()) {
        out_ << "Interrupted: stopped after this thread; no result is written.\n";
        out_.flush();
        std::_Exit(kExitInterrupted);
    }
}

void TerminalProgress::drawBars() {
    const std::string line =
        strprintf("  thread [%s] %3d %%   overall [%s] %3d %%", bar(current_).c_str(),
                  current_.position, bar(overall_).c_str(), overallPercent_);
    if (interactive_) {
        out_ << '\r' << line;
        out_.flush();
    } else {
        out_ << line << '\n';
    }
}

}  // namespace veltrane::cli

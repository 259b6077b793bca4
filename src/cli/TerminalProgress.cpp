#include "cli/TerminalProgress.h"

#include "platform/Format.h"
#include "platform/Threads.h"

namespace veltrane::cli {

namespace {

constexpr int kBarWidth = 20;

std::string bar(const engine::ProgressBar& b) {
    const int filled = (b.position - b.minimum) * kBarWidth / (b.maximum - b.minimum);
    return std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(kBarWidth - filled), '.');
}

std::string barsText(const engine::ThreadProgress& view) {
    return strprintf("[%s] %5s   overall [%s] %5s", bar(view.current).c_str(),
                     engine::ProgressModel::percentText(view.current.position).c_str(),
                     bar(view.overall).c_str(),
                     engine::ProgressModel::percentText(view.overallPercent).c_str());
}

}  // namespace

TerminalProgress::TerminalProgress(std::ostream& out, bool interactive, bool twoThreads)
    : out_(out), interactive_(interactive), model_(twoThreads) {}

void TerminalProgress::send(engine::WindowMessage message, std::int64_t wParam,
                            std::int64_t lParam) {
    std::lock_guard lock(mutex_);
    const int thread = model_.apply(message, wParam, lParam);
    if (thread < 0) {
        return;
    }
    if (message == engine::WM_THREAD_BEGIN) {
        showBegin(thread);
    }
    drawBars(thread);
}

void TerminalProgress::post(engine::WindowMessage message, std::int64_t, std::int64_t) {
    if (message != engine::WM_BENCH_DONE) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        done_ = true;
        if (interactive_) {
            out_ << '\n';
        }
    }
    ended_.notify_all();
}

void TerminalProgress::beginRun() {
    std::lock_guard lock(mutex_);
    model_.reset();
    done_ = false;
}

void TerminalProgress::waitForEnd() {
    std::unique_lock lock(mutex_);
    ended_.wait(lock, [this] { return done_; });
}

void TerminalProgress::showBegin(int thread) {
    if (!grantShown_) {
        out_ << platform::timeCriticalGrantText(platform::timeCriticalGrant()) << '\n';
        grantShown_ = true;
    }
    const auto& view = model_.thread(thread);
    const std::string who = model_.twoThreads() ? strprintf("Thread %d: ", thread + 1) : "";
    out_ << (interactive_ ? "\n" : "") << '\n'
         << who << strprintf("Now processing thread %d of 7 \n", view.testsBegun);
    if (!view.name.empty()) {
        out_ << "  " << view.name << "  [" << view.unit << "]\n";
    }
    out_ << "  " << view.description << '\n';
    if (model_.twoThreads() && thread == 0 &&
        model_.thread(1).description == engine::kSecondThreadStopped) {
        out_ << "Thread 2: " << engine::kSecondThreadStopped << '\n';
    }
}

void TerminalProgress::drawBars(int thread) {
    std::string line;
    if (!model_.twoThreads()) {
        line = "  thread " + barsText(model_.thread(0));
    } else if (interactive_) {
        line = "  1 " + barsText(model_.thread(0)) + "  |  2 " + barsText(model_.thread(1));
    } else {
        line = strprintf("  %d ", thread + 1) + barsText(model_.thread(thread));
    }
    if (interactive_) {
        out_ << '\r' << line;
    } else {
        out_ << line << '\n';
    }
    out_.flush();
}

bool TerminalProgress::stopRequested() {
    return stopRequested_ != nullptr && stopRequested_();
}

}  // namespace veltrane::cli

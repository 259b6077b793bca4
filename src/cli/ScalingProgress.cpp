#include "cli/ScalingProgress.h"

#include <algorithm>
#include <chrono>

#include "engine/ScalingFigures.h"
#include "engine/TestInfo.h"
#include "platform/Format.h"

namespace veltrane::cli {

namespace {

constexpr int kBarWidth = 20;
// More threads than this are summed up in one line while they run.
constexpr int kLinesShown = 16;
constexpr auto kRedrawEvery = std::chrono::milliseconds(250);

std::string testName(int test) {
    const engine::TestInfo* info = engine::testInfo(test);
    return info != nullptr ? info->name : strprintf("test %d", test);
}

}  // namespace

std::string threadProgressLine(int thread, int ticks, int expected) {
    if (expected <= 0) {
        return strprintf("  thread %-4d %d ticks", thread + 1, ticks);
    }
    const int percent = std::clamp(ticks * 100 / expected, 0, 100);
    const int filled = percent * kBarWidth / 100;
    return strprintf("  thread %-4d [%s%s] %3d %%", thread + 1,
                     std::string(static_cast<std::size_t>(filled), '#').c_str(),
                     std::string(static_cast<std::size_t>(kBarWidth - filled), '.').c_str(),
                     percent);
}

std::string testEndLine(int test, const std::vector<int>& ticks, double slowestSeconds) {
    std::string line =
        strprintf("  %d %-28s done %7.2f s  ticks", test, testName(test).c_str(), slowestSeconds);
    for (std::size_t thread = 0; thread < ticks.size(); ++thread) {
        line += strprintf(" %zu:%d", thread + 1, ticks[thread]);
    }
    return line;
}

ScalingProgress::ScalingProgress(std::ostream& out, bool interactive)
    : out_(out), interactive_(interactive) {}

ScalingProgress::~ScalingProgress() {
    stopRedraw();
}

void ScalingProgress::stepBegins(int threads) {
    threads_ = threads;
    ticks_ = std::make_unique<std::atomic<int>[]>(static_cast<std::size_t>(threads));
    out_ << '\n'
         << (threads == 1 ? std::string("1 thread") : strprintf("%d threads at once", threads))
         << '\n';
    out_.flush();
}

void ScalingProgress::testBegins(int, int test) {
    test_ = test;
    for (int thread = 0; thread < threads_; ++thread) {
        ticks_[static_cast<std::size_t>(thread)].store(0, std::memory_order_relaxed);
    }
    if (interactive_) {
        out_ << strprintf("  %d %s\n", test, testName(test).c_str());
        linesDrawn_ = 0;
        draw();
        startRedraw();
    }
}

void ScalingProgress::tick(int thread) {
    ticks_[static_cast<std::size_t>(thread)].fetch_add(1, std::memory_order_relaxed);
}

std::vector<int> ScalingProgress::tickCounts() const {
    std::vector<int> counts;
    for (int thread = 0; thread < threads_; ++thread) {
        counts.push_back(ticks_[static_cast<std::size_t>(thread)].load(std::memory_order_relaxed));
    }
    return counts;
}

void ScalingProgress::testEnds(const suites::ScalingStep& step, int test) {
    const auto index = static_cast<std::size_t>(test - 1);
    if (interactive_) {
        stopRedraw();
        draw();
        out_ << strprintf("    done in %.2f s (the slowest thread)\n", step.slowestSeconds[index]);
    } else {
        out_ << testEndLine(test, tickCounts(), step.slowestSeconds[index]) << '\n';
    }
    out_.flush();
    if (firstStep_) {
        const auto counts = tickCounts();
        expected_[index] = counts.empty() ? 0 : *std::max_element(counts.begin(), counts.end());
    }
    firstStep_ = firstStep_ && test < engine::kTestCount;
}

bool ScalingProgress::stopRequested() {
    return stopCheck_ != nullptr && stopCheck_();
}

// Moves back over the lines drawn before and draws them anew.
void ScalingProgress::draw() {
    std::string text = linesDrawn_ > 0 ? strprintf("\x1b[%dA", linesDrawn_) : std::string();
    const auto counts = tickCounts();
    const int expected = firstStep_ ? 0 : expected_[static_cast<std::size_t>(test_ - 1)];
    const int shown = std::min(threads_, kLinesShown);
    for (int thread = 0; thread < shown; ++thread) {
        text += "\r" +
                threadProgressLine(thread, counts[static_cast<std::size_t>(thread)], expected) +
                "\x1b[K\n";
    }
    int lines = shown;
    if (threads_ > shown) {
        const auto [least, most] = std::minmax_element(counts.begin() + shown, counts.end());
        text += strprintf("\r  threads %d to %d: %d to %d ticks\x1b[K\n", shown + 1, threads_,
                          *least, *most);
        ++lines;
    }
    linesDrawn_ = lines;
    out_ << text;
    out_.flush();
}

void ScalingProgress::startRedraw() {
    {
        const std::lock_guard lock(mutex_);
        testRunning_ = true;
    }
    redraw_ = std::thread([this] {
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, kRedrawEvery, [this] { return !testRunning_; })) {
            draw();
        }
    });
}

void ScalingProgress::stopRedraw() {
    if (!redraw_.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        testRunning_ = false;
    }
    wake_.notify_all();
    redraw_.join();
}

}  // namespace veltrane::cli

#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "engine/ProgressSink.h"

namespace veltrane::test {

struct RecordedMessage {
    engine::WindowMessage message;
    std::int64_t wParam;
    std::int64_t lParam;
    bool posted;
    bool operator==(const RecordedMessage&) const = default;
};

// Keeps every message a benchmark thread sends or posts, in order.
class RecordingSink final : public engine::ProgressSink {
public:
    void send(engine::WindowMessage message, std::int64_t wParam, std::int64_t lParam) override {
        record({message, wParam, lParam, false});
    }
    void post(engine::WindowMessage message, std::int64_t wParam, std::int64_t lParam) override {
        record({message, wParam, lParam, true});
    }
    // Asks the run to stop once `tests` tests have ended (of any thread).
    void stopAfter(int tests) { stopAfter_ = tests; }
    bool stopRequested() override {
        return stopAfter_ >= 0 && count(engine::WM_THREAD_END) >= stopAfter_;
    }

    std::vector<RecordedMessage> messages() const {
        std::lock_guard lock(mutex_);
        return messages_;
    }

    // How many of `message` came, with these parameters when given.
    int count(engine::WindowMessage message, std::optional<std::int64_t> wParam = {},
              std::optional<std::int64_t> lParam = {}) const {
        int n = 0;
        for (const auto& m : messages()) {
            n += m.message == message && wParam.value_or(m.wParam) == m.wParam &&
                 lParam.value_or(m.lParam) == m.lParam;
        }
        return n;
    }

    // Ticks between each WM_THREAD_BEGIN and its WM_THREAD_END, in run order.
    std::vector<int> ticksPerTest() const {
        std::vector<int> ticks;
        for (const auto& m : messages()) {
            if (m.message == engine::WM_THREAD_BEGIN) {
                ticks.push_back(0);
            } else if (m.message == engine::WM_THREAD_TICK && !ticks.empty()) {
                ++ticks.back();
            }
        }
        return ticks;
    }

    void waitForPost() {
        std::unique_lock lock(mutex_);
        posted_.wait(lock, [this] {
            return std::ranges::any_of(messages_, [](const auto& m) { return m.posted; });
        });
    }

private:
    void record(const RecordedMessage& m) {
        {
            std::lock_guard lock(mutex_);
            messages_.push_back(m);
        }
        if (m.posted) {
            posted_.notify_all();
        }
    }

    std::atomic<int> stopAfter_{-1};
    mutable std::mutex mutex_;
    std::condition_variable posted_;
    std::vector<RecordedMessage> messages_;
};

}  // namespace veltrane::test

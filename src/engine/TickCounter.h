#pragma once

#include <cstdint>

#include "engine/BenchResult.h"
#include "engine/ProgressSink.h"
#include "engine/SelfCheck.h"

namespace veltrane::engine {

// Stands between a test and the record's progress window while the test
// runs, counting the ticks it sends; the window gets every message as before.
class TickCounter final : public ProgressSink {
public:
    explicit TickCounter(BenchResult& record) : record_(record), window_(record.progressWindow) {
        record_.progressWindow = this;
    }
    ~TickCounter() override { record_.progressWindow = window_; }
    TickCounter(const TickCounter&) = delete;
    TickCounter& operator=(const TickCounter&) = delete;

    void send(WindowMessage message, std::int64_t wParam, std::int64_t lParam) override {
        ticks_ += message == WM_THREAD_TICK ? 1 : 0;
        if (window_ != nullptr) {
            window_->send(message, wParam, lParam);
        }
    }
    void post(WindowMessage message, std::int64_t wParam, std::int64_t lParam) override {
        if (window_ != nullptr) {
            window_->post(message, wParam, lParam);
        }
    }
    bool stopRequested() override { return window_ != nullptr && window_->stopRequested(); }

    // The ticks counted against those expected, for test `test`.
    TestCheck check(std::int64_t expected, int test) const {
        return checkTicks(ticks_ + (checkInputDamaged(test) ? 1 : 0), expected);
    }

private:
    BenchResult& record_;
    ProgressSink* window_;
    std::int64_t ticks_ = 0;
};

}  // namespace veltrane::engine

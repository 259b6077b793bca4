#pragma once

#include <cstdint>
#include <string>

#include "engine/Messages.h"
#include "engine/ProgressBar.h"

namespace veltrane::engine {

// What a progress window shows of one benchmark thread.
struct ThreadProgress {
    int testsBegun = 0;  // the counter between "Now processing thread" and "of 7 "
    ProgressBar current{0, 100, 10, 0};
    ProgressBar overall{0, 7, 1, 0};
    int overallPercent = 0;
    std::string name;
    std::string unit;
    std::string description;
};

// The progress windows' answers to the benchmark threads' messages, without
// a window: the single-thread window, or the two-thread one of the SMP suite
// (thread numbers in the messages, the second thread's five tests).
class ProgressModel {
public:
    explicit ProgressModel(bool twoThreads);

    // Applies one message; returns the index (0 or 1) of the thread whose
    // view changed, or -1 for a message that changes nothing.
    int apply(WindowMessage message, std::int64_t wParam, std::int64_t lParam);

    // The window was shown or hidden: bars and counters back to the start.
    void reset();

    bool twoThreads() const { return twoThreads_; }
    const ThreadProgress& thread(int index) const { return threads_[index == 0 ? 0 : 1]; }

    // "%d %c" of a percentage and '%'.
    static std::string percentText(int percent);

private:
    int begin(std::int64_t test, std::int64_t lParam);
    int threadOf(std::int64_t wParam) const;

    bool twoThreads_;
    ThreadProgress threads_[2];
};

inline constexpr const char* kSecondThreadStopped = "THREAD 2 STOPPED; WAIT FOR RAM TEST RESULTS";

}  // namespace veltrane::engine

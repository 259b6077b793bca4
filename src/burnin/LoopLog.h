#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "burnin/LoopClock.h"
#include "burnin/LoopNotices.h"
#include "burnin/LoopSettings.h"
#include "burnin/LoopTexts.h"
#include "ident/ExtendedCpuPage.h"
#include "platform/Threads.h"

namespace veltrane::burnin {

// What the progress window shows: the log rows, the two bars, the status
// texts and the button caption. The window (or the CLI) feeds it the
// notices and shows what it holds.
class LoopLog {
public:
    static constexpr std::int32_t kBarMax = 10;

    // Starting a loop: an empty log, both bars at 0, the status texts.
    void start(const LoopSettings& settings, platform::ThreadPriority priority,
               const ClockTime& now);
    void handle(LoopNotice notice, std::int64_t wParam, std::int64_t lParam, const ClockTime& now);
    void finish() { caption_ = kCloseButtonCaption; }

    const std::vector<std::string>& rows() const { return rows_; }
    const LoopStatusTexts& status() const { return status_; }
    const std::string& caption() const { return caption_; }
    std::int32_t overallBar() const { return overallBar_; }
    std::int32_t currentBar() const { return currentBar_; }
    std::int32_t cycleCount() const { return cycleCount_; }
    std::int64_t unitsStarted() const { return unitsStarted_; }
    std::int64_t failedUnits() const { return failedUnits_; }

private:
    void addRow(std::string text);
    void unitBegin(const ClockTime& now);
    void unitEnd(bool matched, std::int64_t failedSoFar, const ClockTime& now);

    std::vector<std::string> rows_;
    LoopStatusTexts status_;
    std::string caption_;
    std::int32_t overallBar_ = 0;
    std::int32_t currentBar_ = 0;
    std::int32_t cycleCount_ = 0;
    std::int64_t unitsStarted_ = 0;
    std::int64_t failedUnits_ = 0;
};

// "Run Mode:", "Priority:", "Starting At:", "Stop At:" as rows for a window or
// the CLI.
std::vector<ident::LabelledValue> loopStatusRows(const LoopLog& log);

// A sink that keeps a LoopLog up to date from the loop thread itself, for the
// CLI and tests; readers take a copy with `snapshot`.
class LoopLogSink : public LoopNoticeSink {
public:
    explicit LoopLogSink(LoopClock& clock) : clock_(clock) {}
    void loopStarting(const LoopSettings& settings, platform::ThreadPriority priority) override;
    void send(LoopNotice notice, std::int64_t wParam, std::int64_t lParam) override;
    void loopFinished() override;
    LoopLog snapshot() const;

private:
    LoopClock& clock_;
    mutable std::mutex mutex_;
    LoopLog log_;
};

}  // namespace veltrane::burnin

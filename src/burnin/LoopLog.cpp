#include "burnin/LoopLog.h"

#include <utility>

namespace veltrane::burnin {

namespace {

// A progress bar stepped past its top starts again from the bottom.
std::int32_t stepBar(std::int32_t position) {
    return position >= LoopLog::kBarMax ? 1 : position + 1;
}

}  // namespace

void LoopLog::start(const LoopSettings& settings, platform::ThreadPriority priority,
                    const ClockTime& now) {
    *this = LoopLog();
    status_ = loopStatusTexts(settings, priority, now);
    caption_ = kStopButtonCaption;
}

void LoopLog::handle(LoopNotice notice, std::int64_t wParam, std::int64_t lParam,
                     const ClockTime& now) {
    switch (notice) {
        case WM_THREAD_TICK:
            currentBar_ = stepBar(currentBar_);
            break;
        case WM_LOOP_UNIT_BEGIN:
            unitBegin(now);
            break;
        case WM_LOOP_UNIT_END:
            unitEnd(wParam == 0, lParam, now);
            break;
    }
}

void LoopLog::addRow(std::string text) {
    rows_.push_back(std::move(text));
    rows_.emplace_back();
}

void LoopLog::unitBegin(const ClockTime& now) {
    if (unitsStarted_ % kBarMax == 0) {
        ++cycleCount_;
        addRow(loopCycleRow(cycleCount_));
    }
    ++unitsStarted_;
    addRow(unitStartRow(now));
    overallBar_ = stepBar(overallBar_);
}

void LoopLog::unitEnd(bool matched, std::int64_t failedSoFar, const ClockTime& now) {
    if (matched) {
        addRow(unitEndRow(now));
        return;
    }
    failedUnits_ = failedSoFar;
    addRow(unitFailedRow(now, failedSoFar));
}

std::vector<ident::LabelledValue> loopStatusRows(const LoopLog& log) {
    const LoopStatusTexts& s = log.status();
    return {{"Run Mode:", s.runMode, true},
            {"Priority:", s.priority, true},
            {"Starting At:", s.startingAt, true},
            {"Stop At:", s.stopAt, true}};
}

void LoopLogSink::loopStarting(const LoopSettings& settings, platform::ThreadPriority priority) {
    const ClockTime now = clock_.now();
    std::lock_guard lock(mutex_);
    log_.start(settings, priority, now);
}

void LoopLogSink::send(LoopNotice notice, std::int64_t wParam, std::int64_t lParam) {
    const ClockTime now = clock_.now();
    std::lock_guard lock(mutex_);
    log_.handle(notice, wParam, lParam, now);
}

void LoopLogSink::loopFinished() {
    std::lock_guard lock(mutex_);
    log_.finish();
}

LoopLog LoopLogSink::snapshot() const {
    std::lock_guard lock(mutex_);
    return log_;
}

}  // namespace veltrane::burnin

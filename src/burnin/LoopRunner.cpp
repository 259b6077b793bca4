#include "burnin/LoopRunner.h"

#include <algorithm>
#include <memory>

#include "platform/Tick.h"

namespace veltrane::burnin {

namespace {

constexpr std::int64_t kUnitsPerCycle = 10;

std::vector<std::int32_t> resultOf(const LoopMatrices& m) {
    const std::int32_t* first = &m.result[0][0];
    return {first, first + kLoopMatrixSize * kLoopMatrixSize};
}

}  // namespace

std::vector<std::int32_t> expectedLoopResult() {
    auto m = std::make_unique<LoopMatrices>();
    initLoopOperands(*m);
    for (std::int32_t j = 0; j < kLoopMatrixSize; ++j) {
        std::uint32_t sum = 0;
        for (std::int32_t k = 0; k < kLoopMatrixSize; ++k) {
            sum += static_cast<std::uint32_t>(m->b[j][k]) * static_cast<std::uint32_t>(m->a[k][j]);
        }
        std::fill_n(m->result[j], kLoopMatrixSize, static_cast<std::int32_t>(sum));
    }
    return resultOf(*m);
}

LoopRunner::LoopRunner(LoopClock& clock, LoopUnitFn unit, LoopTiming timing, LoopMatrices& matrices)
    : clock_(clock), unit_(unit), timing_(timing), matrices_(matrices) {}

LoopRunner::~LoopRunner() {
    requestStop();
    wait();
}

bool LoopRunner::start(const LoopSettings& settings, platform::ThreadPriority priority,
                       LoopNoticeSink& sink) {
    if (active_.load()) {
        return false;
    }
    wait();
    sink.loopStarting(settings, priority);
    unitsRun_.store(0);
    failedUnits_.store(0);
    running_.store(true);
    active_.store(true);
    thread_ =
        platform::startThread(priority, [this, settings, &sink] { loopMain(settings, sink); });
    return true;
}

void LoopRunner::wait() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void LoopRunner::loopMain(LoopSettings settings, LoopNoticeSink& sink) {
    platform::sleepMs(timing_.startDelayMs);
    const std::vector<std::int32_t> expected = expectedLoopResult();
    bool finishedByItself = false;
    while (goOn(settings, finishedByItself)) {
        runUnit(sink, expected);
        if (running_.load() && stopTimeReached(settings)) {
            finishedByItself = true;
            break;
        }
    }
    if (finishedByItself) {
        sink.loopFinished();
    }
    active_.store(false);
}

bool LoopRunner::goOn(const LoopSettings& settings, bool& finishedByItself) const {
    if (!running_.load()) {
        return false;
    }
    if (settings.mode == LoopMode::Repeat &&
        unitsRun_.load() >= kUnitsPerCycle * settings.repeatCycles) {
        finishedByItself = true;
        return false;
    }
    return true;
}

bool LoopRunner::stopTimeReached(const LoopSettings& settings) {
    if (settings.mode != LoopMode::StopAtTime) {
        return false;
    }
    const ClockTime now = clock_.now();
    return now.hour == settings.stopHour && now.minute == settings.stopMinute;
}

void LoopRunner::runUnit(LoopNoticeSink& sink, const std::vector<std::int32_t>& expected) {
    sink.send(WM_LOOP_UNIT_BEGIN, 0, 0);
    platform::sleepMs(timing_.noticePauseMs);
    unit_(matrices_, sink);
    if (hook_) {
        hook_(unitsRun_.load(), matrices_);
    }
    const bool matched = resultOf(matrices_) == expected;
    const std::int64_t failed = matched ? failedUnits_.load() : ++failedUnits_;
    ++unitsRun_;
    sink.send(WM_LOOP_UNIT_END, matched ? 0 : 1, failed);
    platform::sleepMs(timing_.noticePauseMs);
}

}  // namespace veltrane::burnin

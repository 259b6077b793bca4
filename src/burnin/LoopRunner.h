#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "burnin/LoopClock.h"
#include "burnin/LoopNotices.h"
#include "burnin/LoopSettings.h"
#include "burnin/LoopUnit.h"
#include "platform/Threads.h"

namespace veltrane::burnin {

inline constexpr const char* kLoopBusyText =
    "The previous loop is still running or finishing its current unit. Stop it, wait a moment "
    "and press Start! again.";
inline constexpr const char* kLoopBusyTitle = "Veltrane Warning";

// The loop thread's pauses: before the first unit, and after each unit's
// begin and end notices.
struct LoopTiming {
    std::uint32_t startDelayMs = 500;
    std::uint32_t noticePauseMs = 10;
};

// Runs the burn-in loop on its own thread. Each unit's result is compared
// with the value computed once when the loop starts; a unit that differs is
// reported as failed and counted. One runner per program: the units share
// the process-wide matrices.
class LoopRunner {
public:
    // Called after a unit's passes and before its check, with the unit's
    // index from 0: lets a test damage a result on purpose.
    using ResultHook = std::function<void(std::int64_t unit, LoopMatrices& m)>;

    explicit LoopRunner(LoopClock& clock = systemLoopClock(), LoopUnitFn unit = standardLoopUnit(),
                        LoopTiming timing = {}, LoopMatrices& matrices = loopMatrices());
    ~LoopRunner();
    LoopRunner(const LoopRunner&) = delete;
    LoopRunner& operator=(const LoopRunner&) = delete;

    // Starts a loop, or refuses (false: show kLoopBusyText) while the last
    // one still runs or is finishing its unit.
    bool start(const LoopSettings& settings, platform::ThreadPriority priority,
               LoopNoticeSink& sink);
    // Takes effect between units; returns at once.
    void requestStop() { running_.store(false); }
    bool finishing() const { return active_.load(); }
    // Waits for the loop thread to end (after a stop request or its own end).
    void wait();
    // Set only while no loop runs.
    void setResultHook(ResultHook hook) { hook_ = std::move(hook); }

    std::int64_t unitsRun() const { return unitsRun_.load(); }
    std::int64_t failedUnits() const { return failedUnits_.load(); }

private:
    void loopMain(LoopSettings settings, LoopNoticeSink& sink);
    void runUnit(LoopNoticeSink& sink, const std::vector<std::int32_t>& expected);
    bool goOn(const LoopSettings& settings, bool& finishedByItself) const;
    bool stopTimeReached(const LoopSettings& settings);

    LoopClock& clock_;
    LoopUnitFn unit_;
    LoopTiming timing_;
    LoopMatrices& matrices_;
    ResultHook hook_;
    std::atomic<bool> running_{false};
    std::atomic<bool> active_{false};
    std::atomic<std::int64_t> unitsRun_{0};
    std::atomic<std::int64_t> failedUnits_{0};
    std::thread thread_;
};

// R as a unit leaves it, computed directly from the operands (every pass
// stores the same values, so one is enough).
std::vector<std::int32_t> expectedLoopResult();

}  // namespace veltrane::burnin

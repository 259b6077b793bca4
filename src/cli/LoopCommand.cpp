#include "cli/LoopCommand.h"

#include <chrono>
#include <mutex>
#include <thread>
#include <utility>

#include "burnin/LoopLog.h"
#include "burnin/LoopRunner.h"
#include "burnin/LoopStart.h"
#include "cli/ExitCodes.h"
#include "platform/Format.h"
#include "platform/StopSignals.h"
#include "platform/Threads.h"

namespace veltrane::cli {

namespace {

burnin::LoopRunner::ResultHook& testResultHook() {
    static burnin::LoopRunner::ResultHook hook;
    return hook;
}

// Prints each new log row as soon as the loop thread adds it.
class PrintingLoopSink : public burnin::LoopNoticeSink {
public:
    PrintingLoopSink(burnin::LoopClock& clock, std::ostream& out) : clock_(clock), out_(out) {}

    void loopStarting(const burnin::LoopSettings& settings,
                      platform::ThreadPriority priority) override {
        std::lock_guard lock(mutex_);
        log_.start(settings, priority, clock_.now());
        for (const auto& row : burnin::loopStatusRows(log_)) {
            out_ << strprintf("%-13s %s\n", row.label.c_str(), row.value.c_str());
        }
        out_ << '\n';
        printNewRows();
    }
    void send(burnin::LoopNotice notice, std::int64_t wParam, std::int64_t lParam) override {
        std::lock_guard lock(mutex_);
        log_.handle(notice, wParam, lParam, clock_.now());
        printNewRows();
    }
    void loopFinished() override {
        std::lock_guard lock(mutex_);
        log_.finish();
    }

private:
    void printNewRows() {
        const auto& rows = log_.rows();
        for (; printed_ < rows.size(); ++printed_) {
            out_ << rows[printed_] << '\n';
        }
        out_.flush();
    }

    burnin::LoopClock& clock_;
    std::ostream& out_;
    std::mutex mutex_;
    burnin::LoopLog log_;
    std::size_t printed_ = 0;
};

burnin::LoopEntry loopEntry(const LoopOptions& options) {
    burnin::LoopEntry entry;
    if (!options.repeat.empty()) {
        entry.mode = burnin::LoopMode::Repeat;
        entry.repeatText = options.repeat;
    } else if (!options.until.empty()) {
        entry.mode = burnin::LoopMode::StopAtTime;
        const auto colon = options.until.find(':');
        entry.hourText = options.until.substr(0, colon);
        entry.minuteText = colon == std::string::npos ? "" : options.until.substr(colon + 1);
    }
    for (int position = 0; position < 3; ++position) {
        if (options.priority == kLoopPriorities[position]) {
            entry.sliderPosition = position;
        }
    }
    return entry;
}

// The priority the loop thread will really have, said once when it is not
// the one asked for, so the status rows never claim more than was granted.
platform::ThreadPriority grantedPriority(platform::ThreadPriority asked, std::ostream& err) {
    if (asked != platform::ThreadPriority::TimeCritical) {
        return asked;
    }
    const auto grant = platform::probeTimeCriticalGrant();
    err << platform::timeCriticalGrantText(grant) << '\n';
    return platform::grantedPriority(asked, grant);
}

void waitForLoop(burnin::LoopRunner& runner, std::ostream& err) {
    bool stopAsked = false;
    while (runner.finishing()) {
        if (platform::StopSignalScope::requested() && !stopAsked) {
            err << "\nInterrupted: the loop stops after the current unit.\n";
            runner.requestStop();
            stopAsked = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    runner.wait();
}

}  // namespace

void setLoopResultHook(burnin::LoopRunner::ResultHook hook) {
    testResultHook() = std::move(hook);
}

int runLoop(const LoopOptions& options, std::ostream& out, std::ostream& err) {
    auto& clock = burnin::systemLoopClock();
    const auto check = burnin::checkLoopStart(loopEntry(options), clock.now());
    if (!check.accepted) {
        err << check.errorTitle << ": " << check.errorText << '\n';
        return kExitUsage;
    }
    burnin::LoopRunner runner(clock);
    runner.setResultHook(testResultHook());
    PrintingLoopSink sink(clock, out);
    const platform::StopSignalScope stopSignals;
    runner.start(check.settings, grantedPriority(check.priority, err), sink);
    waitForLoop(runner, err);
    out << strprintf("\n%lld units run, %lld failed their check.\n",
                     static_cast<long long>(runner.unitsRun()),
                     static_cast<long long>(runner.failedUnits()));
    if (platform::StopSignalScope::requested()) {
        return platform::StopSignalScope::exitStatus();
    }
    return runner.failedUnits() == 0 ? kExitSuccess : kExitFailure;
}

}  // namespace veltrane::cli

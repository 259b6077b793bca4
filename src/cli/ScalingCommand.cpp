#include "cli/ScalingCommand.h"

#include <chrono>

#include "cli/ExitCodes.h"
#include "cli/RunJson.h"
#include "cli/RunOutputs.h"
#include "cli/RunSetup.h"
#include "cli/ScalingProgress.h"
#include "cli/ScalingText.h"
#include "engine/ScalingFigures.h"
#include "ident/ClockFacts.h"
#include "platform/Affinity.h"
#include "platform/OsFacts.h"
#include "platform/StopSignals.h"
#include "platform/Threads.h"
#include "reports/RunJsonDocument.h"
#include "reports/ScalingJson.h"
#include "reports/ScalingView.h"

namespace veltrane::cli {

namespace {

std::uint64_t physicalMemory() {
    return platform::collectMemoryFacts(platform::nativeOsFactsSource()).status.totalPhys;
}

bool trusted(const suites::ScalingOutcome& outcome) {
    for (const engine::ScalingSummary& summary : outcome.summaries) {
        if (!summary.trusted) {
            return false;
        }
    }
    return true;
}

// The plan as asked, its notices said; nothing when it is refused.
std::optional<engine::ScalingPlan> planFor(const engine::ThreadRequest& request, bool pin,
                                           std::ostream& err) {
    engine::ScalingPlan plan =
        engine::planScaling(request, pin, platform::runnableProcessors(), physicalMemory());
    for (const std::string& notice : plan.notices) {
        err << "Note: " << notice << '\n';
    }
    if (plan.refusal) {
        err << "veltrane-cli: " << *plan.refusal << '\n';
        return std::nullopt;
    }
    return plan;
}

// Runs the plan to its end; the exit status to end with when it could not
// start or was stopped.
std::optional<int> runPlan(const engine::ScalingPlan& plan, ScalingProgress& progress,
                           suites::ScalingOutcome& outcome, std::ostream& err) {
    outcome = suites::runScaling(plan, progress);
    if (!outcome.error.empty()) {
        err << "veltrane-cli: the scaling run could not start: " << outcome.error << '\n';
        return kExitFailure;
    }
    if (outcome.stopped || platform::StopSignalScope::requested()) {
        err << "\nInterrupted: stopped between tests; no result is written.\n";
        return platform::StopSignalScope::exitStatus();
    }
    return std::nullopt;
}

int finish(const reports::ScalingContext& context, const RunOptions& options, RunOutputs& outputs,
           std::ostream& text, std::ostream& out, std::ostream& err) {
    text << scalingText(reports::scalingView(context.outcome));
    text.flush();
    int status = kExitSuccess;
    if (!options.jsonPath.empty()) {
        status = writeJsonText(reports::runJsonText(reports::scalingJson(context)),
                               options.jsonPath, out, err);
    }
    outputs.keepScaling(context, text, err);
    if (!trusted(context.outcome)) {
        err << "veltrane-cli: a thread failed the check of its own work: the figures cannot be "
               "trusted\n";
        return kExitUntrusted;
    }
    return status;
}

}  // namespace

int runScalingBenchmark(const RunOptions& options, std::ostream& out, std::ostream& err) {
    const auto request = engine::parseThreadRequest(options.threads);
    if (!request) {
        err << "veltrane-cli: --threads takes a number from 1 to " << engine::kScalingMaxThreads
            << " or 'all'\n";
        return kExitUsage;
    }
    RunOutputs outputs(options);
    if (const auto status = outputs.prepare(err)) {
        return *status;
    }
    // With the JSON on standard output, the readable texts go to standard error.
    std::ostream& text = options.jsonPath == "-" ? err : out;
    const ident::MachineFacts& machine = identifyMachine(err);
    const auto plan = planFor(*request, options.pin, err);
    if (!plan) {
        return kExitFailure;
    }
    measureClock(machine.identity, err);
    printRows(text, "CPU and System Information", engine::cpuAndSystemRows(machine, false));
    text.flush();
    const ident::RunConditions conditions = sampleConditions(machine, err);
    ScalingProgress progress(err, options.interactive);
    progress.setStopCheck(&platform::StopSignalScope::requested);
    // Held until the last output is written, so a stop never leaves one half-done.
    const platform::StopSignalScope stopSignals;
    const auto startedAt = std::chrono::system_clock::now();
    suites::ScalingOutcome outcome;
    if (const auto status = runPlan(*plan, progress, outcome, err)) {
        return *status;
    }
    const reports::ScalingContext context{outcome,
                                          *plan,
                                          *request,
                                          options.pin,
                                          machine,
                                          startedAt,
                                          std::chrono::system_clock::now(),
                                          conditions,
                                          platform::timeCriticalGrant(),
                                          "veltrane-cli",
                                          ident::measureClockFacts(machine.clockMHz())};
    return finish(context, options, outputs, text, out, err);
}

}  // namespace veltrane::cli

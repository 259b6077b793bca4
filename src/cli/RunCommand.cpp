#include "cli/RunCommand.h"

#include <chrono>

#include "cli/ExitCodes.h"
#include "cli/RepeatText.h"
#include "cli/RunOutputs.h"
#include "cli/RunSetup.h"
#include "cli/TerminalProgress.h"
#include "engine/DetailsRows.h"
#include "engine/RunEnd.h"
#include "engine/RunRequest.h"
#include "engine/TestInfo.h"
#include "ident/ClockFacts.h"
#include "ident/MachineFacts.h"
#include "ident/RunConditions.h"
#include "platform/Format.h"
#include "platform/StopSignals.h"
#include "platform/Threads.h"
#include "suites/RunSession.h"

namespace veltrane::cli {

namespace {

void printResults(std::ostream& out, const engine::BenchResult& record) {
    out << "\nCongratulations!!! you have successfully completed the benchmark. Your overall "
           "score is:\n";
    out << "  " << engine::scoreLine(record) << '\n';
    out << "  total time: " << engine::totalTimeText(record) << '\n';
    out << strprintf("  suite: %d (%s)\n\n", record.suite, engine::suiteName(record.suite));
    printRows(out, "Benchmarks Details", engine::benchmarkDetailsRows(record));
}

int finishRun(const engine::BenchResult& record, const reports::RepeatOutcome* repeat,
              std::ostream& out, std::ostream& err) {
    printResults(out, record);
    for (const std::string& warning : engine::throttlingWarnings(record)) {
        err << "Warning: " << warning << '\n';
    }
    if (repeat != nullptr) {
        out << '\n' << repeatTable(*repeat);
    }
    out.flush();
    const std::string error = engine::writeTempdata(engine::scoreLine(record));
    if (!error.empty()) {
        err << "veltrane-cli: cannot write the result file " << engine::kTempdataFile << ": "
            << error << '\n';
        return kExitFailure;
    }
    if (!engine::figuresTrusted(record)) {
        err << "veltrane-cli: a test failed the check of its own work: the figures cannot be "
               "trusted\n";
        return kExitUntrusted;
    }
    return kExitSuccess;
}

// The run from its start to its end; false when it could not start.
bool runToEnd(suites::RunSession& session, const suites::SessionPlan& plan,
              TerminalProgress& progress) {
    progress.beginRun();
    if (!session.start(plan, progress)) {
        return false;
    }
    progress.waitForEnd();
    return session.finish();
}

// Runs the plan as often as `repeat` asks, each finished run's record into
// `runs`. Gives the exit status to end with when a run could not start or
// was stopped.
std::optional<int> runRepeatedly(const suites::SessionPlan& plan, const engine::RepeatPlan& repeat,
                                 TerminalProgress& progress, std::vector<engine::BenchResult>& runs,
                                 std::ostream& err) {
    suites::RunSession session;
    while (engine::wantsAnotherRun(repeat, runs)) {
        if (repeat.planned > 1) {
            err << runHeading(static_cast<int>(runs.size()) + 1, repeat);
        }
        if (!runToEnd(session, plan, progress)) {
            err << "veltrane-cli: the benchmark could not start\n";
            return kExitFailure;
        }
        if (session.result().stopped) {
            err << "\nInterrupted: stopped between tests; no result is written.\n";
            return platform::StopSignalScope::exitStatus();
        }
        runs.push_back(session.result());
    }
    return std::nullopt;
}

// A repeat's outcome; nothing for a single run.
std::optional<reports::RepeatOutcome> repeatOutcome(const engine::RepeatPlan& repeat,
                                                    std::vector<engine::BenchResult> runs) {
    if (repeat.planned < 2) {
        return std::nullopt;
    }
    auto stats = engine::repeatStats(runs);
    const bool settled = !engine::needsAnotherRun(stats);
    return reports::RepeatOutcome{std::move(runs), std::move(stats), repeat.untilStable, settled};
}

}  // namespace

int maskFromTestList(const std::vector<int>& tests) {
    int mask = 128;
    for (const int test : tests) {
        mask |= 1 << (test - 1);
    }
    return mask;
}

int runBenchmark(const RunOptions& options, std::ostream& out, std::ostream& err) {
    const auto suiteEntry = kSuiteNumbers.find(options.suite);
    if (suiteEntry == kSuiteNumbers.end()) {
        err << "veltrane-cli: unknown suite " << options.suite << '\n';
        return kExitUsage;
    }
    const int suite = suiteEntry->second;
    RunOutputs outputs(options);
    if (const auto status = outputs.prepare(err)) {
        return *status;
    }
    // With the JSON on standard output, the readable texts go to standard error.
    std::ostream& text = options.jsonPath == "-" ? err : out;
    const ident::MachineFacts& machine = identifyMachine(err);
    const auto plan = suites::RunSession::plan(suite, options.mask, machine.identity);
    if (plan.refusal) {
        err << "Veltrane Error: " << *plan.refusal << '\n';
        return kExitFailure;
    }
    const bool smp = plan.run.suite == engine::SuiteSMP;
    (void)engine::writeTempdataPlaceholder();
    measureClock(machine.identity, err);
    // Each test's core clock is read just before and after it, against the counter's rate.
    engine::setEffectiveClockReference(machine.clockMHz());
    printRows(text, "CPU and System Information", engine::cpuAndSystemRows(machine, smp));
    text.flush();
    const ident::RunConditions conditions = sampleConditions(machine, err);

    if (plan.run.fellBackToStandard) {
        err << "Veltrane Error: " << engine::kUnsupportedModeWarning << '\n';
    }
    TerminalProgress progress(err, options.interactive, smp);
    progress.setStopCheck(&platform::StopSignalScope::requested);
    // Held until the last output is written, so a stop never leaves one half-done.
    const platform::StopSignalScope stopSignals;
    const auto startedAt = std::chrono::system_clock::now();
    const engine::RepeatPlan repeat{options.repeat, options.untilStable};
    std::vector<engine::BenchResult> runs;
    if (const auto status = runRepeatedly(plan, repeat, progress, runs, err)) {
        return *status;
    }
    const engine::BenchResult result = runs.size() == 1 ? runs.front() : engine::medianRecord(runs);
    const auto outcome = repeatOutcome(repeat, std::move(runs));
    const reports::RepeatOutcome* repeated = outcome ? &*outcome : nullptr;
    const reports::RunContext context{result,         machine,
                                      plan.run,       options.suite,
                                      options.mask,   platform::timeCriticalGrant(),
                                      startedAt,      std::chrono::system_clock::now(),
                                      conditions,     repeated,
                                      "veltrane-cli", ident::measureClockFacts(machine.clockMHz())};
    const int status = finishRun(result, repeated, text, err);
    const int outputStatus = outputs.write(context, text, out, err);
    outputs.keep(context, text, err);
    return status != kExitSuccess ? status : outputStatus;
}

}  // namespace veltrane::cli

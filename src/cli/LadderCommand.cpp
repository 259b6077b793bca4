#include "cli/LadderCommand.h"

#include <algorithm>
#include <atomic>

#include "cli/ExitCodes.h"
#include "cli/LadderText.h"
#include "cli/RunJson.h"
#include "platform/OutputFile.h"
#include "platform/StopSignals.h"
#include "reports/LadderView.h"
#include "reports/RunJsonDocument.h"

namespace veltrane::cli {

namespace {

// Stops between rungs once Ctrl+C or SIGTERM has asked for it.
engine::LadderResult measure(const engine::LadderMachine& machine, std::ostream& err) {
    const auto rungs = engine::ladderRungs(machine);
    std::atomic<bool> cancel{false};
    const auto progress = [&](int rung, int count) {
        if (platform::StopSignalScope::requested()) {
            cancel = true;
            return;
        }
        err << engine::rungProgressText(rungs, rung, count) << std::endl;
    };
    return engine::runMemoryLadder(machine, rungs, engine::LadderTiming{}, progress, cancel);
}

int status(const engine::LadderResult& result) {
    if (result.stopped) {
        return platform::StopSignalScope::exitStatus();
    }
    const bool failed = std::any_of(result.rungs.begin(), result.rungs.end(),
                                    [](const auto& rung) { return !rung.measured(); });
    return failed ? kExitUntrusted : kExitSuccess;
}

}  // namespace

int runLadder(const LadderOptions& options, std::ostream& out, std::ostream& err) {
    if (!options.jsonPath.empty() && options.jsonPath != "-") {
        const auto target = platform::resolveOutputTarget(options.jsonPath);
        if (target.kind == platform::OutputKind::Refused) {
            err << "veltrane-cli: cannot write " << options.jsonPath << ": " << target.problem
                << '\n';
            return kExitFailure;
        }
    }
    // With the JSON on standard output, the readable texts go to standard error.
    std::ostream& text = options.jsonPath == "-" ? err : out;
    const platform::StopSignalScope stopSignals;
    const engine::LadderResult result = measure(reports::ladderMachine(ident::machineFacts()), err);
    if (result.stopped) {
        err << "\nInterrupted: stopped between rungs; the rungs measured follow.\n";
    }
    text << formatLadder(result);
    text.flush();
    int code = status(result);
    if (!options.jsonPath.empty()) {
        const std::string json =
            reports::runJsonText(reports::ladderJson(result, std::string("veltrane-cli")));
        const int written = writeJsonText(json, options.jsonPath, out, err);
        code = code == kExitSuccess ? written : code;
    }
    if (code == kExitUntrusted) {
        err << "veltrane-cli: a rung failed the check of its own work: its figure is left out\n";
    }
    return code;
}

}  // namespace veltrane::cli

#include "cli/RunOutputs.h"

#include <unistd.h>

#include <string>

#include "cli/CompareText.h"
#include "cli/ExitCodes.h"
#include "cli/RunJson.h"
#include "cli/RunReport.h"
#include "platform/Format.h"
#include "platform/OutputFile.h"
#include "platform/StopSignals.h"
#include "reports/HtmlReportFile.h"

namespace veltrane::cli {

namespace {

// An output that could only fail after the run (a folder, a missing one, a
// block device) is refused before the user waits for it.
std::optional<std::string> outputProblem(const std::string& report, const std::string& json) {
    for (const std::string& path : {report, json}) {
        if (path.empty() || path == "-") {
            continue;
        }
        const auto target = platform::resolveOutputTarget(path);
        if (target.kind == platform::OutputKind::Refused) {
            return "cannot write " + path + ": " + target.problem;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<int> RunOutputs::prepare(std::ostream& err) {
    const std::string report = reports::withReportExtension(options_.report.path);
    if (!report.empty() && report == options_.jsonPath && !platform::isStreamOutput(report)) {
        err << "veltrane-cli: --report and --json name the same file " << options_.jsonPath << '\n';
        return kExitUsage;
    }
    if (const auto problem = outputProblem(report, options_.jsonPath)) {
        err << "veltrane-cli: " << *problem << '\n';
        return kExitFailure;
    }
    if (!options_.compare) {
        return std::nullopt;
    }
    auto load = engine::loadReferenceDatabase();
    if (!load.ok()) {
        err << load.error << " (" << load.failedFile << ")\n" << load.detail << '\n';
        return load.exitStatus;
    }
    references_ = std::move(load.database);
    return std::nullopt;
}

int RunOutputs::write(const reports::RunContext& context, std::ostream& text, std::ostream& out,
                      std::ostream& err) {
    int status = kExitSuccess;
    auto keepFirstFailure = [&status](int result) {
        if (status == kExitSuccess) {
            status = result;
        }
    };
    // Each output is written whole or not at all; a stop asked for meanwhile
    // skips the ones still to come.
    auto stopping = [&]() {
        if (!platform::StopSignalScope::requested()) {
            return false;
        }
        err << "\nInterrupted: the outputs still to come are not written.\n";
        return true;
    };
    if (options_.compare) {
        // The reference lists are files anybody may edit.
        // The comparison goes where the readable text does (standard error for "--json -").
        const int fd = options_.jsonPath == "-" ? STDERR_FILENO : STDOUT_FILENO;
        text << terminalText(compareText(context.record, references_, detectCompareStyle(fd)));
        text.flush();
    }
    if (!options_.report.path.empty()) {
        if (stopping()) {
            return platform::StopSignalScope::exitStatus();
        }
        keepFirstFailure(writeRunReport(context, options_.report, err));
    }
    if (!options_.jsonPath.empty()) {
        if (stopping()) {
            return platform::StopSignalScope::exitStatus();
        }
        keepFirstFailure(writeRunJson(context, options_.jsonPath, out, err));
    }
    return platform::StopSignalScope::requested() ? platform::StopSignalScope::exitStatus()
                                                  : status;
}

}  // namespace veltrane::cli

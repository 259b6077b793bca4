#include "cli/RunOutputs.h"

#include <unistd.h>

#include <string>

#include "cli/CompareText.h"
#include "cli/ExitCodes.h"
#include "cli/HistoryIds.h"
#include "cli/RunJson.h"
#include "cli/RunReport.h"
#include "platform/Format.h"
#include "platform/OutputFile.h"
#include "platform/StopSignals.h"
#include "reports/HtmlReportFile.h"
#include "store/RunRecord.h"
#include "store/ScalingRecord.h"

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
    if (options_.compare) {
        auto load = engine::loadReferenceDatabase();
        if (!load.ok()) {
            err << load.error << " (" << load.failedFile << ")\n" << load.detail << '\n';
            return load.exitStatus;
        }
        references_ = std::move(load.database);
    }
    openHistory(err);
    return std::nullopt;
}

void RunOutputs::openHistory(std::ostream& err) {
    if (options_.noSave && !options_.compare) {
        return;
    }
    history_ = store::openResultsStore(options_.database.empty() ? store::defaultStorePath()
                                                                 : options_.database);
    if (!history_.message.empty()) {
        err << history_.message << '\n';
    }
    if (!history_.store || !options_.compare) {
        return;
    }
    try {  // the user's own entries join the comparison after the shipped ones
        store::addUserEntries(references_, history_.store->userReferences());
    } catch (const store::StoreError& error) {
        err << "Your own entries are left out of the comparison: " << error.what() << '\n';
    }
}

void RunOutputs::keep(const reports::RunContext& context, std::ostream& text, std::ostream& err) {
    keepRow(
        [&context](store::ResultsStore& history) {
            return std::to_string(history.addRun(store::runRow(context, "cli")));
        },
        text, err);
}

void RunOutputs::keepScaling(const reports::ScalingContext& context, std::ostream& text,
                             std::ostream& err) {
    keepRow(
        [&context](store::ResultsStore& history) {
            return scalingHistoryId(history.addScalingRun(store::scalingRunRow(context, "cli")));
        },
        text, err);
}

void RunOutputs::keepRow(const std::function<std::string(store::ResultsStore&)>& add,
                         std::ostream& text, std::ostream& err) {
    if (options_.noSave || platform::StopSignalScope::requested()) {
        return;
    }
    if (!history_.store) {
        err << "This result was not kept in the results history.\n";
        return;
    }
    try {
        const std::string id = add(*history_.store);
        text << "Kept in the results history as run " << id << " ('veltrane-cli history show " << id
             << "').\n";
    } catch (const store::StoreError& error) {
        err << "This result was not kept in the results history " << history_.store->path() << ": "
            << (error.full() ? "the disk is full" : error.what()) << '\n';
    }
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

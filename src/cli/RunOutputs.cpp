#include "cli/RunOutputs.h"

#include <unistd.h>

#include <filesystem>
#include <string>

#include "cli/CompareText.h"
#include "cli/ExitCodes.h"
#include "cli/RunJson.h"
#include "cli/RunReport.h"
#include "reports/HtmlReportFile.h"

namespace veltrane::cli {

namespace {

// A file in a folder that does not exist or takes no files would only fail
// after the run; say so before the user waits for it.
bool folderTakesFiles(const std::string& path) {
    if (path.empty() || path == "-") {
        return true;
    }
    const auto folder = std::filesystem::path(path).parent_path();
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

// A folder (or a name ending in a slash) can never take the output.
bool namesAFolder(const std::string& path) {
    std::error_code ignored;
    return !path.empty() && path != "-" &&
           (path.back() == '/' || std::filesystem::is_directory(path, ignored));
}

// Why the outputs cannot be written, found before the run, or nothing.
std::optional<std::string> outputProblem(const std::string& report, const std::string& json) {
    for (const std::string& path : {report, json}) {
        if (namesAFolder(path)) {
            return "cannot write " + path + ": it is a folder";
        }
        if (!folderTakesFiles(path)) {
            return "cannot write " + path + ": its folder does not exist or takes no files";
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<int> RunOutputs::prepare(std::ostream& err) {
    const std::string& report = options_.report.path;
    if (!report.empty() && reports::withReportExtension(report) == options_.jsonPath) {
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
        err << load.error << " (" << load.failedFile << ")\n";
        return load.exitStatus;
    }
    references_ = std::move(load.database);
    return std::nullopt;
}

int RunOutputs::write(const RunContext& context, std::ostream& text, std::ostream& out,
                      std::ostream& err) {
    int status = kExitSuccess;
    auto keepFirstFailure = [&status](int result) {
        if (status == kExitSuccess) {
            status = result;
        }
    };
    if (options_.compare) {
        text << compareText(context.record, references_);
        text.flush();
    }
    if (!options_.report.path.empty()) {
        keepFirstFailure(writeRunReport(context, options_.report, err));
    }
    if (!options_.jsonPath.empty()) {
        keepFirstFailure(writeRunJson(context, options_.jsonPath, out, err));
    }
    return status;
}

}  // namespace veltrane::cli

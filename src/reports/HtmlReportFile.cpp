#include "reports/HtmlReportFile.h"

#include <system_error>

#include "platform/OutputFile.h"
#include "reports/HtmlReport.h"

namespace veltrane::reports {

ReportWorkingDirectory::ReportWorkingDirectory() {
    std::error_code error;
    saved_ = std::filesystem::current_path(error);
}

ReportWorkingDirectory::~ReportWorkingDirectory() {
    // A folder removed meanwhile cannot be returned to; stay where we are.
    std::error_code error;
    if (!saved_.empty()) {
        std::filesystem::current_path(saved_, error);
    }
}

ReportWriteResult writeHtmlReport(const std::string& path, const ReportInputs& inputs) {
    const ReportWorkingDirectory keepDirectory;
    if (path.empty()) {
        return {kReportCreateError, "no file name given"};
    }
    const std::string error = platform::writeOutputFile(path, htmlReportText(inputs));
    if (!error.empty()) {
        return {kReportCreateError, error};
    }
    return {};
}

namespace {

// A device, a FIFO or a standard stream is written under its own name.
bool namesSomethingElseThanAFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    return platform::isStreamOutput(path) ||
           (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
            !std::filesystem::is_directory(status));
}

}  // namespace

std::string withReportExtension(const std::string& path) {
    const std::filesystem::path name(path);
    if (path.empty() || !name.has_filename() || name.has_extension() ||
        namesSomethingElseThanAFile(path)) {
        return path;
    }
    return path + ".htm";
}

}  // namespace veltrane::reports

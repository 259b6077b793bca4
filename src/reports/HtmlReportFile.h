#pragma once

#include <filesystem>
#include <string>

#include "reports/ReportInputs.h"

namespace veltrane::reports {

inline constexpr const char* kReportCreateError = "Errror: Cannot create report file";
inline constexpr const char* kReportErrorTitle = "Veltrane Error";
inline constexpr const char* kDefaultReportFileName = "report.htm";
inline constexpr const char* kReportFilterName = "HTML Files (*.HTM,*.HTML)";
inline constexpr const char* kReportFilterPatterns = "*.htm;*.html";

struct ReportWriteResult {
    std::string message;  // empty on success, else kReportCreateError
    std::string detail;   // what the system said, for a log or the command line
    bool ok() const { return message.empty(); }
};

// Writes the page through a temporary file renamed into place: a failure
// leaves neither a partial report nor a damaged earlier file. The working
// directory is the same afterwards, whatever happened.
[[nodiscard]] ReportWriteResult writeHtmlReport(const std::string& path,
                                                const ReportInputs& inputs);

// A file name without an extension gets ".htm", as the file chooser does;
// a device, a FIFO or a standard stream keeps its name.
std::string withReportExtension(const std::string& path);

// Notes the working directory and restores it when it goes out of scope, so
// a file chooser or a failed write cannot leave the data files unfindable.
class ReportWorkingDirectory {
public:
    ReportWorkingDirectory();
    ~ReportWorkingDirectory();
    ReportWorkingDirectory(const ReportWorkingDirectory&) = delete;
    ReportWorkingDirectory& operator=(const ReportWorkingDirectory&) = delete;

private:
    std::filesystem::path saved_;
};

}  // namespace veltrane::reports

#include "cli/RunReport.h"

#include "cli/ExitCodes.h"
#include "reports/HtmlReportFile.h"

namespace veltrane::cli {

namespace {

// S and X are one choice: the two feature sections always go together.
reports::ReportSections sectionsFromLetters(const std::string& letters) {
    auto has = [&letters](char letter) { return letters.find(letter) != std::string::npos; };
    reports::ReportSections sections;
    sections.tester = has('T');
    sections.cpu = has('C');
    sections.features = has('S') || has('X');
    sections.os = has('O');
    sections.benchmarks = has('B');
    return sections;
}

}  // namespace

int writeRunReport(const reports::RunContext& context, const ReportOptions& options,
                   std::ostream& err) {
    const auto inputs = reports::collectReportInputs(
        {options.tester, options.system, options.comments}, sectionsFromLetters(options.sections),
        context.machine, context.record);
    const auto path = reports::withReportExtension(options.path);
    const auto result = reports::writeHtmlReport(path, inputs);
    if (!result.ok()) {
        err << reports::kReportErrorTitle << ": " << result.message << " " << path << ": "
            << result.detail << '\n';
        return kExitFailure;
    }
    err << "Report written to " << path << '\n';
    return kExitSuccess;
}

}  // namespace veltrane::cli

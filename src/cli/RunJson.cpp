#include "cli/RunJson.h"

#include "cli/ExitCodes.h"
#include "platform/OutputFile.h"
#include "reports/RunJsonDocument.h"

namespace veltrane::cli {

namespace {

int cannotWrite(const std::string& path, const std::string& reason, std::ostream& err) {
    err << "veltrane-cli: cannot write the JSON file " << path << ": " << reason << '\n';
    return kExitFailure;
}

}  // namespace

int writeJsonText(const std::string& text, const std::string& path, std::ostream& out,
                  std::ostream& err) {
    if (path == "-") {
        out << text;
        out.flush();
        return out ? kExitSuccess : cannotWrite(path, "standard output is not writable", err);
    }
    const std::string error = platform::writeOutputFile(path, text);
    return error.empty() ? kExitSuccess : cannotWrite(path, error, err);
}

int writeRunJson(const reports::RunContext& context, const std::string& path, std::ostream& out,
                 std::ostream& err) {
    return writeJsonText(reports::runJsonText(reports::runJson(context)), path, out, err);
}

}  // namespace veltrane::cli

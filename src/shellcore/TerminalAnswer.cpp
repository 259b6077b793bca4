#include "shellcore/TerminalAnswer.h"

namespace veltrane::shell {

std::optional<std::string> terminalAnswer(const std::vector<std::string>& arguments,
                                          const std::string& version) {
    for (const auto& argument : arguments) {
        if (argument == "--version") {
            return "veltrane " + version + "\n";
        }
        if (argument == "--help" || argument == "-h") {
            return "Usage: veltrane [--help] [--version]\n"
                   "\n"
                   "Veltrane's desktop program: it shows what it detects about the processor\n"
                   "and the machine, runs the benchmark (seven timed tests scored in CPUMarks),\n"
                   "compares the result with reference machines in bar charts, writes an HTML\n"
                   "report and has a burn-in loop mode. It needs a graphical session.\n"
                   "\n"
                   "For servers, scripts and terminals the same benchmark is veltrane-cli:\n"
                   "  veltrane-cli run            the default benchmark\n"
                   "  veltrane-cli info cpu       what it detects about the processor\n"
                   "  veltrane-cli --help         every command\n";
        }
    }
    return std::nullopt;
}

}  // namespace veltrane::shell

#include "cli/HelpTexts.h"

#include <algorithm>

#include "engine/TestInfo.h"
#include "platform/Format.h"

namespace veltrane::cli {

namespace {

// What each test's figure is called, test 1 first.
constexpr const char* kFigures[engine::kTestCount] = {
    "ALUMarks", "FPUMarks SP", "FPUMarks DP", "MIPS", "MFLOPS", "MB/s (RAM ALU)", "MB/s (RAM FPU)"};

std::string testList() {
    std::string text =
        "The tests (--tests 1,3,6 runs some of them; only all seven give CPUMarks):\n";
    for (int test = 1; test <= engine::kTestCount; ++test) {
        text +=
            strprintf("  %d  %-20s %s\n", test, engine::testInfo(test)->name, kFigures[test - 1]);
    }
    return text;
}

constexpr const char* kWhatARunDoes =
    "A run measures the processor clock (two seconds), then runs the tests (about half a\n"
    "minute on a current processor, more on an old one or in the SMP suite). It asks for\n"
    "the highest priority (nice -20; only root is granted it, other users keep their own), writes\n"
    "the result to ./tempdata in the current folder and keeps it in the results history\n"
    "(--no-save keeps nothing there).\n";

}  // namespace

std::string programFooter() {
    return std::string(
               "Examples:\n"
               "  veltrane-cli run                    the default benchmark\n"
               "  veltrane-cli info cpu               what it detects about the processor\n"
               "  veltrane-cli run --compare          then the reference machines beside it\n"
               "Each command has its own help: veltrane-cli run --help\n\n") +
           kWhatARunDoes + "\n" + testList();
}

std::string infoFooter() {
    return "Examples:\n"
           "  veltrane-cli info cpu --no-clock     at once, without the two-second clock\n"
           "  veltrane-cli info all                every page\n"
           "  veltrane-cli info --json -           every machine fact as JSON";
}

std::string runFooter() {
    return std::string(
               "Examples:\n"
               "  veltrane-cli run --suite sse2 --compare\n"
               "  veltrane-cli run --tests 4,5 --json result.json\n"
               "  veltrane-cli run --repeat 3 --until-stable\n"
               "  veltrane-cli run --threads all         1 thread, then one per processor\n\n") +
           kWhatARunDoes + "\n" + testList();
}

std::string loopFooter() {
    return "Examples:\n"
           "  veltrane-cli loop --repeat 2         two cycles of ten verified units\n"
           "  veltrane-cli loop --until 23:30      until half past eleven\n"
           "  veltrane-cli loop --continuous       until Ctrl+C";
}

std::string historyFooter() {
    return "Examples:\n"
           "  veltrane-cli history list\n"
           "  veltrane-cli history compare 3 7\n"
           "  veltrane-cli history export 3 --format line >> my-machines.dat\n"
           "  veltrane-cli history show m1            a scaling run (run --threads)";
}

std::string unknownCommandText(const std::string& word, const std::vector<std::string>& commands) {
    std::string list;
    for (const auto& command : commands) {
        list += (list.empty() ? "" : ", ") + command;
    }
    return "veltrane-cli: unknown command '" + word + "': the commands are " + list +
           " (veltrane-cli --help explains them)\n";
}

std::string unknownCommandWord(int argc, const char* const* argv,
                               const std::vector<std::string>& commands,
                               const std::vector<std::string>& valueOptions) {
    auto among = [](const std::vector<std::string>& list, const std::string& word) {
        return std::find(list.begin(), list.end(), word) != list.end();
    };
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (among(valueOptions, word)) {
            ++i;  // its value
        } else if (word.empty() || word.front() != '-') {
            return among(commands, word) ? std::string() : word;
        }
    }
    return {};
}

}  // namespace veltrane::cli

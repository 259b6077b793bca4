#include "cli/App.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <sstream>
#include <string>

#include "cli/ExitCodes.h"
#include "cli/HelpTexts.h"
#include "cli/HistoryCommand.h"
#include "cli/HistoryIds.h"
#include "cli/InfoCommand.h"
#include "cli/LadderCommand.h"
#include "cli/LoopCommand.h"
#include "cli/RunCommand.h"
#include "cli/ScalingCommand.h"
#include "engine/RepeatStats.h"
#include "engine/ScalingFigures.h"
#include "platform/CpuidDump.h"
#include "platform/OutputFile.h"

namespace veltrane::cli {

namespace {

struct GlobalOptions {
    std::string cpuidFile;
};

bool digitsOnly(const std::string& text, std::size_t maxLength) {
    return !text.empty() && text.size() <= maxLength &&
           text.find_first_not_of("0123456789") == std::string::npos;
}

// Whole decimal numbers only: no sign, no base prefix ("010" is ten, not
// eight), nothing after the digits, and nothing silently cut to a limit.
CLI::Validator decimalNumber(unsigned long long max, unsigned long long min = 0) {
    return CLI::Validator(
        [max, min](std::string& text) -> std::string {
            if (!digitsOnly(text, 19) || std::stoull(text) > max || std::stoull(text) < min) {
                return "'" + text + "' is not a whole decimal number from " + std::to_string(min) +
                       " to " + std::to_string(max);
            }
            text = std::to_string(std::stoull(text));  // leading zeros never mean octal
            return {};
        },
        "NUMBER");
}

// HH:MM in digits, one or two each; the loop itself checks the hour and minute.
CLI::Validator timeOfDay() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            const auto colon = text.find(':');
            const bool valid = colon != std::string::npos && digitsOnly(text.substr(0, colon), 2) &&
                               digitsOnly(text.substr(colon + 1), 2);
            return valid ? std::string() : "'" + text + "' is not a time HH:MM";
        },
        "HH:MM");
}

bool namesStandardOutput(const std::string& path) {
    const auto target = platform::resolveOutputTarget(path);
    return target.kind == platform::OutputKind::StandardStream && target.descriptor == 1;
}

// A file to write or read: never empty and never an option's name, so
// "--json --compare" cannot write a file called --compare. Where allowed,
// "-" is standard output, and so is any name of it, so the readable texts
// step aside to standard error.
CLI::Validator fileName(bool dashIsStandardOutput) {
    return CLI::Validator(
        [dashIsStandardOutput](std::string& text) -> std::string {
            if (text.empty()) {
                return "needs a file name";
            }
            if (text.front() == '-' && !(dashIsStandardOutput && text == "-")) {
                return "'" + text + "' is not a file name (an option?)";
            }
            if (dashIsStandardOutput && namesStandardOutput(text)) {
                text = "-";
            }
            return {};
        },
        "FILE");
}

void addInfoCommand(CLI::App& app, InfoOptions& options) {
    auto* info = app.add_subcommand("info", "Show what the program detects about the processor");
    info->add_option("topic", options.topic, "What to show: cpu, cache, os, pci or all")
        ->check(
            CLI::IsMember(std::vector<std::string>(std::begin(kInfoTopics), std::end(kInfoTopics))))
        ->default_str("cpu");
    info->add_option("--dump-cpuid", options.dumpCpuidPath,
                     "Write the processor's CPUID answers to FILE and stop")
        ->check(fileName(false))
        ->option_text("FILE");
    info->add_flag("!--no-clock", options.measureClock,
                   "Skip the two-second clock measurement (shows 0.0 MHz)");
    info->add_option("--json", options.jsonPath,
                     "Write every machine fact as JSON to FILE (- for standard output), "
                     "whatever the topic")
        ->transform(fileName(true))
        ->option_text("FILE");
    info->footer(infoFooter());
}

void addReportOptions(CLI::App& run, ReportOptions& report);
void addRepeatOptions(CLI::App& run, RunOptions& options);
void addScalingOptions(CLI::App& run, RunOptions& options);
void addDatabaseOption(CLI::App& command, std::string& path);

void addRunCommand(CLI::App& app, RunOptions& options) {
    auto* run =
        app.add_subcommand("run", "Run the benchmark: seven timed tests, scored in CPUMarks");
    run->add_option("--suite", options.suite, "Which suite to run")
        ->check(CLI::IsMember(kSuiteNumbers))
        ->default_str("standard");
    run->footer(runFooter());
    auto* tests =
        run->add_option("--tests", options.tests, "Run only these tests, e.g. 1,3,6 (1 to 7)")
            ->delimiter(',')
            ->check(CLI::Range(1, 7));
    run->add_option("--mask", options.mask,
                    "Test mask: bit n-1 selects test n; 255 is the full run")
        ->transform(decimalNumber(255))
        ->excludes(tests);
    run->add_flag("--compare", options.compare,
                  "After the result, compare it with the reference systems of its suite");
    addReportOptions(*run, options.report);
    run->add_option("--json", options.jsonPath,
                    "Write the result, details, machine facts and run conditions as JSON to FILE "
                    "(- for standard output)")
        ->transform(fileName(true))
        ->option_text("FILE");
    addRepeatOptions(*run, options);
    addScalingOptions(*run, options);
    run->add_flag("--no-save", options.noSave, "Do not keep the result in the results history");
    addDatabaseOption(*run, options.database);
}

void addRepeatOptions(CLI::App& run, RunOptions& options) {
    auto* repeat = run.add_option("--repeat", options.repeat,
                                  "Run the suite N times (1 to 100) and report each figure's "
                                  "median, minimum, maximum and relative spread")
                       ->transform(decimalNumber(engine::kMaxRepeatRuns, 1))
                       ->option_text("N");
    run.add_flag("--until-stable", options.untilStable,
                 "With --repeat: run again while any figure spreads more than 3.5 %, up to "
                 "three times N runs in all")
        ->needs(repeat);
}

// The options a scaling run has no use for, each with the reason.
struct ScalingConflict {
    const char* option;
    const char* reason;
};

constexpr ScalingConflict kScalingConflicts[] = {
    {"--tests", "a scaling run always runs tests 1 to 7"},
    {"--mask", "a scaling run always runs tests 1 to 7"},
    {"--repeat", "a scaling run measures each thread count once"},
    {"--until-stable", "a scaling run measures each thread count once"},
    {"--compare", "no reference list holds scaling runs"},
    {"--report", "the HTML report has no page for a scaling run; use --json"},
};

void checkScalingOptions(const CLI::App& run, const RunOptions& options) {
    if (options.threads.empty()) {
        return;
    }
    if (options.suite != "standard") {
        throw CLI::ValidationError("--threads", "runs the standard suite's tests; --suite " +
                                                    options.suite + " cannot go with it");
    }
    for (const ScalingConflict& conflict : kScalingConflicts) {
        if (run.count(conflict.option) > 0) {
            throw CLI::ValidationError("--threads", std::string("cannot go with ") +
                                                        conflict.option + ": " + conflict.reason);
        }
    }
}

void addScalingOptions(CLI::App& run, RunOptions& options) {
    auto* threads =
        run.add_option("--threads", options.threads,
                       "Scaling run: tests 1 to 7 in one thread, then in N threads at once "
                       "(all: one per processor the program may run on)")
            ->check(CLI::Validator(
                [](std::string& text) -> std::string {
                    return engine::parseThreadRequest(text)
                               ? std::string()
                               : "'" + text + "' is not a thread count: give a number from 1 to " +
                                     std::to_string(engine::kScalingMaxThreads) + " or 'all'";
                },
                "N|all"))
            ->option_text("N|all");
    run.add_flag("--pin", options.pin,
                 "With --threads: keep thread n on the n-th processor the program may run on")
        ->needs(threads);
    run.callback([&options, &run] {
        if (options.untilStable && options.repeat < 2) {
            throw CLI::ValidationError("--until-stable",
                                       "needs --repeat 2 or more: one run shows no spread");
        }
        checkScalingOptions(run, options);
    });
}

void addReportOptions(CLI::App& run, ReportOptions& report) {
    auto* path = run.add_option("--report", report.path, "Write an HTML report of the run to FILE")
                     ->check(fileName(false))
                     ->option_text("FILE");
    run.add_option("--tester", report.tester, "Report: the tester's name")->needs(path);
    run.add_option("--system", report.system, "Report: the name you give this machine")
        ->needs(path);
    run.add_option("--comments", report.comments, "Report: system details, cooling and so on")
        ->needs(path);
    run.add_option("--sections", report.sections,
                   "Report: sections to include, letters of TCSXOB (tester, CPU, standard and "
                   "extended features, OS, benchmark results); default all")
        ->needs(path)
        ->check([](const std::string& letters) {
            return letters.find_first_not_of("TCSXOB") == std::string::npos
                       ? std::string()
                       : std::string("--sections takes letters of TCSXOB");
        });
}

// Ids as `history list` shows them: a run's number, or m and a scaling run's.
CLI::Validator runId() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            const auto id = parseHistoryId(text);
            if (!id) {
                return "'" + text +
                       "' is not a whole decimal number from 1 (a run's id) or m and one (a "
                       "scaling run's id)";
            }
            text = historyIdText(*id);  // leading zeros never mean octal
            return {};
        },
        "ID");
}

void addDatabaseOption(CLI::App& command, std::string& path) {
    command
        .add_option("--db", path,
                    "The results history file (default: $XDG_DATA_HOME/veltrane/results.sqlite)")
        ->check(fileName(false))
        ->option_text("FILE");
}

void addHistoryCommand(CLI::App& app, HistoryOptions& options) {
    auto* history = app.add_subcommand("history",
                                       "The kept runs: list, show, compare, export, "
                                       "import or remove them");
    history->require_subcommand(1);
    history->footer(historyFooter());
    auto action = [&](const char* name, const char* description) {
        auto* command = history->add_subcommand(name, description);
        command->callback([&options, name] { options.action = name; });
        addDatabaseOption(*command, options.database);
        return command;
    };
    action("list", "A table of every kept run: id, date, machine, suite and figures");
    action("show", "One run's facts, figures and details")
        ->add_option("id", options.ids, "The run's id")
        ->required()
        ->expected(1)
        ->transform(runId());
    action("compare", "Two runs' figures side by side, with the second's ratio to the first")
        ->add_option("ids", options.ids, "The two runs' ids")
        ->required()
        ->expected(2)
        ->transform(runId());
    auto* exporting = action("export", "One run as a reference line, its JSON record or CSV");
    exporting->add_option("id", options.ids, "The run's id")
        ->required()
        ->expected(1)
        ->transform(runId());
    exporting->add_option("--format", options.format, "line (for database*.dat), json or csv")
        ->check(CLI::IsMember(
            std::vector<std::string>(std::begin(kExportFormats), std::end(kExportFormats))))
        ->default_str("line");
    auto* importing = action("import", "Reference lines or a JSON run record from another machine");
    importing->add_option("file", options.file, "The file to import")
        ->required()
        ->check(fileName(false));
    importing->add_option("--suite", options.suite, "The suite whose list reference lines join")
        ->check(CLI::IsMember(kSuiteNumbers))
        ->default_str("standard");
    action("remove", "Remove a run (and its place in the comparison lists)")
        ->add_option("id", options.ids, "The run's id")
        ->required()
        ->expected(1)
        ->transform(runId());
}

void addLoopCommand(CLI::App& app, LoopOptions& options) {
    auto* loop = app.add_subcommand(
        "loop", "Burn-in: repeat a verified work unit until a count, a time or Ctrl+C");
    auto* repeat = loop->add_option("--repeat", options.repeat, "Run N cycles of ten units")
                       ->transform(decimalNumber(2'147'483'647))
                       ->option_text("N");
    auto* until = loop->add_option("--until", options.until,
                                   "Run until HH:MM on the program's clock (UTC plus one hour)")
                      ->check(timeOfDay())
                      ->option_text("HH:MM");
    auto* continuous = loop->add_flag("--continuous", options.continuous, "Run until Ctrl+C");
    loop->footer(loopFooter());
    repeat->excludes(until)->excludes(continuous);
    until->excludes(continuous);
    loop->add_option("--priority", options.priority, "Priority of the loop thread")
        ->check(CLI::IsMember(
            std::vector<std::string>(std::begin(kLoopPriorities), std::end(kLoopPriorities))))
        ->default_str("high");
    loop->callback([loop] {
        if (loop->count_all() == 0 ||
            (loop->count("--repeat") + loop->count("--until") + loop->count("--continuous")) == 0) {
            throw CLI::RequiredError("one of --repeat, --until or --continuous");
        }
    });
}

void addLadderCommand(CLI::App& app, LadderOptions& options) {
    auto* ladder = app.add_subcommand(
        "ladder",
        "Memory ladder: test 7's Triad over working sets from 15 KB to four times the "
        "last-level cache, one MB/s figure per rung (five to ten seconds)");
    ladder
        ->add_option("--json", options.jsonPath,
                     "Write the rungs as JSON to FILE (- for standard output)")
        ->transform(fileName(true))
        ->option_text("FILE");
    ladder->footer(
        "Example: veltrane-cli ladder --json ladder.json\n"
        "Ctrl+C stops between rungs and shows the rungs measured.");
}

int runCommand(RunOptions options, std::ostream& out, std::ostream& err) {
    if (!options.tests.empty()) {
        options.mask = maskFromTestList(options.tests);
    }
    options.interactive = ::isatty(STDERR_FILENO) == 1;
    if (!options.threads.empty()) {
        return runScalingBenchmark(options, out, err);
    }
    return runBenchmark(options, out, err);
}

// Before any command runs, a recorded dump can stand in for the processor.
bool selectCpuProbe(const GlobalOptions& options, std::ostream& err) {
    if (options.cpuidFile.empty()) {
        return true;
    }
    try {
        platform::setActiveCpuProbe(platform::loadCpuidDumpFile(options.cpuidFile));
        return true;
    } catch (const platform::CpuidDumpError& error) {
        err << "veltrane-cli: " << error.what() << '\n';
        return false;
    }
}

int reportParseError(const CLI::App& app, const CLI::ParseError& error, std::ostream& out,
                     std::ostream& err) {
    std::ostringstream normal;
    std::ostringstream failure;
    const int code = app.exit(error, normal, failure);
    out << normal.str();
    err << failure.str();
    return code == static_cast<int>(CLI::ExitCodes::Success) ? kExitSuccess : kExitUsage;
}

// Output that never arrived (a full disk, a closed pipe) is a failure, not
// a success with the text lost.
int checkedOutput(int status, std::ostream& out, std::ostream& err) {
    out.flush();
    if (out) {
        return status;
    }
    err << "veltrane-cli: could not write to standard output\n";
    return status == kExitSuccess ? kExitFailure : status;
}

}  // namespace

int runApp(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"Veltrane: processor benchmark and system information", "veltrane-cli"};
    app.set_version_flag("--version", std::string("veltrane-cli ") + VELTRANE_VERSION);
    app.require_subcommand(1);
    GlobalOptions global;
    app.add_option("--cpuid-file", global.cpuidFile,
                   "Read CPUID answers from a dump written by 'info --dump-cpuid'")
        ->envname("VELTRANE_CPUID_FILE")
        ->check(fileName(false))
        ->option_text("FILE");
    InfoOptions info;
    addInfoCommand(app, info);
    RunOptions run;
    addRunCommand(app, run);
    LoopOptions loop;
    addLoopCommand(app, loop);
    HistoryOptions history;
    addHistoryCommand(app, history);
    LadderOptions ladder;
    addLadderCommand(app, ladder);
    app.footer(programFooter());
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        std::vector<std::string> commands;
        for (const CLI::App* command : app.get_subcommands({})) {
            commands.push_back(command->get_name());
        }
        const auto word = unknownCommandWord(argc, argv, commands, {"--cpuid-file"});
        if (!word.empty() && error.get_exit_code() != static_cast<int>(CLI::ExitCodes::Success)) {
            err << unknownCommandText(word, commands);
            return kExitUsage;
        }
        return reportParseError(app, error, out, err);
    }
    if (!selectCpuProbe(global, err)) {
        return kExitFailure;
    }
    const int status = app.got_subcommand("run")       ? runCommand(run, out, err)
                       : app.got_subcommand("loop")    ? runLoop(loop, out, err)
                       : app.got_subcommand("history") ? runHistory(history, out, err)
                       : app.got_subcommand("ladder")  ? runLadder(ladder, out, err)
                                                       : runInfo(info, out, err);
    return checkedOutput(status, out, err);
}

}  // namespace veltrane::cli

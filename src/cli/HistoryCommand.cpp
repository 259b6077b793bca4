#include "cli/HistoryCommand.h"

#include <chrono>

#include "cli/ExitCodes.h"
#include "cli/HistoryText.h"
#include "cli/RunCommand.h"
#include "platform/TextFile.h"
#include "reports/RunJsonDocument.h"
#include "store/OpenStore.h"
#include "store/Transfer.h"

namespace veltrane::cli {

namespace {

// An import file larger than this is not a run record or a reference file.
constexpr std::size_t kImportMaxBytes = 16 * 1024 * 1024;

std::optional<store::RunRow> findRun(store::ResultsStore& history, std::int64_t id,
                                     std::ostream& err) {
    auto run = history.run(id);
    if (!run) {
        err << "veltrane-cli: no run " << id << " is kept in " << history.path()
            << " ('veltrane-cli history list' shows them)\n";
    }
    return run;
}

int exportRun(store::ResultsStore& history, const HistoryOptions& options, std::ostream& out,
              std::ostream& err) {
    const auto run = findRun(history, options.ids.front(), err);
    if (!run) {
        return kExitFailure;
    }
    if (options.format == "csv") {
        out << store::exportCsv({*run});
    } else if (options.format == "json") {
        if (run->runJson.empty()) {
            err << "veltrane-cli: run " << run->id
                << " came from a reference line and has no JSON record; export it as line or "
                   "csv\n";
            return kExitFailure;
        }
        out << run->runJson;
    } else {
        out << store::exportLine(*run);
    }
    return kExitSuccess;
}

int importFile(store::ResultsStore& history, const HistoryOptions& options, std::ostream& out,
               std::ostream& err) {
    const auto file = platform::readTextFile(options.file, kImportMaxBytes);
    if (!file.ok()) {
        err << "veltrane-cli: cannot read " << options.file << ": " << file.error << '\n';
        return kExitFailure;
    }
    const int list = kSuiteNumbers.at(options.suite);
    const auto batch = store::importBatch(file.content, list,
                                          reports::utcTimestamp(std::chrono::system_clock::now()));
    if (!batch.error.empty()) {
        err << "veltrane-cli: nothing imported from " << options.file << ": " << batch.error
            << '\n';
        return kExitFailure;
    }
    const auto ids = history.addRuns(batch.runs);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        out << "Imported run " << ids[i] << ": " << batch.runs[i].machine
            << (batch.runs[i].inLists ? " (in the comparison lists)" : "") << '\n';
    }
    if (batch.skippedLines > 0) {
        err << "Skipped " << batch.skippedLines << " line(s) with fewer than seventeen fields\n";
    }
    return kExitSuccess;
}

int act(store::ResultsStore& history, const HistoryOptions& options, std::ostream& out,
        std::ostream& err) {
    const std::string& action = options.action;
    if (action == "list") {
        out << historyTable(history.runs());
    } else if (action == "show") {
        const auto run = findRun(history, options.ids.front(), err);
        if (!run) {
            return kExitFailure;
        }
        out << historyRunText(*run);
    } else if (action == "compare") {
        const auto first = findRun(history, options.ids[0], err);
        const auto second = first ? findRun(history, options.ids[1], err) : std::nullopt;
        if (!second) {
            return kExitFailure;
        }
        out << historyCompareText(*first, *second);
    } else if (action == "export") {
        return exportRun(history, options, out, err);
    } else if (action == "import") {
        return importFile(history, options, out, err);
    } else if (!history.removeRun(options.ids.front())) {
        return findRun(history, options.ids.front(), err) ? kExitSuccess : kExitFailure;
    } else {
        out << "Removed run " << options.ids.front() << '\n';
    }
    return kExitSuccess;
}

}  // namespace

int runHistory(const HistoryOptions& options, std::ostream& out, std::ostream& err) {
    const std::string path =
        options.database.empty() ? store::defaultStorePath() : options.database;
    auto opening = store::openResultsStore(path);
    if (!opening.message.empty()) {
        err << opening.message << '\n';
    }
    if (!opening.store) {
        return kExitFailure;
    }
    try {
        return act(*opening.store, options, out, err);
    } catch (const store::StoreError& error) {
        err << "veltrane-cli: the results history " << path << " failed: " << error.what() << '\n';
        return kExitFailure;
    }
}

}  // namespace veltrane::cli

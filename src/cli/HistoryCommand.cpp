#include "cli/HistoryCommand.h"

#include <chrono>

#include "cli/ExitCodes.h"
#include "cli/HistoryIds.h"
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

HistoryId idOf(const std::string& text) {
    return parseHistoryId(text).value_or(HistoryId{});  // the option checked it
}

template <typename Row>
std::optional<Row> found(std::optional<Row> row, const HistoryId& id,
                         const store::ResultsStore& history, std::ostream& err) {
    if (!row) {
        err << "veltrane-cli: no " << (id.scaling ? "scaling run " : "run ") << historyIdText(id)
            << " is kept in " << history.path() << " ('veltrane-cli history list' shows them)\n";
    }
    return row;
}

std::optional<store::RunRow> findRun(store::ResultsStore& history, std::int64_t id,
                                     std::ostream& err) {
    return found(history.run(id), HistoryId{id, false}, history, err);
}

std::optional<store::ScalingRunRow> findScalingRun(store::ResultsStore& history, std::int64_t id,
                                                   std::ostream& err) {
    return found(history.scalingRun(id), HistoryId{id, true}, history, err);
}

// Scaling runs have their own figures: no reference line, no comparison.
int scalingAct(store::ResultsStore& history, const HistoryOptions& options, const HistoryId& id,
               std::ostream& out, std::ostream& err) {
    const std::string& action = options.action;
    if (action == "remove") {
        if (!history.removeScalingRun(id.number)) {
            return findScalingRun(history, id.number, err) ? kExitSuccess : kExitFailure;
        }
        out << "Removed scaling run " << historyIdText(id) << '\n';
        return kExitSuccess;
    }
    const auto run = findScalingRun(history, id.number, err);
    if (!run) {
        return kExitFailure;
    }
    if (action == "show") {
        out << scalingHistoryText(*run);
    } else if (action == "export" && options.format == "json") {
        out << run->scalingJson;
    } else if (action == "export") {
        err << "veltrane-cli: " << historyIdText(id)
            << " is a scaling run: it has no reference line or CSV row; export it with --format "
               "json\n";
        return kExitFailure;
    } else {
        err << "veltrane-cli: " << historyIdText(id)
            << " is a scaling run: no reference holds such figures, so it compares with nothing "
               "('veltrane-cli history show "
            << historyIdText(id) << "' shows its figures)\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

int exportRun(store::ResultsStore& history, const HistoryOptions& options, std::ostream& out,
              std::ostream& err) {
    const auto run = findRun(history, idOf(options.ids.front()).number, err);
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
    for (const std::string& text : options.ids) {
        if (const HistoryId id = idOf(text); id.scaling) {
            return scalingAct(history, options, id, out, err);
        }
    }
    const std::int64_t id = options.ids.empty() ? 0 : idOf(options.ids.front()).number;
    if (action == "list") {
        out << historyTable(history.runs()) << scalingHistoryTable(history.scalingRuns());
    } else if (action == "show") {
        const auto run = findRun(history, id, err);
        if (!run) {
            return kExitFailure;
        }
        out << historyRunText(*run);
    } else if (action == "compare") {
        const auto first = findRun(history, id, err);
        const auto second =
            first ? findRun(history, idOf(options.ids[1]).number, err) : std::nullopt;
        if (!second) {
            return kExitFailure;
        }
        out << historyCompareText(*first, *second);
    } else if (action == "export") {
        return exportRun(history, options, out, err);
    } else if (action == "import") {
        return importFile(history, options, out, err);
    } else if (!history.removeRun(id)) {
        return findRun(history, id, err) ? kExitSuccess : kExitFailure;
    } else {
        out << "Removed run " << id << '\n';
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

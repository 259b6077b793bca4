#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/Sqlite.h"

namespace veltrane::store {

// The eight figures of a run as the lists show them; 0 for a test not run.
struct StoredFigures {
    double overall = 0;  // CPUMarks
    double alu = 0;      // ALUMarks
    double fpuSingle = 0;
    double fpuDouble = 0;
    double mips = 0;
    double mflops = 0;
    double ramAlu = 0;  // MB/s
    double ramFpu = 0;  // MB/s
};

// One kept run.
struct RunRow {
    std::int64_t id = 0;
    std::string finishedAt;  // ISO 8601 in UTC
    std::string origin;      // "cli", "desktop" or "import"
    std::string machine;     // the processor's name and clock, or the name given
    int suite = 3;           // 0 SSE, 1 SSE2, 2 3DNow!, 3 standard, 4 SMP
    bool fullRun = true;
    bool trusted = true;  // every test passed the check of its own work
    StoredFigures figures;
    std::string referenceLine;  // the run as one line of a reference file
    std::string runJson;        // the whole run record; empty for an imported reference line
    bool inLists = false;       // also one of the user's entries in the comparison lists
};

// One kept scaling run (`run --threads`). It never joins the comparison
// lists: no reference machine has such figures. Its id is counted apart
// from the runs' ids.
struct ScalingRunRow {
    std::int64_t id = 0;
    std::string finishedAt;     // ISO 8601 in UTC
    std::string origin;         // "cli" or "desktop"
    std::string machine;        // the processor's name and clock
    int maxThreads = 0;         // the largest thread count measured
    double multiCoreScore = 0;  // of the largest thread count; 0: none (a check failed)
    bool trusted = true;        // every thread passed the check of every test
    std::string scalingJson;    // the whole document (reports::scalingJson); left out of lists
};

// A run the user keeps in the comparison lists of its suite.
struct UserReference {
    std::int64_t id = 0;
    std::int64_t runId = 0;
    int list = 3;      // the reference list: the suite number
    std::string line;  // a reference-file line, under the name the user gave
    std::string savedAt;
};

// The results history in one SQLite file. Every call is one transaction:
// it lands whole or not at all, and a failure throws StoreError.
class ResultsStore {
public:
    // Opens (creating or bringing up to date) the file at `path`; throws
    // StoreError. openResultsStore adds the recovery a program wants.
    explicit ResultsStore(const std::string& path);

    const std::string& path() const { return path_; }

    // How many pages the file may grow to; a write past it fails as on a
    // full disk, leaving every earlier row as it was.
    void setMaxPages(std::int64_t pages);

    // A run with `inLists` set becomes one of the user's entries too.
    std::int64_t addRun(const RunRow& run);
    // Several at once: all of them land, or none (an import).
    std::vector<std::int64_t> addRuns(const std::vector<RunRow>& runs);
    // Oldest first; the run records themselves are left out.
    std::vector<RunRow> runs();
    std::optional<RunRow> run(std::int64_t id);
    // False when there is no such run. Its reference entry goes with it.
    bool removeRun(std::int64_t id);

    // Scaling runs, kept apart from the runs (store::scalingRunRow builds
    // the row of a finished one). Oldest first; the lists leave out the
    // documents.
    std::int64_t addScalingRun(const ScalingRunRow& run);
    std::vector<ScalingRunRow> scalingRuns();
    std::optional<ScalingRunRow> scalingRun(std::int64_t id);
    bool removeScalingRun(std::int64_t id);

    // Saving a run again replaces its entry (a new name, say).
    std::int64_t addUserReference(std::int64_t runId, int list, const std::string& line);
    // In the order they were saved.
    std::vector<UserReference> userReferences();
    bool removeUserReference(std::int64_t id);

private:
    std::int64_t insertRun(const RunRow& run);
    bool deleteRow(const char* sql, std::int64_t id);
    std::int64_t insertUserReference(std::int64_t runId, int list, const std::string& line);

    std::string path_;
    Connection connection_;
};

// The schema version this program writes (PRAGMA user_version).
inline constexpr int kStoreSchemaVersion = 2;

}  // namespace veltrane::store
